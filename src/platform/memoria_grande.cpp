#include "platform/memoria_grande.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>

char* alloca_azzerata(size_t byte) {
    if (byte == 0) byte = 1;
    void* p = mmap(nullptr, byte, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    madvise(p, byte, MADV_HUGEPAGE);  // advice only: without large pages it still works
    return static_cast<char*>(p);
}

void libera_azzerata(char* p, size_t byte) {
    if (p != nullptr) munmap(p, byte == 0 ? 1 : byte);
}
#else
char* alloca_azzerata(size_t byte) { return static_cast<char*>(std::calloc(byte == 0 ? 1 : byte, 1)); }
void libera_azzerata(char* p, size_t) { std::free(p); }
#endif
