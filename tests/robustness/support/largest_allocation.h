// Watches the sizes this process asks operator new for, so a test can prove that an absurd
// bitmap is refused before anything of its size is allocated. Linking this file replaces the
// global operator new and delete, the nothrow forms too (with plain malloc and free underneath).
#pragma once

#include <cstddef>

// Forgets the largest request seen so far.
void ResetLargestAllocation();
// The largest single request since the last reset, in bytes.
std::size_t LargestAllocation();
