#include "core/base/ReservedMemory.h"

#include "core/platform/System.h"

namespace belvaron {

ReservedMemory::ReservedMemory(std::size_t bytes) {
    if (bytes == 0) return;
    if (void* p = platform::ReserveMemory(bytes)) {
        base_ = p;
        size_ = bytes;
    }
}

ReservedMemory::~ReservedMemory() { platform::ReleaseMemory(base_, size_); }

}  // namespace belvaron
