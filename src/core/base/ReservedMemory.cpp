#include "core/base/ReservedMemory.h"

#include <sys/mman.h>

namespace belvaron {

ReservedMemory::ReservedMemory(std::size_t bytes) {
    if (bytes == 0) return;
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p != MAP_FAILED) {
        base_ = p;
        size_ = bytes;
    }
}

ReservedMemory::~ReservedMemory() {
    if (base_) munmap(base_, size_);
}

}  // namespace belvaron
