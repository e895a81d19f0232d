#include "core/base/CodePage.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace belvaron {

namespace {

// Unicode code points of Windows-1252 bytes 0x80..0x9F.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Unicode code points of code page 850 bytes 0x80..0xFF.
constexpr std::array<char32_t, 128> kCp850High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557,
    0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB,
    0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9,
    0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0};

char32_t Cp1252CodePoint(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) return kCp1252High[b - 0x80];
    return b;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i]; returns the code point and advances
// i, or returns U+FFFD for a malformed sequence (advancing by one byte).
char32_t DecodeUtf8(std::string_view text, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t cp = 0;
    if (b0 < 0x80) {
        ++i;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + extra >= text.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += extra + 1;
    return cp;
}

int Cp1252ByteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (std::size_t k = 0; k < kCp1252High.size(); ++k) {
        if (kCp1252High[k] == cp) return static_cast<int>(0x80 + k);
    }
    return -1;
}

// Windows-1252 byte -> code page 850 byte, built once.
const std::array<unsigned char, 256>& Cp1252To850Table() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char32_t cp = Cp1252CodePoint(static_cast<unsigned char>(b));
            if (cp < 0x80) {
                t[b] = static_cast<unsigned char>(cp);
                continue;
            }
            t[b] = '?';
            for (std::size_t k = 0; k < kCp850High.size(); ++k) {
                if (kCp850High[k] == cp) {
                    t[b] = static_cast<unsigned char>(0x80 + k);
                    break;
                }
            }
        }
        return t;
    }();
    return table;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    AppendCp1252AsUtf8(out, bytes);
    return out;
}

void AppendCp1252AsUtf8(std::string& out, std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        // Runs of ASCII bytes are the same in both and go in whole; they are
        // looked for eight bytes at a time.
        std::size_t ascii = i;
        for (uint64_t word; ascii + 8 <= bytes.size(); ascii += 8) {
            std::memcpy(&word, bytes.data() + ascii, 8);
            if (word & 0x8080'8080'8080'8080u) break;
        }
        while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80) ++ascii;
        out.append(bytes.data() + i, ascii - i);
        if (ascii == bytes.size()) return;
        AppendUtf8(out, Cp1252CodePoint(static_cast<unsigned char>(bytes[ascii])));
        i = ascii + 1;
    }
}

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const int b = Cp1252ByteOf(DecodeUtf8(utf8, i));
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

std::string Cp1252ToCp850(std::string_view bytes) {
    const auto& table = Cp1252To850Table();
    std::string out(bytes.size(), '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out[i] = static_cast<char>(table[static_cast<unsigned char>(bytes[i])]);
    }
    return out;
}

namespace {

void AppendCp1252(std::string& out, char32_t cp, int& unmappable) {
    const int b = Cp1252ByteOf(cp);
    if (b < 0) ++unmappable;
    out += b < 0 ? '?' : static_cast<char>(b);
}

// True when `text` is valid UTF-8 throughout; `nonAscii` tells whether it
// has a byte above 0x7F.
bool IsValidUtf8(std::string_view text, bool& nonAscii) {
    nonAscii = false;
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        nonAscii = true;
        const std::size_t at = i;
        if (DecodeUtf8(text, i) == 0xFFFD && i == at + 1) return false;
    }
    return true;
}

std::string Utf16ToCp1252(std::string_view text, bool bigEndian, int& unmappable) {
    std::string out;
    out.reserve(text.size() / 2);
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(text[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    std::size_t i = 0;
    for (; i + 1 < text.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < text.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendCp1252(out, cp >= 0xD800 && cp <= 0xDFFF ? char32_t{0xFFFD} : cp, unmappable);
    }
    if (i < text.size()) AppendCp1252(out, 0xFFFD, unmappable);  // an odd last byte
    return out;
}

}  // namespace

// A sequence decoded at `at` reads at most 4 bytes, so an invalid one found
// that far from the end of `start` is invalid in the whole text too.
bool StartKeepsWindows1252(std::string_view start) {
    if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")) return false;
    if (start.starts_with("\xEF\xBB\xBF")) start.remove_prefix(3);
    for (std::size_t i = 0; i + 4 <= start.size();) {
        const std::size_t at = i;
        if (DecodeUtf8(start, i) == 0xFFFD && i == at + 1) return true;
    }
    return false;
}

Cp1252Conversion ConvertTextToCp1252(std::string& bytes) {
    Cp1252Conversion c;
    const std::string_view text(bytes);
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        c.source = Cp1252Conversion::Source::Utf16;
        bytes = Utf16ToCp1252(text.substr(2), text[0] == '\xFE', c.unmappable);
        return c;
    }
    const bool mark = text.starts_with("\xEF\xBB\xBF");
    const std::string_view body = mark ? text.substr(3) : text;
    bool nonAscii = false;
    if (!IsValidUtf8(body, nonAscii) || (!nonAscii && !mark)) return c;
    c.source = Cp1252Conversion::Source::Utf8;
    std::string out;
    out.reserve(body.size());
    for (std::size_t i = 0; i < body.size();) AppendCp1252(out, DecodeUtf8(body, i), c.unmappable);
    bytes = std::move(out);
    return c;
}

}  // namespace belvaron
