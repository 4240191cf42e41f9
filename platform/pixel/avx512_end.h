// Ends the AVX-512 code generation avx512_begin.h switched on.
#pragma once

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
