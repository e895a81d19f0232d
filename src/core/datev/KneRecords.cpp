#include "core/datev/KneRecords.h"

#include <algorithm>
#include <charconv>

#include "core/base/CodePage.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"

namespace belvaron {

namespace {

// At most `width` characters of a text field, up to its terminator.
template <std::size_t N>
std::string_view Fit(const char (&field)[N], std::size_t width) {
    return FieldText(field).substr(0, width);
}

// DDMMYY of a DD.MM.YYYY date.
std::string DdMmYy(std::string_view date) {
    return std::string(DatePiece(date, 0)) + std::string(DatePiece(date, 3)) +
           std::string(DatePiece(date, 8));
}

// The zero-filled width of an account in the extended booking record. A
// length outside the dialog limits is held to what a 32-bit number needs.
int AccountWidth(int32_t kontonummernlaenge) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{kontonummernlaenge} + 1, 1, 11));
}

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

std::string LowHigh(int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

}  // namespace

void AppendDecimal(std::string& out, int64_t value, int width, bool zeroFill, bool plus) {
    char digits[24];
    const uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    const char* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const auto length = static_cast<int>(end - digits);
    const char sign = value < 0 ? '-' : (plus ? '+' : '\0');
    const int pad = std::max(0, width - length - (sign ? 1 : 0));
    if (!zeroFill) out.append(static_cast<std::size_t>(pad), ' ');
    if (sign) out += sign;
    if (zeroFill) out.append(static_cast<std::size_t>(pad), '0');
    out.append(digits, static_cast<std::size_t>(length));
}

std::string_view DatePiece(std::string_view date, std::size_t offset) {
    const std::string_view text = date.substr(0, date.find('\0'));
    return offset < text.size() ? text.substr(offset, 2) : std::string_view();
}

std::string KneHeaderRecord(const DatevSettings& s, const DatevRange& range,
                            std::string_view exportYear, bool extended) {
    std::string r;
    // Pos 0-25: 0x1D 0x18 "1", Datenträgernummer (left, 3), "11", DFV mark,
    // Beraternummer (7), Mandantennummer (5), Abrechnungsnummer (4).
    r += kne::kHeaderStart1;
    r += kne::kHeaderStart2;
    r += '1';
    r += Format("%-3d", s.datentraegernummer);
    r += "11";
    r += Fit(s.dfvKennzeichen, 2);
    r += Format("%07d%05d%04d", s.beraternummer, s.mandantennummer, s.abrechnungsnummer);
    TracePoint = extended ? 3020 : 3031;
    // Pos 26-46: year, from DDMMYY, to DDMMYY, "001", password.
    r += exportYear.substr(0, 2);
    r += DdMmYy(range.from);
    r += DdMmYy(range.to);
    r += "001";
    r += Fit(s.passwort, 4);
    // Pos 47-79: 32 blanks, "y".
    r += Blanks(32);
    r += 'y';
    if (!extended) return r;
    TracePoint = 3021;
    // Pos 80-92: 0xB5 "1,L,L,----" 0x1C "y".
    r += kne::kFormatOpen;
    r += Format("1,%1d,%1d,----", s.kontonummernlaenge, s.kontonummernlaenge);
    r += kne::kFieldClose;
    r += 'y';
    return r;
}

std::string KneBookingText(const BookingRecord& b) {
    std::string text = "(";
    text += FieldText(b.beleg);
    text += ")";
    text += FieldText(b.name);
    text += ",";
    text += FieldText(b.purpose);
    text.resize(std::min<std::size_t>(text.size(), 30));
    text = Cp1252ToCp850(text);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    return text;
}

