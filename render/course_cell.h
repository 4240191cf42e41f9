#pragma once

#include <cstdint>

// Draws one non-empty course cell: the textured floor square and its green wire outline.
void DrawCourseCell(std::int32_t row, std::int32_t column, std::int32_t value);
