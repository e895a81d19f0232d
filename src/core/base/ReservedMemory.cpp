#include "core/base/ReservedMemory.h"

#include <sys/mman.h>

namespace belvaron {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
}  // namespace

ReservedMemory::ReservedMemory(std::size_t bytes) {
    if (bytes == 0) return;
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p != MAP_FAILED) {
        base_ = p;
        size_ = bytes;
        // Large reservations are filled from the start: huge pages there cut
        // the page faults of a load and the address misses of a sort; the
        // committed memory grows by at most one huge page beyond the use.
        // Only a hint: where the system refuses it, nothing changes.
        if (bytes >= kHugePage) madvise(p, bytes, MADV_HUGEPAGE);
    }
}

ReservedMemory::~ReservedMemory() {
    if (base_) munmap(base_, size_);
}

}  // namespace belvaron
