// Which lanes the SIMD code draws with, the rasterizer's span kernel and the text blends alike:
// the widest the processor has, or SSE2 only, so that tests and the benchmarks can hold the two
// to each other. The processor is asked here and nowhere else. Reached from outside the platform
// through platform/testing.h.
#pragma once

namespace platform::pixel {

enum class Lanes { Widest, Sse2 };
void UseLanes(Lanes lanes);
// Whether the AVX2 code is in use now: the processor has AVX2 and no one asked for SSE2 only.
bool LanesAreAvx2();

}  // namespace platform::pixel
