// Switches AVX2 code generation on for every function the including file defines from here to
// its include of target_end.h. A file that draws with AVX2 includes the headers it shares with
// other files first, so that their code stays plain x86-64, then this, then the lanes
// (lanes_avx2.h) and the code written over them.
#pragma once

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif
