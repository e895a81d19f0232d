#pragma once

#include <cstddef>
#include <cstdint>

#include "core/base/ReservedMemory.h"
#include "core/vat/VatDetailRow.h"

namespace belvaron {

inline constexpr std::size_t kVatRowCapacity = 1'000'000;

// The rows of the imported VAT detail report, reserved once for their full
// capacity. Rows whose reservation failed are !ok() and have no room; their
// owner shows E:2--.
class VatRows {
public:
    explicit VatRows(std::size_t capacity = kVatRowCapacity) : rows(capacity) {}
    VatRows(const VatRows&) = delete;
    VatRows& operator=(const VatRows&) = delete;

    bool ok() const { return rows.ok(); }

    int32_t count = 0;
    ReservedArray<VatDetailRow> rows;

    // Room for one more row at `count`, or nullptr when the capacity is used
    // up. The caller fills every field, then adds 1 to count.
    VatDetailRow* AppendRoom() {
        if (count < 0 || !rows.Commit(static_cast<std::size_t>(count))) return nullptr;
        return &rows[static_cast<std::size_t>(count)];
    }

    const VatDetailRow& operator[](int32_t i) const { return rows[static_cast<std::size_t>(i)]; }
};

}  // namespace belvaron
