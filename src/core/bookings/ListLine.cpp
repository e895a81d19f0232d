#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

#include "core/base/FixedText.h"
#include "core/base/TracePoint.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/BookingStore.h"

namespace belvaron {

namespace {

// The line is formed in place: each Put writes at `at` and returns the end.
constexpr std::size_t kIntRoom = 11;  // "-2147483648"

// `value` in decimal, right-aligned in `width` characters with blanks (a
// wider number takes its own width), as printf's "%<width>d".
char* PutInt(char* at, int32_t value, std::size_t width = 0) {
    char digits[kIntRoom];
    const auto length =
        static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
    if (length < width) {
        std::memset(at, ' ', width - length);
        at += width - length;
    }
    std::memcpy(at, digits, length);
    return at + length;
}

template <std::size_t N>
char* PutText(char* at, const char (&field)[N]) {
    const std::string_view text = FieldText(field);
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

template <std::size_t N>
char* PutLiteral(char* at, const char (&text)[N]) {
    std::memcpy(at, text, N - 1);
    return at + N - 1;
}

// The most bytes one line takes, its line break included.
constexpr std::size_t kMaxLineBytes = sizeof(BookingRecord::date) + sizeof(BookingRecord::amount) +
                                      sizeof(BookingRecord::currency) +
                                      sizeof(BookingRecord::beleg) + sizeof(BookingRecord::name) +
                                      sizeof(BookingRecord::purpose) + 5 * kIntRoom + 64;

// One line of the list, as "%3d. %s, S=%d,Soll=%4d,Haben=%4d, MwSt=%2d,
// %s %s, %-30s" with the last field "(beleg)name,purpose", and a leading '*'
// for a re-dated booking; at `at`, with room for kMaxLineBytes.
char* PutLine(char* at, const BookingRecord& b) {
    if (b.redated > 0) *at++ = '*';
    at = PutInt(at, b.bookingNo, 3);
    at = PutLiteral(at, ". ");
    at = PutText(at, b.date);
    at = PutLiteral(at, ", S=");
    at = PutInt(at, b.datevKey);
    at = PutLiteral(at, ",Soll=");
    at = PutInt(at, b.sollAccount, 4);
    at = PutLiteral(at, ",Haben=");
    at = PutInt(at, b.habenAccount, 4);
    at = PutLiteral(at, ", MwSt=");
    at = PutInt(at, b.vatRate, 2);
    at = PutLiteral(at, ", ");
    at = PutText(at, b.amount);
    *at++ = ' ';
    at = PutText(at, b.currency);
    at = PutLiteral(at, ", ");
    char* const inner = at;
    *at++ = '(';
    at = PutText(at, b.beleg);
    *at++ = ')';
    at = PutText(at, b.name);
    *at++ = ',';
    at = PutText(at, b.purpose);
    if (const auto length = static_cast<std::size_t>(at - inner); length < 30) {
        std::memset(at, ' ', 30 - length);
        at += 30 - length;
    }
    return at;
}

// Appends one line (without its line break) to `out`.
void AppendLine(const BookingRecord& b, std::string& out) {
    const std::size_t size = out.size();
    out.resize(size + kMaxLineBytes);
    out.resize(static_cast<std::size_t>(PutLine(out.data() + size, b) - out.data()));
}

}  // namespace

std::string FormatListLine(const BookingStore& store, int32_t index) {
    TracePoint = 2005;
    if (index < 0 || index >= store.bookingCount) return {};
    std::string line;
    line.reserve(160);
    AppendLine(store[index], line);
    return line;
}

void AppendListLines(const BookingStore& store, int32_t from, int32_t to, std::string& out) {
    from = std::max(from, 0);
    to = std::min(to, store.bookingCount);
    for (int32_t i = from; i < to; ++i) {
        const std::size_t size = out.size();
        out.resize(size + kMaxLineBytes);
        char* const end = PutLine(out.data() + size, store[i]);
        *end = '\n';
        out.resize(static_cast<std::size_t>(end + 1 - out.data()));
    }
}

}  // namespace belvaron