std::string KneBookingRecord(const BookingRecord& b, int64_t amount, bool extended,
                             int32_t kontonummernlaenge) {
    const std::string_view day = DatePiece(FieldText(b.date), 0);
    const std::string_view month = DatePiece(FieldText(b.date), 3);
    const bool dm = FieldText(b.currency).substr(0, 1) == "D";
    std::string r;
    r.reserve(128);
    if (extended) {
        const int width = AccountWidth(kontonummernlaenge);
        AppendDecimal(r, amount, 0, false, true);  // amount
        if (b.datevKey > 0) {                      // DATEV key
            r += 'l';
            AppendDecimal(r, b.datevKey);
        }
        r += 'a';  // Gegenkonto
        AppendDecimal(r, b.habenAccount, width, true);
        TracePoint = 3026;
        r += kne::kBelegfeldOpen;  // Belegfeld 1
        AppendDecimal(r, b.bookingNo, 12);
        r += kne::kFieldClose;
        r += 'd';  // date DDMM
        r += day;
        r += month;
        r += 'e';  // Konto
        AppendDecimal(r, b.sollAccount, width, true);
        TracePoint = 3027;
        r += kne::kTextOpen;  // text
        r += KneBookingText(b);
        r += kne::kFieldClose;
        r += kne::kCurrencyOpen;  // currency
        r += dm ? "DEM" : "EUR";
        r += kne::kFieldClose;
        r += 'y';  // end
        return r;
    }
    AppendDecimal(r, amount, 0, false, true);  // amount
    r += 'a';
    AppendDecimal(r, b.datevKey, 2, true);      // DATEV key
    AppendDecimal(r, b.habenAccount, 5, true);  // Gegenkonto
    TracePoint = 3036;
    r += 'b';  // Belegfeld 1
    AppendDecimal(r, b.bookingNo, 6, true);
    r += "c000000";  // Belegfeld 2
    r += 'd';        // date DDMM
    r += day;
    r += month;
    r += 'e';  // Konto
    AppendDecimal(r, b.sollAccount, 5, true);
    r += "f0000g0000";    // fixed
    r += kne::kTextOpen;  // text
    r += KneBookingText(b);
    r += kne::kFieldClose;
    r += dm ? "o2" : "o1";  // currency
    r += 'y';               // end
    return r;
}

std::string KneTotalRecord(int64_t total) {
    if (total == 0) return "xyz";
    if (total > 0) return Format("x%lldyz", static_cast<long long>(total));
    const uint64_t magnitude = 0 - static_cast<uint64_t>(total);
    return Format("w%lluyz", static_cast<unsigned long long>(magnitude));
}

std::string KneHeaderFile(const DatevSettings& s, const DatevRange& range,
                          std::string_view exportYear, int32_t blockCount, bool extended) {
    const int32_t kl = s.kontonummernlaenge;
    // Pos 0-22: Datenträgernummer (left, 6), Beraternummer (7), Beratername
    // (right, 10).
    std::string r = Format("%-6d%07d%10s", s.datentraegernummer, s.beraternummer,
                           std::string(FieldText(s.beratername)).c_str());
    if (extended) {
        TracePoint = 3042;
        r += "0000100001";  // 23-32
        r += Blanks(95);    // 33-127
        TracePoint = 3043;
        r += "V0000111";                // 128-135
        r += Fit(s.dfvKennzeichen, 2);  // 136-137
        r += Format("%07d%05d%04d", s.beraternummer, s.mandantennummer,
                    s.abrechnungsnummer);                          // 138-153
        r += exportYear.substr(0, 2);                              // 154-155
        r += "0000";                                               // 156-159
        r += DdMmYy(range.from);                                   // 160-165
        r += DdMmYy(range.to);                                     // 166-171
        r += "001";                                                // 172-174
        r += Fit(s.passwort, 4);                                   // 175-178
        r += Format("%05d001 11,%d,%d,----", blockCount, kl, kl);  // 179-198
        r += Blanks(57);                                           // 199-255
        return r;
    }
    TracePoint = 3044;
    r += std::string("\x01\x00\x01\x00", 4);  // 23-26
    r += Blanks(37);                          // 27-63
    TracePoint = 3045;
    r += 'V';                         // 64
    r += std::string("\x01\x00", 2);  // 65-66
    r += "11";                        // 67-68
    r += Fit(s.dfvKennzeichen, 2);    // 69-70
    r += Format("%07d%05d%04d", s.beraternummer, s.mandantennummer,
                s.abrechnungsnummer);  // 71-86
    r += exportYear.substr(0, 2);      // 87-88
    r += Blanks(4);                    // 89-92
    r += DdMmYy(range.from);           // 93-98
    r += DdMmYy(range.to);             // 99-104
    r += "001";                        // 105-107
    r += Fit(s.passwort, 4);           // 108-111
    TracePoint = 3046;
    r += LowHigh(blockCount);         // 112-113
    r += LowHigh(blockCount);         // 114-115
    r += std::string("\x01\x00", 2);  // 116-117
    r += "         1";                // 118-127
    return r;
}

}  // namespace belvaron
