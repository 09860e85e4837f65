#pragma once
// Large zeroed blocks (the geometry's storage, up to 20 MB): zero pages from the
// system, which cost only once written, in large pages where the system has them
// so that filling the block takes few page faults.
#include <cstddef>

// nullptr when the memory cannot be had.
char* alloca_azzerata(size_t byte);
void libera_azzerata(char* p, size_t byte);
