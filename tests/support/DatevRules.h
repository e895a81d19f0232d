#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// An independent reader of DATEV-Format (CSV) files and DATEV's rules for a
// batch file, without GoogleTest: the core's tests and the command line's
// end-to-end tests (through tests/support/datev_rules_check) use this one
// copy of the rules.
namespace belvaron::test {

struct CsvField {
    std::string text;  // unquoted, "" undoubled
    bool quoted = false;
};
using CsvRecord = std::vector<CsvField>;

// Splits the bytes into lines at CR LF and the lines into fields at ';'
// outside quotes. A bare CR or LF, a missing final CR LF, an unclosed quote,
// a stray quote or a character after a closing quote is added to `problems`
// (once per line and kind).
inline std::vector<CsvRecord> ParseCsvRecords(std::string_view bytes,
                                              std::vector<std::string>& problems) {
    std::vector<CsvRecord> records;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", pos);
        if (end == std::string_view::npos) {
            problems.push_back("last line without CR LF");
            break;
        }
        const std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 2;
        const std::string where = "line " + std::to_string(records.size() + 1) + ": ";
        if (line.find_first_of("\r\n") != std::string_view::npos) {
            problems.push_back(where + "bare CR or LF");
        }
        CsvRecord record(1);
        bool inQuotes = false, closed = false, afterClose = false, stray = false;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            CsvField& f = record.back();
            if (inQuotes) {
                if (c != '"') {
                    f.text += c;
                } else if (i + 1 < line.size() && line[i + 1] == '"') {
                    f.text += '"';
                    ++i;
                } else {
                    inQuotes = false;
                    closed = true;
                }
            } else if (c == ';') {
                record.emplace_back();
                closed = false;
            } else if (c == '"' && f.text.empty() && !f.quoted) {
                f.quoted = inQuotes = true;
            } else {
                afterClose = afterClose || closed;
                stray = stray || c == '"';
                f.text += c;
            }
        }
        if (afterClose) problems.push_back(where + "text after a closing quote");
        if (stray) problems.push_back(where + "stray quote");
        if (inQuotes) problems.push_back(where + "unclosed quote");
        records.push_back(std::move(record));
    }
    return records;
}

// DATEV's published rules for one batch file, checked on the parsed file:
// the header's kind, version and dates (vom <= bis, one calendar year,
// inside the fiscal year from WJ-Beginn), 125 fields per line, at most
// 99,999 bookings, and per booking the amount's form, S/H, the accounts,
// Belegdatum TTMM within Datum vom/bis, Belegfeld 1 (at most 36 of
// A-Z a-z 0-9 $ & % * + - /), Buchungstext <= 60, Beleginfo pairs with an
// Inhalt of at most 210. Returns one line per broken rule, after the
// problems of the CSV form itself.
inline std::vector<std::string> DatevRuleProblems(std::string_view bytes) {
    std::vector<std::string> problems;
    const auto records = ParseCsvRecords(bytes, problems);
    auto fail = [&](std::size_t line, const std::string& what) {
        problems.push_back("line " + std::to_string(line + 1) + ": " + what);
    };
    auto digits = [](const std::string& t) {
        return !t.empty() && t.find_first_not_of("0123456789") == std::string::npos;
    };
    if (records.size() < 2) {
        problems.push_back("no header and heading lines");
        return problems;
    }
    const CsvRecord& h = records[0];
    if (h.size() != 31) {
        fail(0, "header has " + std::to_string(h.size()) + " fields");
        return problems;
    }
    if (h[0].text != "EXTF" || h[1].text != "700" || h[2].text != "21" || h[4].text != "13") {
        fail(0, "not an EXTF Buchungsstapel of format 13");
    }
    const std::string wj = h[12].text, from = h[14].text, to = h[15].text;
    if (!digits(wj) || !digits(from) || !digits(to) || wj.size() != 8 || from.size() != 8 ||
        to.size() != 8) {
        fail(0, "WJ-Beginn or Datum vom/bis not YYYYMMDD");
        return problems;
    }
    const int32_t wjKey = std::stoi(wj), fromKey = std::stoi(from), toKey = std::stoi(to);
    if (fromKey > toKey) fail(0, "Datum vom after Datum bis");
    if (fromKey / 10000 != toKey / 10000) fail(0, "Datum vom/bis in two calendar years");
    if (fromKey < wjKey || toKey >= wjKey + 10000) fail(0, "Datum vom/bis outside the fiscal year");
    if (h[16].text.size() > 30) fail(0, "Bezeichnung longer than 30");
    if (records[1].size() != 125) fail(1, "heading line without 125 fields");
    if (records.size() - 2 > 99'999) problems.push_back("more than 99,999 bookings");
    static constexpr std::string_view kBelegSet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789$&%*+-/";
    for (std::size_t i = 2; i < records.size(); ++i) {
        const CsvRecord& r = records[i];
        if (r.size() != 125) {
            fail(i, "booking line with " + std::to_string(r.size()) + " fields");
            continue;
        }
        const std::string& umsatz = r[0].text;
        const auto comma = umsatz.find(',');
        if (comma == std::string::npos || comma == 0 || comma > 10 || umsatz.size() != comma + 3 ||
            !digits(umsatz.substr(0, comma)) || !digits(umsatz.substr(comma + 1)) ||
            umsatz.find_first_not_of("0,") == std::string::npos) {
            fail(i, "Umsatz " + umsatz);
        }
        if (r[1].text != "S" && r[1].text != "H") fail(i, "Soll/Haben-Kennzeichen");
        if (!digits(r[6].text) || r[6].text.size() > 9 || !digits(r[7].text) ||
            r[7].text.size() > 9) {
            fail(i, "Konto or Gegenkonto");
        }
        const std::string& ttmm = r[9].text;
        if (ttmm.size() != 4 || !digits(ttmm)) {
            fail(i, "Belegdatum " + ttmm);
        } else {
            const int32_t key = fromKey / 10000 * 10000 + std::stoi(ttmm.substr(2)) * 100 +
                                std::stoi(ttmm.substr(0, 2));
            if (key < fromKey || key > toKey) fail(i, "Belegdatum outside Datum vom/bis");
        }
        const std::string& beleg = r[10].text;
        if (beleg.empty() || beleg.size() > 36 ||
            beleg.find_first_not_of(kBelegSet) != std::string::npos) {
            fail(i, "Belegfeld 1 \"" + beleg + "\"");
        }
        if (r[13].text.size() > 60) fail(i, "Buchungstext longer than 60");
        for (int info = 0; info < 8; ++info) {
            const CsvField& art = r[20 + 2 * info];
            const CsvField& inhalt = r[21 + 2 * info];
            if (art.text.empty() != inhalt.text.empty() || inhalt.text.size() > 210) {
                fail(i, "Beleginfo " + std::to_string(info + 1));
            }
        }
    }
    return problems;
}

}  // namespace belvaron::test
