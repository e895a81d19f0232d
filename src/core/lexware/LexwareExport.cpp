#include "core/lexware/LexwareExport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <memory>
#include <vector>

#include "core/base/ChunkedForm.h"
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
constexpr char RecordSafe(char c) {
    if (c == '|') return '/';
    if (c == '"') return '\'';
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return ' ';
    return c;
}

// RecordSafe of every byte value.
constexpr std::array<char, 256> kRecordSafe = [] {
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c) table[c] = RecordSafe(static_cast<char>(c));
    return table;
}();

// The lines are formed in place: each Put writes at `at` and returns the end.
template <std::size_t N>
char* PutText(char* at, const char (&field)[N]) {
    for (const char c : FieldText(field)) *at++ = kRecordSafe[static_cast<unsigned char>(c)];
    return at;
}

template <std::size_t N>
char* PutLiteral(char* at, const char (&text)[N]) {
    std::memcpy(at, text, N - 1);
    return at + N - 1;
}

constexpr std::size_t kNumberRoom = 11;  // "-2147483648"

char* PutNumber(char* at, int32_t value) { return std::to_chars(at, at + kNumberRoom, value).ptr; }

// The most bytes one line takes: every text field full, every number at its
// widest, the fixed parts.
constexpr std::size_t kMaxLineBytes = sizeof(BookingRecord::date) + sizeof(BookingRecord::beleg) +
                                      sizeof(BookingRecord::name) + sizeof(BookingRecord::purpose) +
                                      sizeof(BookingRecord::amount) +
                                      sizeof(BookingRecord::currency) + 4 * kNumberRoom + 64;

// Writes the line of `b`, with its CR LF, at `at` (room for kMaxLineBytes).
char* PutLine(char* at, const BookingRecord& b) {
    at = PutText(at, b.date);
    at = PutLiteral(at, "|\"\"|\"\"|");
    at = PutNumber(at, b.bookingNo);
    at = PutLiteral(at, "|\"Beleg:");
    at = PutText(at, b.beleg);
    *at++ = ',';
    at = PutText(at, b.name);
    *at++ = ',';
    at = PutText(at, b.purpose);
    at = PutLiteral(at, "\"|");
    at = PutText(at, b.amount);
    *at++ = '|';
    at = PutNumber(at, b.sollAccount);
    *at++ = '|';
    at = PutNumber(at, b.habenAccount);
    *at++ = '|';
    at = PutNumber(at, b.vatRate);
    at = PutLiteral(at, "|\"\"|\"\"|0|0|\"");
    at = PutText(at, b.currency);
    return PutLiteral(at, "\"\r\n");
}

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
    const std::size_t size = out.size();
    out.resize(size + kMaxLineBytes);
    out.resize(static_cast<std::size_t>(PutLine(out.data() + size, b) - out.data()));
}

namespace {

// Bookings per chunk of lines formed at once (on two threads).
constexpr int64_t kChunkBookings = kProgressStride;

// The store indices of the bookings of each of `years` (ascending), in one
// pass.
std::vector<std::vector<int32_t>> RowsByYear(const BookingStore& store,
                                             const std::vector<int32_t>& years) {
    std::vector<std::vector<int32_t>> rows(years.size());
    for (int32_t i = 0; i < store.bookingCount; ++i) {
        const int32_t year = DateKey(store[i].date) / 10000;
        const auto at = std::lower_bound(years.begin(), years.end(), year);
        rows[static_cast<std::size_t>(at - years.begin())].push_back(i);
    }
    return rows;
}

// Opens `file` at `path` and writes the header and the bookings at `rows`
// (every booking when null). E:210 on a failure; the file is then not
// committed. False without a message when `progress` was cancelled; it
// counts the bookings written over every file of the export.
bool WriteLexwareFile(const BookingStore& store, const std::vector<int32_t>* rows,
                      const std::string& path, FileWriter& file, Notices& notices,
                      ProgressCount& progress) {
    if (!file.Open(path)) {
        notices.Plain(Format(msg::kE210, path.c_str()));
        return false;
    }
    TracePoint = 2040;
    const int64_t count = rows ? static_cast<int64_t>(rows->size()) : store.bookingCount;
    TracePoint = 2041;
    // Reads only: it may run on a helper thread.
    const auto form = [&](int64_t begin, int64_t end, std::string& buffer) {
        const std::size_t room = static_cast<std::size_t>(end - begin) * kMaxLineBytes;
        if (buffer.size() < room) buffer.resize(room);
        char* at = buffer.data();
        for (int64_t k = begin; k < end; ++k) {
            at = PutLine(
                at, store[rows ? (*rows)[static_cast<std::size_t>(k)] : static_cast<int32_t>(k)]);
        }
        return static_cast<std::size_t>(at - buffer.data());
    };
    int64_t taken = 0;
    bool ok = file.Write(LexwareHeaderLine());
    const auto take = [&](std::string_view lines) {
        const int64_t items = std::min(kChunkBookings, count - taken);
        taken += items;
        ok = file.Write(lines);
        return ok && progress.Add(items);
    };
    TracePoint = 2042;
    if (ok && FormInChunks(count, kChunkBookings, form, take)) {
        file.StartFinish();  // to the disk while the next file is formed
        return true;
    }
    if (progress.cancelled()) return false;
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
    ProgressCount ticks(progress, store.bookingCount);
    const auto cancelled = [&result] {
        result.cancelled = true;
        result.notices = Notices();
        return result;
    };
    if (years.size() <= 1) {
        FileWriter file;
        if (!WriteLexwareFile(store, nullptr, path, file, result.notices, ticks)) {
            return ticks.cancelled() ? cancelled() : result;
        }
        if (!Committed(file, path, result.notices)) return result;
        TracePoint = 2043;
        result.notices.Information(Format(msg::kLexwareDone, store.bookingCount));
        result.written = true;
        return result;
    }
    std::vector<std::string> paths;
    for (const int32_t year : years) paths.push_back(LexwareYearPath(path, year));
    const std::vector<std::vector<int32_t>> rows = RowsByYear(store, years);
    std::vector<std::unique_ptr<FileWriter>> files;
    for (std::size_t k = 0; k < years.size(); ++k) {
        files.push_back(std::make_unique<FileWriter>());
        if (!WriteLexwareFile(store, &rows[k], paths[k], *files.back(), result.notices, ticks)) {
            return ticks.cancelled() ? cancelled() : result;
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
        text += Format(msg::kLexwareYearFile, paths[k].c_str(), static_cast<int>(rows[k].size()));
    }
    TracePoint = 2043;
    result.notices.Information(std::move(text));
    result.written = true;
    return result;
}

}  // namespace belvaron
