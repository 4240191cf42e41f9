// Switches AVX-512 code generation (the foundation, byte and word, double and quad word, and
// 128/256-bit vector-length subsets) on for every function the including file defines from here
// to its include of target_end.h; used as avx2_begin.h is.
#pragma once

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f,avx512bw,avx512dq,avx512vl"))), \
                             apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw,avx512dq,avx512vl")
#endif
