#include "core/datev/csv/CsvLayout.h"

#include <algorithm>
#include <cstring>

#include "core/base/CodePage.h"
#include "core/datev/csv/CsvFields.h"

namespace belvaron::csv {

namespace {

std::string Str(int64_t v) {
    std::string s;
    AppendInt(s, v);
    return s;
}

using K = FieldKind;
using D = const HeaderData&;

}  // namespace

// # | field | written as
// clang-format off
const std::array<HeaderField, kHeaderFieldCount> kHeaderFields = {{
    {1, "Kennzeichen", K::Text, [](D) -> std::string { return "EXTF"; }},
    {2, "Versionsnummer", K::Number, [](D) -> std::string { return "700"; }},
    {3, "Formatkategorie", K::Number, [](D) -> std::string { return "21"; }},
    {4, "Formatname", K::Text, [](D) -> std::string { return "Buchungsstapel"; }},
    {5, "Formatversion", K::Number, [](D) -> std::string { return "13"; }},
    {6, "Erzeugt am", K::Number, [](D d) { return d.createdAt; }},
    {7, "Importiert", K::Empty, nullptr},
    {8, "Herkunft", K::Text, [](D) -> std::string { return "RE"; }},
    {9, "Exportiert von", K::Text, [](D d) { return d.exportedBy; }},
    {10, "Importiert von", K::Text, [](D) { return std::string(); }},
    {11, "Beraternummer", K::Number, [](D d) { return Str(d.beraternummer); }},
    {12, "Mandantennummer", K::Number, [](D d) { return Str(d.mandantennummer); }},
    {13, "WJ-Beginn", K::Number, [](D d) { return Str(d.wjBeginn); }},
    {14, "Sachkontenlänge", K::Number, [](D d) { return Str(d.sachkontenlaenge); }},
    {15, "Datum vom", K::Number, [](D d) { return Str(d.dateFrom); }},
    {16, "Datum bis", K::Number, [](D d) { return Str(d.dateTo); }},
    {17, "Bezeichnung", K::Text, [](D d) { return d.bezeichnung; }},
    {18, "Diktatkürzel", K::Text, [](D d) { return d.diktatkuerzel; }},
    {19, "Buchungstyp", K::Number, [](D) -> std::string { return "1"; }},
    {20, "Rechnungslegungszweck", K::Number, [](D) -> std::string { return "0"; }},
    {21, "Festschreibung", K::Number, [](D d) { return Str(d.festschreibung); }},
    {22, "WKZ", K::Text, [](D d) { return d.currency; }},
    {23, "reserviert", K::Empty, nullptr},
    {24, "Derivatskennzeichen", K::Text, [](D) { return std::string(); }},
    {25, "reserviert", K::Empty, nullptr},
    {26, "reserviert", K::Empty, nullptr},
    {27, "Sachkontenrahmen", K::Text, [](D d) { return d.sachkontenrahmen; }},
    {28, "Branchenlösungs-ID", K::Empty, nullptr},
    {29, "reserviert", K::Empty, nullptr},
    {30, "reserviert", K::Text, [](D) { return std::string(); }},
    {31, "Anwendungsinformation", K::Text, [](D) { return std::string(); }},
}};
// clang-format on

namespace {

using L = const BookingLine&;

// Each writes its field at `at` and returns the field's end (see
// BookingLineRoom for the room they need).
char* Umsatz(char* at, L l) { return PutUmsatz(at, l.umsatzCents); }
// Constant texts need no escaping: they go out with their quotes as they are.
char* Constant(char* at, std::string_view quoted) {
    return std::copy(quoted.begin(), quoted.end(), at);
}
char* SollHaben(char* at, L l) { return Constant(at, l.umsatzCents < 0 ? "\"H\"" : "\"S\""); }
char* Wkz(char* at, L l) { return PutQuoted(at, l.wkz); }
char* Konto(char* at, L l) { return PutInt(at, l.konto); }
char* Gegenkonto(char* at, L l) { return PutInt(at, l.gegenkonto); }
char* BuSchluessel(char* at, L l) {
    return l.buSchluessel > 0 ? PutQuotedInt(at, l.buSchluessel) : at;
}
char* Belegdatum(char* at, L l) {  // TTMM
    const int32_t day = l.belegdatum % 100, month = l.belegdatum / 100 % 100;
    *at++ = static_cast<char>('0' + day / 10);
    *at++ = static_cast<char>('0' + day % 10);
    *at++ = static_cast<char>('0' + month / 10);
    *at++ = static_cast<char>('0' + month % 10);
    return at;
}
char* Belegfeld1(char* at, L l) { return PutQuoted(at, l.belegfeld1); }
char* Buchungstext(char* at, L l) { return PutQuoted(at, l.buchungstext); }
char* InfoArt1(char* at, L) { return Constant(at, "\"Buchungsnummer\""); }
char* InfoInhalt1(char* at, L l) { return PutQuotedInt(at, l.buchungsnummer); }
char* InfoArt2(char* at, L l) { return l.langtext.empty() ? at : Constant(at, "\"Buchungstext\""); }
char* InfoInhalt2(char* at, L l) { return l.langtext.empty() ? at : PutQuoted(at, l.langtext); }
char* Festschreibung(char* at, L l) { return PutInt(at, l.festschreibung); }

}  // namespace

// # | kind | value; the kind says how the heading's column is written.
// clang-format off
const std::array<BookingColumn, 14> kBookingColumns = {{
    {1, K::Number, Umsatz},            // Umsatz (ohne Soll/Haben-Kz): "1234,56"
    {2, K::Text, SollHaben},           // Soll/Haben-Kennzeichen: "S", "H" for a negative amount
    {3, K::Text, Wkz},                 // WKZ Umsatz
    {7, K::Number, Konto},             // Konto: sollAccount
    {8, K::Number, Gegenkonto},        // Gegenkonto (ohne BU-Schlüssel): habenAccount
    {9, K::OptionalText, BuSchluessel},  // BU-Schlüssel: datevKey when above 0
    {10, K::Number, Belegdatum},       // Belegdatum: TTMM
    {11, K::Text, Belegfeld1},         // Belegfeld 1: beleg in DATEV's set, else bookingNo
    {14, K::Text, Buchungstext},       // Buchungstext: "(beleg)name,purpose", 60 bytes
    {21, K::Text, InfoArt1},           // Beleginfo - Art 1: "Buchungsnummer"
    {22, K::Text, InfoInhalt1},        // Beleginfo - Inhalt 1: bookingNo
    {23, K::OptionalText, InfoArt2},   // Beleginfo - Art 2: "Buchungstext" for a longer text
    {24, K::OptionalText, InfoInhalt2},  // Beleginfo - Inhalt 2: the whole text, 210 bytes
    {114, K::Number, Festschreibung},  // Festschreibung
}};
// clang-format on

const std::array<const char*, kColumnCount> kColumnHeadings = {{
    "Umsatz (ohne Soll/Haben-Kz)",     // 1
    "Soll/Haben-Kennzeichen",          // 2
    "WKZ Umsatz",                      // 3
    "Kurs",                            // 4
    "Basis-Umsatz",                    // 5
    "WKZ Basis-Umsatz",                // 6
    "Konto",                           // 7
    "Gegenkonto (ohne BU-Schlüssel)",  // 8
    "BU-Schlüssel",                    // 9
    "Belegdatum",                      // 10
    "Belegfeld 1",                     // 11
    "Belegfeld 2",                     // 12
    "Skonto",                          // 13
    "Buchungstext",                    // 14
    "Postensperre",                    // 15
    "Diverse Adressnummer",            // 16
    "Geschäftspartnerbank",            // 17
    "Sachverhalt",                     // 18
    "Zinssperre",                      // 19
    "Beleglink",                       // 20
    "Beleginfo - Art 1",               // 21
    "Beleginfo - Inhalt 1",            // 22
    "Beleginfo - Art 2",               // 23
    "Beleginfo - Inhalt 2",            // 24
    "Beleginfo - Art 3",               // 25
    "Beleginfo - Inhalt 3",            // 26
    "Beleginfo - Art 4",               // 27
    "Beleginfo - Inhalt 4",            // 28
    "Beleginfo - Art 5",               // 29
    "Beleginfo - Inhalt 5",            // 30
    "Beleginfo - Art 6",               // 31
    "Beleginfo - Inhalt 6",            // 32
    "Beleginfo - Art 7",               // 33
    "Beleginfo - Inhalt 7",            // 34
    "Beleginfo - Art 8",               // 35
    "Beleginfo - Inhalt 8",            // 36
    "KOST1 - Kostenstelle",            // 37
    "KOST2 - Kostenstelle",            // 38
    "Kost-Menge",                      // 39
    "EU-Land u. UStID (Bestimmung)",   // 40
    "EU-Steuersatz (Bestimmung)",      // 41
    "Abw. Versteuerungsart",           // 42
    "Sachverhalt L+L",                 // 43
    "Funktionsergänzung L+L",          // 44
    "BU 49 Hauptfunktionstyp",         // 45
    "BU 49 Hauptfunktionsnummer",      // 46
    "BU 49 Funktionsergänzung",        // 47
    "Zusatzinformation - Art 1",       // 48
    "Zusatzinformation- Inhalt 1",     // 49
    "Zusatzinformation - Art 2",       // 50
    "Zusatzinformation- Inhalt 2",     // 51
    "Zusatzinformation - Art 3",       // 52
    "Zusatzinformation- Inhalt 3",     // 53
    "Zusatzinformation - Art 4",       // 54
    "Zusatzinformation- Inhalt 4",     // 55
    "Zusatzinformation - Art 5",       // 56
    "Zusatzinformation- Inhalt 5",     // 57
    "Zusatzinformation - Art 6",       // 58
    "Zusatzinformation- Inhalt 6",     // 59
    "Zusatzinformation - Art 7",       // 60
    "Zusatzinformation- Inhalt 7",     // 61
    "Zusatzinformation - Art 8",       // 62
    "Zusatzinformation- Inhalt 8",     // 63
    "Zusatzinformation - Art 9",       // 64
    "Zusatzinformation- Inhalt 9",     // 65
    "Zusatzinformation - Art 10",      // 66
    "Zusatzinformation- Inhalt 10",    // 67
    "Zusatzinformation - Art 11",      // 68
    "Zusatzinformation- Inhalt 11",    // 69
    "Zusatzinformation - Art 12",      // 70
    "Zusatzinformation- Inhalt 12",    // 71
    "Zusatzinformation - Art 13",      // 72
    "Zusatzinformation- Inhalt 13",    // 73
    "Zusatzinformation - Art 14",      // 74
    "Zusatzinformation- Inhalt 14",    // 75
    "Zusatzinformation - Art 15",      // 76
    "Zusatzinformation- Inhalt 15",    // 77
    "Zusatzinformation - Art 16",      // 78
    "Zusatzinformation- Inhalt 16",    // 79
    "Zusatzinformation - Art 17",      // 80
    "Zusatzinformation- Inhalt 17",    // 81
    "Zusatzinformation - Art 18",      // 82
    "Zusatzinformation- Inhalt 18",    // 83
    "Zusatzinformation - Art 19",      // 84
    "Zusatzinformation- Inhalt 19",    // 85
    "Zusatzinformation - Art 20",      // 86
    "Zusatzinformation- Inhalt 20",    // 87
    "Stück",                           // 88
    "Gewicht",                         // 89
    "Zahlweise",                       // 90
    "Forderungsart",                   // 91
    "Veranlagungsjahr",                // 92
    "Zugeordnete Fälligkeit",          // 93
    "Skontotyp",                       // 94
    "Auftragsnummer",                  // 95
    "Buchungstyp",                     // 96
    "USt-Schlüssel (Anzahlungen)",     // 97
    "EU-Land (Anzahlungen)",           // 98
    "Sachverhalt L+L (Anzahlungen)",   // 99
    "EU-Steuersatz (Anzahlungen)",     // 100
    "Erlöskonto (Anzahlungen)",        // 101
    "Herkunft-Kz",                     // 102
    "Buchungs GUID",                   // 103
    "KOST-Datum",                      // 104
    "SEPA-Mandatsreferenz",            // 105
    "Skontosperre",                    // 106
    "Gesellschaftername",              // 107
    "Beteiligtennummer",               // 108
    "Identifikationsnummer",           // 109
    "Zeichnernummer",                  // 110
    "Postensperre bis",                // 111
    "Bezeichnung SoBil-Sachverhalt",   // 112
    "Kennzeichen SoBil-Buchung",       // 113
    "Festschreibung",                  // 114
    "Leistungsdatum",                  // 115
    "Datum Zuord. Steuerperiode",      // 116
    "Fälligkeit",                      // 117
    "Generalumkehr (GU)",              // 118
    "Steuersatz",                      // 119
    "Land",                            // 120
    "Abrechnungsreferenz",             // 121
    "BVV-Position",                    // 122
    "EU-Land u. UStID (Ursprung)",     // 123
    "EU-Steuersatz (Ursprung)",        // 124
    "Abw. Skontokonto",                // 125
}};

std::string BuildHeaderLine(const HeaderData& data) {
    std::string out;
    for (const HeaderField& f : kHeaderFields) {
        if (f.no > 1) out += ';';
        switch (f.kind) {
            case K::Number:
                out += f.value(data);
                break;
            case K::Text:
                AppendQuoted(out, f.value(data));
                break;
            case K::OptionalText: {
                const std::string v = f.value(data);
                if (!v.empty()) AppendQuoted(out, v);
                break;
            }
            case K::Empty:
                break;
        }
    }
    out += "\r\n";
    return out;
}

const std::string& HeadingLine() {
    static const std::string line = [] {
        std::string utf8;
        for (const char* h : kColumnHeadings) {
            if (!utf8.empty()) utf8 += ';';
            utf8 += h;
        }
        return Utf8ToCp1252(utf8) + "\r\n";
    }();
    return line;
}

// The separators, CR LF and the fields other than texts take less than
// kFixedRoom bytes: 126 + 10 fields of at most kIntRoom + 2, and 16 bytes
// that a run of separators may write beyond its end (PutSemicolons).
std::size_t BookingLineRoom(const BookingLine& line) {
    constexpr std::size_t kFixedRoom = 126 + 10 * (kIntRoom + 2) + 16;
    return kFixedRoom + QuotedRoom(line.wkz) + QuotedRoom(line.belegfeld1) +
           QuotedRoom(line.buchungstext) + QuotedRoom(line.langtext);
}

namespace {

// The separators between columns, copied 16 at a time: a run may write up
// to 15 bytes beyond its end, which the next field overwrites (or the room
// of the line holds, see BookingLineRoom).
constexpr std::array<char, 16> kSemicolons = [] {
    std::array<char, 16> run{};
    run.fill(';');
    return run;
}();

char* PutSemicolons(char* at, int count) {
    for (int i = 0; i < count; i += 16) std::memcpy(at + i, kSemicolons.data(), 16);
    return at + count;
}

}  // namespace

char* WriteBookingLine(char* at, const BookingLine& line) {
    int column = 1;
    for (const BookingColumn& c : kBookingColumns) {
        at = PutSemicolons(at, c.no - column);
        at = c.write(at, line);
        column = c.no;
    }
    at = PutSemicolons(at, kColumnCount - column);
    *at++ = '\r';
    *at++ = '\n';
    return at;
}

void AppendBookingLine(std::string& out, const BookingLine& line) {
    const std::size_t size = out.size();
    out.resize(size + BookingLineRoom(line));
    out.resize(static_cast<std::size_t>(WriteBookingLine(out.data() + size, line) - out.data()));
}

}  // namespace belvaron::csv
