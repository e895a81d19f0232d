#include "core/lexware/LexwareExport.h"

#include <charconv>

#include "core/base/ErrnoText.h"
#include "core/base/FileWriter.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/base/UiPort.h"
#include "core/bookings/BookingStore.h"
#include "core/lexware/LexwareMessages.h"

namespace belvaron {

namespace {

// The header titles, in field order ("Währung" with the Windows-1252 byte).
constexpr const char* kTitles[] = {
    "Belegdatum",     "Buchungsdatum",  "Belegnummernkreis",
    "Belegnummer",    "Buchungstext",   "Buchungsbetrag",
    "Sollkonto",      "Habenkonto",     "Steuerschl\xFCssel",
    "Kostenstelle 1", "Kostenstelle 2", "DM",
    "Euro",           "W\xE4hrung",
};

void AppendText(std::string_view text, std::string& out) {
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
}

void AppendNumber(int32_t value, std::string& out) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

// Flushes the chunk to the file once it holds this many bytes.
constexpr std::size_t kChunkBytes = 64 * 1024;

}  // namespace

const std::string& LexwareHeaderLine() {
    static const std::string line = [] {
        std::string s;
        for (std::size_t i = 0; i < std::size(kTitles); ++i) {
            if (i > 0) s += '|';
            s += '"';
            s += kTitles[i];
            s += '"';
        }
        s += "\r\n";
        return s;
    }();
    return line;
}

void AppendLexwareLine(const BookingRecord& b, std::string& out) {
    AppendText(FieldText(b.date), out);
    out += "|\"\"|\"\"|";
    AppendNumber(b.bookingNo, out);
    out += "|\"Beleg:";
    AppendText(FieldText(b.beleg), out);
    out += ',';
    AppendText(FieldText(b.name), out);
    out += ',';
    AppendText(FieldText(b.purpose), out);
    out += "\"|";
    AppendText(FieldText(b.amount), out);
    out += '|';
    AppendNumber(b.sollAccount, out);
    out += '|';
    AppendNumber(b.habenAccount, out);
    out += '|';
    AppendNumber(b.vatRate, out);
    out += "|\"\"|\"\"|0|0|\"";
    AppendText(FieldText(b.currency), out);
    out += "\"\r\n";
}

// Writes all bookings into a new file beside `path` and replaces `path` only
// when every write and the close succeeded; any failure is reported (E:209,
// E:210) and leaves an existing file at `path` as it was. True only after the
// success message.
bool ExportLexware(const BookingStore& store, const std::string& path, UiPort& ui) {
    TracePoint = 2039;
    if (store.bookingCount <= 0) {
        ShowPlain(ui, msg::kE209);
        return false;
    }
    FileWriter file;
    if (!file.Open(path)) {
        ShowPlain(ui, Format(msg::kE210, path.c_str()));
        return false;
    }
    TracePoint = 2040;
    std::string chunk;
    chunk.reserve(kChunkBytes + 1024);
    chunk = LexwareHeaderLine();
    TracePoint = 2041;
    bool ok = true;
    for (int32_t i = 0; i < store.bookingCount && ok; ++i) {
        TracePoint = 2042;
        AppendLexwareLine(store[i], chunk);
        if (chunk.size() >= kChunkBytes) {
            ok = file.Write(chunk);
            chunk.clear();
        }
    }
    ok = ok && file.Write(chunk) && file.Commit();
    if (!ok) {
        const std::string reason = ErrnoReason(file.error(), ReasonForm::Sentence);
        ShowPlain(ui, Format(msg::kE210Write, path.c_str(), reason.c_str()));
        return false;
    }
    TracePoint = 2043;
    ShowInfo(ui, Format(msg::kLexwareDone, store.bookingCount));
    return true;
}

}  // namespace belvaron
