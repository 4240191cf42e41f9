// Ends the AVX2 code generation avx2_begin.h switched on.
#pragma once

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
