#include "core/datev/csv/CsvFields.h"

#include <charconv>

namespace belvaron::csv {

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    std::size_t i = 0;
    while (i < text.size()) {
        // The run of bytes that go out as they are, appended whole.
        std::size_t end = i;
        while (end < text.size() && text[end] != '"' &&
               static_cast<unsigned char>(text[end]) >= 0x20) {
            ++end;
        }
        out.append(text.data() + i, end - i);
        if (end == text.size()) break;
        if (text[end] == '"') {
            out += "\"\"";
        } else {
            out += ' ';
        }
        i = end + 1;
    }
    out += '"';
}

std::string DocumentNumber(std::string_view beleg) {
    static constexpr std::string_view kSigns = "$&%*+-/";
    std::string out;
    for (const char c : beleg) {
        if (out.size() == kMaxBelegfeld1) break;
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (letter || (c >= '0' && c <= '9') || kSigns.find(c) != std::string_view::npos) {
            out += c;
        }
    }
    return out;
}

void AppendInt(std::string& out, int64_t value) {
    char buffer[24];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, r.ptr);
}

void AppendQuotedInt(std::string& out, int64_t value) {
    out += '"';
    AppendInt(out, value);
    out += '"';
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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

Amount ParseAmount(std::string_view text) {
    text = text.substr(0, std::min<std::size_t>(text.size(), 30));
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    Amount a;
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

void AppendUmsatz(std::string& out, int64_t cents) {
    if (cents < 0) cents = -cents;
    AppendInt(out, cents / 100);
    const char decimals[] = {',', static_cast<char>('0' + cents % 100 / 10),
                             static_cast<char>('0' + cents % 10)};
    out.append(decimals, sizeof decimals);
}

int32_t FiscalYearStart(int32_t key, int day, int month) {
    const int32_t year = key / 10000;
    const int32_t startInYear = year * 10000 + month * 100 + day;
    return key >= startInYear ? startInYear : startInYear - 10000;
}

int DigitCount(int64_t value) {
    int n = 1;
    while (value >= 10) {
        value /= 10;
        ++n;
    }
    return n;
}

}  // namespace belvaron::csv
