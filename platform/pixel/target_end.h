// Ends the code generation avx2_begin.h or avx512_begin.h switched on.
#pragma once

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
