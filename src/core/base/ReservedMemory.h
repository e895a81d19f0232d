#pragma once

#include <cstddef>
#include <type_traits>

namespace belvaron {

// Address space reserved once for a fixed capacity. Pages are committed by
// the operating system on first touch, so a large reservation costs nothing
// until records are written, and records never move. Reserved anonymous
// memory reads as zero bytes.
class ReservedMemory {
public:
    ReservedMemory() = default;
    explicit ReservedMemory(std::size_t bytes);
    ~ReservedMemory();
    ReservedMemory(const ReservedMemory&) = delete;
    ReservedMemory& operator=(const ReservedMemory&) = delete;

    bool ok() const { return base_ != nullptr; }
    void* data() const { return base_; }
    std::size_t size() const { return size_; }

private:
    void* base_ = nullptr;
    std::size_t size_ = 0;
};

// A fixed-capacity array of trivially copyable records in reserved memory.
template <typename T>
class ReservedArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    explicit ReservedArray(std::size_t capacity)
        : memory_(capacity * sizeof(T)), capacity_(memory_.ok() ? capacity : 0) {}

    bool ok() const { return memory_.ok(); }
    std::size_t capacity() const { return capacity_; }
    T* data() const { return static_cast<T*>(memory_.data()); }
    T& operator[](std::size_t i) const { return data()[i]; }

    // Room for record `index`: false when it lies beyond the capacity.
    bool Commit(std::size_t index) const { return index < capacity_; }

private:
    ReservedMemory memory_;
    std::size_t capacity_;
};

}  // namespace belvaron
