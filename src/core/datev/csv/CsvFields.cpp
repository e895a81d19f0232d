#include "core/datev/csv/CsvFields.h"

#include <array>
#include <charconv>
#include <cstring>

#include "core/base/Text.h"

namespace belvaron::csv {

namespace {

// True when one of the eight bytes of `w` is a quote or a control byte
// (below 0x20); each half is the exact "some byte below n" word test.
bool HasSpecialByte(uint64_t w) {
    constexpr uint64_t kOnes = 0x0101'0101'0101'0101u;
    constexpr uint64_t kHigh = 0x8080'8080'8080'8080u;
    const uint64_t quote = w ^ (kOnes * '"');
    return ((((w - kOnes * 0x20) & ~w) | ((quote - kOnes) & ~quote)) & kHigh) != 0;
}

char* PutEscaped(char* at, char c) {
    if (c == '"') *at++ = '"';
    *at++ = static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    return at;
}

}  // namespace

// Eight bytes without a quote or control byte are copied at once; any
// other eight, and the last few bytes, one by one.
char* PutQuoted(char* at, std::string_view text) {
    *at++ = '"';
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t w;
        std::memcpy(&w, text.data() + i, 8);
        if (!HasSpecialByte(w)) {
            std::memcpy(at, &w, 8);
            at += 8;
            continue;
        }
        for (std::size_t k = i; k < i + 8; ++k) at = PutEscaped(at, text[k]);
    }
    for (; i < text.size(); ++i) at = PutEscaped(at, text[i]);
    *at++ = '"';
    return at;
}

namespace {

// Appends what `put` writes into at most `room` bytes.
template <typename Put>
void AppendPut(std::string& out, std::size_t room, Put put) {
    const std::size_t size = out.size();
    out.resize(size + room);
    out.resize(static_cast<std::size_t>(put(out.data() + size) - out.data()));
}

}  // namespace

void AppendQuoted(std::string& out, std::string_view text) {
    AppendPut(out, QuotedRoom(text), [text](char* at) { return PutQuoted(at, text); });
}

namespace {

// DATEV's character set of Belegfeld 1: A-Z, a-z, 0-9 and $ & % * + - /.
constexpr std::array<bool, 256> kBelegfeldChars = [] {
    std::array<bool, 256> in{};
    for (int c = 'A'; c <= 'Z'; ++c) in[c] = in[c - 'A' + 'a'] = true;
    for (int c = '0'; c <= '9'; ++c) in[c] = true;
    for (const char c : std::string_view("$&%*+-/")) in[static_cast<unsigned char>(c)] = true;
    return in;
}();

}  // namespace

std::string_view DocumentNumber(std::string_view beleg, DocumentBuffer& out) {
    std::size_t n = 0;
    for (const char c : beleg) {
        if (n == kMaxBelegfeld1) break;
        out[n] = c;
        n += kBelegfeldChars[static_cast<unsigned char>(c)];
    }
    return {out, n};
}

std::string DocumentNumber(std::string_view beleg) {
    DocumentBuffer out;
    return std::string(DocumentNumber(beleg, out));
}

char* PutInt(char* at, int64_t value) { return std::to_chars(at, at + kIntRoom, value).ptr; }

char* PutQuotedInt(char* at, int64_t value) {
    *at++ = '"';
    at = PutInt(at, value);
    *at++ = '"';
    return at;
}

void AppendInt(std::string& out, int64_t value) {
    AppendPut(out, kIntRoom, [value](char* at) { return PutInt(at, value); });
}

void AppendQuotedInt(std::string& out, int64_t value) {
    AppendPut(out, kIntRoom + 2, [value](char* at) { return PutQuotedInt(at, value); });
}

