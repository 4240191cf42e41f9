// Which lanes the span kernel's drawers use: the widest the processor has, or SSE2 only, so that
// tests and the benchmarks can hold the two to each other. Reached from outside the platform
// through platform/testing.h.
#pragma once

namespace platform::raster {

enum class SpanLanes { Widest, Sse2 };
void UseSpanLanes(SpanLanes lanes);
// Whether AVX2 drawers are in use now.
bool SpanLanesAreAvx2();

}  // namespace platform::raster
