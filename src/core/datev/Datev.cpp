#include "core/datev/Datev.h"

#include <algorithm>

#include "core/base/FileWriter.h"
#include "core/base/FixedText.h"
#include "core/base/TracePoint.h"
#include "core/base/UiPort.h"
#include "core/bookings/BookingStore.h"

namespace belvaron {

CDatev::CDatev(UiPort& ui, DataFolders& folders)
    : workBuffer((TracePoint = 3002, kWorkBufferSize)), ui_(ui), folders_(folders) {
    if (!workBuffer.ok()) ShowPlain(ui_, "(E:309)\nSpeicher konnte nicht allokiert werden");
    TracePoint = 3004;
}

CDatev::~CDatev() = default;

void CDatev::SetDataSet(BookingStore* store) {
    TracePoint = 3005;
    dataSet = store;
}

std::optional<int64_t> CDatev::DigitsToInt(std::string_view amount) {
    TracePoint = 3013;
    constexpr std::size_t kMaxCharacters = 30;
    constexpr int kMaxDigits = 18;  // below 10^18, far inside the 64-bit range
    const std::string_view text = amount.substr(0, std::min(amount.size(), kMaxCharacters));
    const std::string_view head = text.substr(0, text.find('\0'));
    const std::size_t first = head.find_first_not_of(" \t");
    const bool negative = first != std::string_view::npos && head[first] == '-';
    int64_t value = 0;
    int digits = 0;
    for (const char c : head) {
        if (c < '0' || c > '9') continue;
        if (++digits > kMaxDigits) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

void CDatev::FindDateRange() {
    TracePoint = 3014;
    if (!dataSet) return;
    int32_t lowest = 99999999;
    int32_t highest = 0;
    for (int32_t i = 0; i < dataSet->bookingCount; ++i) {
        const BookingRecord& booking = (*dataSet)[i];
        const int32_t key = DateKey(booking.date);
        const std::string_view date = FieldText(booking.date).substr(0, 10);
        if (key < lowest) {
            SetField(dateFrom, date);
            lowest = key;
        }
        if (key > highest) {
            SetField(dateTo, date);
            highest = key;
        }
    }
    TracePoint = 3015;
}

}  // namespace belvaron
