// Which lanes the SIMD code draws with, the rasterizer's span kernel and the text blends alike:
// the widest the processor has, or AVX2 or SSE2 at most, so that tests and the benchmarks can
// hold each to the others. The processor is asked here and nowhere else. Reached from outside the
// platform through platform/testing.h.
#pragma once

namespace platform::pixel {

enum class Lanes { Widest, Avx2, Sse2 };
void UseLanes(Lanes lanes);
// Whether the AVX2 code is in use now: the processor has AVX2 and no one asked for SSE2 only.
bool LanesAreAvx2();
// Whether the AVX-512 code is in use now: the processor has the subsets it needs and no one
// asked for narrower lanes.
bool LanesAreAvx512();

}  // namespace platform::pixel
