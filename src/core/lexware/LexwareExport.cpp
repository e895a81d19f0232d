#include "core/lexware/LexwareExport.h"

#include <charconv>
#include <cstring>
#include <memory>
#include <vector>

#include "core/base/ErrnoText.h"
#include "core/base/FileSet.h"
#include "core/base/FileWriter.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/bookings/BookingStore.h"
#include "core/bookings/Dates.h"
#include "core/lexware/LexwareMessages.h"
#include "core/lexware/LexwareYears.h"

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

// A text byte that would break the record: '|' separates fields, '"'
// ends a quoted text, a line break ends the record.
char RecordSafe(char c) {
    if (c == '|') return '/';
    if (c == '"') return '\'';
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return ' ';
    return c;
}

void AppendText(std::string_view text, std::string& out) {
    std::size_t i = 0;
    while (i < text.size()) {
        // The run of bytes RecordSafe keeps, appended whole.
        std::size_t end = i;
        while (end < text.size() && RecordSafe(text[end]) == text[end]) ++end;
        out.append(text.data() + i, end - i);
        if (end == text.size()) break;
        out += RecordSafe(text[end]);
        i = end + 1;
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

namespace {

// The progress of one export over all its files.
struct ExportProgress {
    const Progress* progress = nullptr;
    int64_t done = 0;
    int64_t total = 0;
    bool cancelled = false;
};

// Opens `file` at `path` and writes the header and the bookings of `year`
// (every booking when year < 0). E:210 on a failure; the file is then not
// committed. False without a message when cancelled.
bool WriteLexwareFile(const BookingStore& store, int32_t year, const std::string& path,
                      FileWriter& file, Notices& notices, ExportProgress& progress) {
    if (!file.Open(path)) {
        notices.Plain(Format(msg::kE210, path.c_str()));
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
        if (year >= 0 && DateKey(store[i].date) / 10000 != year) continue;
        AppendLexwareLine(store[i], chunk);
        if (++progress.done % kProgressStride == 0 &&
            !GoOn(progress.progress, progress.done, progress.total)) {
            progress.cancelled = true;
            return false;
        }
        if (chunk.size() >= kChunkBytes) {
            ok = file.Write(chunk);
            chunk.clear();
        }
    }
    if (ok && file.Write(chunk)) return true;
    notices.Plain(Format(msg::kE210Write, path.c_str(),
                         ErrnoReason(file.error(), ReasonForm::Sentence).c_str()));
    return false;
}

bool Committed(FileWriter& file, const std::string& path, Notices& notices) {
    if (file.Commit()) return true;
    notices.Plain(Format(msg::kE210Write, path.c_str(),
                         ErrnoReason(file.error(), ReasonForm::Sentence).c_str()));
    return false;
}

int32_t CountOfYear(const BookingStore& store, int32_t year) {
    int32_t count = 0;
    for (int32_t i = 0; i < store.bookingCount; ++i) {
        if (DateKey(store[i].date) / 10000 == year) ++count;
    }
    return count;
}

}  // namespace

LexwareExportResult ExportLexware(const BookingStore& store, const std::string& path,
                                  const Progress* progress) {
    TracePoint = 2039;
    LexwareExportResult result;
    if (store.bookingCount <= 0) {
        result.notices.Plain(msg::kE209);
        return result;
    }
    const std::vector<int32_t> years = LexwareYears(store);
    ExportProgress ticks{progress, 0, store.bookingCount, false};
    const auto cancelled = [&result] {
        result.cancelled = true;
        result.notices = Notices();
        return result;
    };
    if (years.size() <= 1) {
        FileWriter file;
        if (!WriteLexwareFile(store, -1, path, file, result.notices, ticks)) {
            return ticks.cancelled ? cancelled() : result;
        }
        if (!Committed(file, path, result.notices)) return result;
        TracePoint = 2043;
        result.notices.Information(Format(msg::kLexwareDone, store.bookingCount));
        result.written = true;
        return result;
    }
    const std::vector<std::string> paths = LexwareFilePaths(store, path);
    std::vector<std::unique_ptr<FileWriter>> files;
    for (std::size_t k = 0; k < years.size(); ++k) {
        files.push_back(std::make_unique<FileWriter>());
        if (!WriteLexwareFile(store, years[k], paths[k], *files.back(), result.notices, ticks)) {
            return ticks.cancelled ? cancelled() : result;
        }
    }
    FileSet set;
    for (std::size_t k = 0; k < years.size(); ++k) {
        if (!files[k]->Finish()) {
            Committed(*files[k], paths[k], result.notices);
            return result;
        }
        set.Replace(*files[k]);
    }
    const FileSetOutcome outcome = set.Commit();
    if (!outcome.committed) {
        const std::string reason = ErrnoReason(outcome.error, ReasonForm::Sentence);
        result.notices.Plain(Format(outcome.restored ? msg::kE210Replace : msg::kE210Mixed,
                                    outcome.failedPath.c_str(), reason.c_str()));
        return result;
    }
    std::string text = Format(msg::kLexwareDone, store.bookingCount);
    for (std::size_t k = 0; k < years.size(); ++k) {
        text += Format(msg::kLexwareYearFile, paths[k].c_str(), CountOfYear(store, years[k]));
    }
    TracePoint = 2043;
    result.notices.Information(std::move(text));
    result.written = true;
    return result;
}

}  // namespace belvaron
