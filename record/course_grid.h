// The one course: a 20 × 20 table of cells, 30 world units each. The row follows z and the column
// follows x: the cell at (row r, column c) covers 30c ≤ x < 30c + 30 and 30r ≤ z < 30r + 30.
#pragma once

#include <cstdint>

inline constexpr std::int32_t CellEmpty = 0;   // a wall: a blocked cell, not drawn
inline constexpr std::int32_t CellPath = 1;    // a floor cell that may be entered
inline constexpr std::int32_t CellGoal = 200;  // entering it ends the race

inline constexpr int kCourseRows = 20;
inline constexpr int kCourseColumns = 20;
inline constexpr float kCellSize = 30.0f;

extern const std::int32_t CourseGrid[kCourseRows][kCourseColumns];

// The cell at (row, column); CellEmpty outside the table, which is never read out of bounds.
std::int32_t CourseCellAt(std::int64_t row, std::int64_t column);