namespace {

// [blanks][-]{digit|dot} with at least one digit, ',', two digits, [blanks].
bool IsWellFormedAmount(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && t[i] == ' ') ++i;
    if (i < t.size() && t[i] == '-') ++i;
    bool digit = false;
    while (i < t.size() && (IsDigit(t[i]) || t[i] == '.')) digit |= IsDigit(t[i++]);
    if (!digit || i + 3 > t.size() || t[i] != ',' || !IsDigit(t[i + 1]) || !IsDigit(t[i + 2])) {
        return false;
    }
    for (i += 3; i < t.size(); ++i) {
        if (t[i] != ' ') return false;
    }
    return true;
}

}  // namespace

namespace {

// Adds one digit by ParseAmount's rule (leading zeros skipped, at most 12
// significant digits); false when it is a 13th.
bool AddDigit(uint32_t digit, int& significant, int64_t& cents) {
    if (significant == 0 && digit == 0) return true;
    if (++significant > 12) return false;
    cents = cents * 10 + digit;
    return true;
}

// The usual amount, well formed and of at most 12 significant digits, read
// in one pass; false for any other text, which the general rules then read.
bool ParseUsualAmount(std::string_view t, Amount& a) {
    const std::size_t n = t.size();
    std::size_t i = 0;
    while (i < n && t[i] == ' ') ++i;
    const bool negative = i < n && t[i] == '-';
    if (negative) ++i;
    int64_t cents = 0;
    int significant = 0;
    bool digit = false;
    for (; i < n; ++i) {
        if (t[i] == '.') continue;
        const uint32_t d = static_cast<uint32_t>(static_cast<unsigned char>(t[i])) - '0';
        if (d > 9) break;
        digit = true;
        if (!AddDigit(d, significant, cents)) return false;
    }
    if (!digit || i + 3 > n || t[i] != ',') return false;
    for (const std::size_t at : {i + 1, i + 2}) {
        const uint32_t d = static_cast<uint32_t>(static_cast<unsigned char>(t[at])) - '0';
        if (d > 9 || !AddDigit(d, significant, cents)) return false;
    }
    for (i += 3; i < n; ++i) {
        if (t[i] != ' ') return false;
    }
    a.wellFormed = true;
    a.tooLarge = false;
    a.cents = negative ? -cents : cents;
    return true;
}

}  // namespace

Amount ParseAmount(std::string_view text) {
    text = text.substr(0, std::min<std::size_t>(text.size(), 30));
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    Amount a;
    if (ParseUsualAmount(text, a)) return a;
    a.wellFormed = IsWellFormedAmount(text);
    int significant = 0;
    for (const char c : text) {
        if (!IsDigit(c)) continue;
        if (significant == 0 && c == '0') continue;
        if (++significant > 12) {
            a.tooLarge = true;
            a.cents = 0;
            break;
        }
        a.cents = a.cents * 10 + (c - '0');
    }
    const auto first = text.find_first_not_of(' ');
    if (first != std::string_view::npos && text[first] == '-') a.cents = -a.cents;
    return a;
}

std::string FormatUmsatz(int64_t cents) {
    std::string out;
    AppendUmsatz(out, cents);
    return out;
}

// |cents| fits in kIntRoom - 1 digits and its comma: INT64_MIN has 19.
char* PutUmsatz(char* at, int64_t cents) {
    const uint64_t magnitude = cents < 0 ? 0 - static_cast<uint64_t>(cents) : cents;
    at = std::to_chars(at, at + kIntRoom, magnitude / 100).ptr;
    *at++ = ',';
    *at++ = static_cast<char>('0' + magnitude % 100 / 10);
    *at++ = static_cast<char>('0' + magnitude % 10);
    return at;
}

void AppendUmsatz(std::string& out, int64_t cents) {
    AppendPut(out, kIntRoom + 2, [cents](char* at) { return PutUmsatz(at, cents); });
}

int32_t FiscalYearStart(int32_t key, int day, int month) {
    const int32_t year = key / 10000;
    const int32_t startInYear = year * 10000 + month * 100 + day;
    return key >= startInYear ? startInYear : startInYear - 10000;
}

}  // namespace belvaron::csv
