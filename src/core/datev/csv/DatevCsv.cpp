#include "core/datev/csv/DatevCsv.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <limits>
#include <memory>

#include "core/base/ChunkedForm.h"
#include "core/base/ErrnoText.h"
#include "core/base/FileSet.h"
#include "core/base/FileWriter.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/StrictInt.h"
#include "core/base/Text.h"
#include "core/base/TracePoint.h"
#include "core/bookings/BookingStore.h"
#include "core/datev/DatevMessages.h"
#include "core/datev/DatevRange.h"
#include "core/datev/DatevSettings.h"
#include "core/datev/csv/CsvBatches.h"
#include "core/datev/csv/CsvFields.h"
#include "core/datev/csv/CsvLayout.h"
#include "core/datev/csv/CsvMessages.h"
#include "core/platform/Files.h"
#include "core/platform/System.h"

namespace belvaron {

namespace m = msg::csv;

namespace {

std::string Stamp(std::time_t seconds, int millis, bool utc) {
    platform::CalendarTime t;
    if (!platform::ToCalendarTime(seconds, utc, t)) return "";
    return Format("%04d%02d%02d%02d%02d%02d%03d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second, millis);
}

}  // namespace

std::string CsvCreationTime() {
    if (const auto epoch = platform::Environment("SOURCE_DATE_EPOCH")) {
        const StrictInt seconds = ReadStrictInt(*epoch, 0, std::numeric_limits<std::time_t>::max());
        if (seconds.ok()) {
            const std::string stamp = Stamp(static_cast<std::time_t>(seconds.value), 0, true);
            if (stamp.size() == 17) return stamp;
        }
    }
    const auto now = std::chrono::system_clock::now();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch());
    return Stamp(std::chrono::system_clock::to_time_t(now), static_cast<int>(ms.count() % 1000),
                 false);
}

CsvRunOptions MakeCsvRunOptions(const std::string& chartName, const std::string& chartPath) {
    CsvRunOptions options;
    options.createdAt = CsvCreationTime();
    options.chart.name = chartName;
    options.chart.variant = ChartVariantOf(chartName);
    if (!chartName.empty()) {
        if (auto accounts = csv::ReadAutomaticAccounts(chartPath)) {
            options.chart.known = true;
            options.chart.automaticAccounts = std::move(*accounts);
        }
    }
    return options;
}

std::string CsvFileName(int32_t fromKey, int32_t toKey, int part) {
    return part <= 1 ? Format("EXTF_Buchungsstapel_%08d_%08d.csv", fromKey, toKey)
                     : Format("EXTF_Buchungsstapel_%08d_%08d_%d.csv", fromKey, toKey, part);
}

namespace {

// "Buchungen 01.01.-31.12.2024", or "Teil 2: 01.01.-31.12.2024" when split.
std::string Bezeichnung(int32_t fromKey, int32_t toKey, int part, int parts) {
    const std::string range =
        Format("%02d.%02d.-%02d.%02d.%04d", fromKey % 100, fromKey / 100 % 100, toKey % 100,
               toKey / 100 % 100, toKey / 10000);
    std::string text = parts > 1 ? Format("Teil %d: ", part) + range : "Buchungen " + range;
    if (text.size() > 30) text.resize(30);
    return text;
}

csv::HeaderData HeaderFor(const DatevSettings& s, const csv::CsvBatch& batch,
                          const CsvRunOptions& options) {
    csv::HeaderData h;
    h.createdAt = options.createdAt.empty() ? CsvCreationTime() : options.createdAt;
    h.exportedBy = "Belvaron " BELVARON_VERSION;
    h.beraternummer = s.beraternummer;
    h.mandantennummer = s.mandantennummer;
    h.wjBeginn = batch.wjBeginn;
    h.sachkontenlaenge = s.kontonummernlaenge;
    h.dateFrom = batch.fromKey;
    h.dateTo = batch.toKey;
    h.bezeichnung = Bezeichnung(batch.fromKey, batch.toKey, batch.part, batch.parts);
    h.diktatkuerzel = std::string(Trim(FieldText(s.dfvKennzeichen), kSpace));
    h.festschreibung = s.festschreibung != 0 ? 1 : 0;
    h.currency = options.currency;
    h.sachkontenrahmen = std::string(FieldText(s.sachkontenrahmen));
    return h;
}

constexpr std::size_t kMaxBuchungstext = 60;
constexpr std::size_t kMaxLangtext = 210;

// "(beleg)name,purpose" whole, at most kMaxLangtext bytes.
void BuildText(const BookingRecord& b, std::string_view beleg, std::string& text) {
    // Formed in place: the three fields and their signs fit in the room.
    constexpr std::size_t kRoom = sizeof b.beleg + sizeof b.name + sizeof b.purpose + 3;
    if (text.size() < kRoom) text.resize(kRoom);
    char* at = text.data();
    const auto put = [&at](std::string_view field) {
        std::memcpy(at, field.data(), field.size());
        at += field.size();
    };
    *at++ = '(';
    put(beleg);
    *at++ = ')';
    put(FieldText(b.name));
    *at++ = ',';
    put(FieldText(b.purpose));
    const auto length = static_cast<std::size_t>(at - text.data());
    text.resize(std::min(length, kMaxLangtext));
}

// The fields of one booking; `text` and `document` hold the bytes the line
// refers to.
csv::BookingLine LineOf(const BookingRecord& b, const csv::SelectedBooking& selected,
                        int32_t festschreibung, std::string& text, csv::DocumentBuffer& document) {
    const std::string_view beleg = FieldText(b.beleg);
    BuildText(b, beleg, text);
    std::string_view belegfeld1 = csv::DocumentNumber(beleg, document);
    if (belegfeld1.empty()) {
        // A booking number has at most 11 characters, kIntRoom fits in.
        const char* end = csv::PutInt(document, b.bookingNo);
        belegfeld1 = std::string_view(document, static_cast<std::size_t>(end - document));
    }
    const std::string_view whole(text);
    csv::BookingLine line;
    line.umsatzCents = selected.cents;
    line.wkz = FieldText(b.currency).starts_with('D') ? "DEM" : "EUR";
    line.konto = b.sollAccount;
    line.gegenkonto = b.habenAccount;
    line.buSchluessel = b.datevKey;
    line.belegdatum = selected.dateKey;
    line.belegfeld1 = belegfeld1;
    line.buchungstext = whole.substr(0, kMaxBuchungstext);
    line.buchungsnummer = b.bookingNo;
    if (whole.size() > kMaxBuchungstext) line.langtext = whole;
    line.festschreibung = festschreibung;
    return line;
}

struct PartFile {
    std::string path;
    FileWriter writer;
};

bool ReportWriteFailure(Notices& notices, const PartFile& part) {
    const std::string reason = ErrnoReason(part.writer.error(), ReasonForm::Phrase);
    notices.Plain(Format(m::kE315, part.path.c_str(), reason.c_str()));
    return false;
}

// Bookings per chunk of lines formed at once (on two threads): about 1 MB.
constexpr int64_t kChunkBookings = kProgressStride;

// Forms the lines of the batch's bookings [begin, end) at the start of
// `buffer`, growing it when a line needs more room; their byte count. Reads
// only, so it may run on a helper thread.
std::size_t FormLines(const BookingStore& store, const csv::CsvCheckResult& check,
                      const csv::CsvBatch& batch, int32_t festschreibung, int64_t begin,
                      int64_t end, std::string& buffer) {
    std::string text;
    csv::DocumentBuffer document;
    std::size_t used = 0;
    for (int64_t i = begin; i < end; ++i) {
        const csv::SelectedBooking& selected =
            check.selected[batch.items[static_cast<std::size_t>(i)]];
        const csv::BookingLine line =
            LineOf(store[selected.index], selected, festschreibung, text, document);
        const std::size_t room = csv::BookingLineRoom(line);
        if (buffer.size() - used < room) buffer.resize(std::max(2 * buffer.size(), used + room));
        used = static_cast<std::size_t>(csv::WriteBookingLine(buffer.data() + used, line) -
                                        buffer.data());
    }
    return used;
}

// Writes the header lines and the bookings of the batch; false after E:315
// (in `notices`) or, without a message, when `count` was cancelled.
bool WritePart(const BookingStore& store, const csv::CsvCheckResult& check,
               const csv::HeaderData& header, const csv::CsvBatch& batch, PartFile& part,
               Notices& notices, ProgressCount& count) {
    TracePoint = 3063;
    if (!part.writer.Open(part.path)) return ReportWriteFailure(notices, part);
    if (!part.writer.Write(csv::BuildHeaderLine(header) + csv::HeadingLine())) {
        return ReportWriteFailure(notices, part);
    }
    TracePoint = 3064;
    const auto form = [&](int64_t begin, int64_t end, std::string& buffer) {
        return FormLines(store, check, batch, header.festschreibung, begin, end, buffer);
    };
    const auto bookings = static_cast<int64_t>(batch.items.size());
    int64_t taken = 0;
    bool written = true;
    const auto take = [&](std::string_view lines) {
        const int64_t items = std::min(kChunkBookings, bookings - taken);
        taken += items;
        written = part.writer.Write(lines);
        return written && count.Add(items);
    };
    if (!FormInChunks(bookings, kChunkBookings, form, take)) {
        return written ? false : ReportWriteFailure(notices, part);
    }
    // The part goes to the disk while the next one is formed.
    part.writer.StartFinish();
    return true;
}

std::string BatchPath(const std::string& folder, const csv::CsvBatch& batch, int part) {
    return platform::JoinPath(folder, CsvFileName(batch.fromKey, batch.toKey, part));
}

// The parts of an earlier, larger export of `batch` that the new batch does
// not replace and that exist: from the part after its last one up to the
// first number that is missing.
std::vector<std::string> LaterParts(const std::string& folder, const csv::CsvBatch& batch) {
    std::vector<std::string> paths;
    for (int part = std::max(2, batch.parts + 1);; ++part) {
        std::string path = BatchPath(folder, batch, part);
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::symlink_status(platform::FsPath(path), ec)))
            break;
        paths.push_back(std::move(path));
    }
    return paths;
}

// The later parts go with the new batch.
void RemoveLaterParts(const std::string& folder, const csv::CsvBatch& batch, FileSet& set) {
    TracePoint = 3066;
    for (const std::string& path : LaterParts(folder, batch)) set.Remove(path);
}

// Puts the written batch in place as a whole; false after E:315.
bool CommitParts(const std::string& folder, const std::vector<csv::CsvBatch>& batches,
                 std::vector<std::unique_ptr<PartFile>>& files, Notices& notices) {
    FileSet set;
    for (auto& file : files) set.Replace(file->writer);
    for (const csv::CsvBatch& batch : batches) {
        if (batch.part == batch.parts) RemoveLaterParts(folder, batch, set);
    }
    const FileSetOutcome outcome = set.Commit();
    if (outcome.committed) return true;
    const std::string reason = ErrnoReason(outcome.error, ReasonForm::Phrase);
    const bool isPart = std::none_of(files.begin(), files.end(), [&](const auto& file) {
        return file->writer.target() == outcome.failedPath;
    });
    const char* path = outcome.failedPath.c_str();
    notices.Plain(!outcome.restored ? Format(m::kE315Mixed, path, reason.c_str())
                  : isPart          ? Format(m::kE315Remove, path, reason.c_str())
                                    : Format(m::kE315Replace, path, reason.c_str()));
    return false;
}

std::vector<csv::CsvBatch> BatchesOf(const csv::CsvCheckResult& check,
                                     const DatevSettings& settings, std::size_t maxPerFile) {
    std::vector<int32_t> keys;
    keys.reserve(check.selected.size());
    for (const csv::SelectedBooking& s : check.selected) keys.push_back(s.dateKey);
    return csv::PlanBatches(keys, check.fromKey, check.toKey, settings.wjBeginnTag,
                            settings.wjBeginnMonat, settings.batchPeriod,
                            std::max<std::size_t>(maxPerFile, 1));
}

// The plan's messages before those of its write; none after a cancel.
DatevCsvResult AfterPlanNotices(const CsvPlan& plan, DatevCsvResult written) {
    if (written.outcome == DatevCsvResult::Outcome::Cancelled) return written;
    Notices notices = plan.notices;
    notices.Append(written.notices);
    written.notices = std::move(notices);
    return written;
}

}  // namespace

CsvPlan PlanDatevCsv(const BookingStore& store, const DatevSettings& settings,
                     const std::string& dateFrom, const std::string& dateTo,
                     const std::string& folder, const CsvRunOptions& options) {
    CsvPlan plan;
    plan.settings = settings;
    plan.options = options;
    plan.folder = folder;
    plan.check = csv::CheckDatevCsv(store, settings, dateFrom, dateTo, options.chart);
    if (!plan.writable()) {
        plan.notices.Plain(csv::ErrorMessage(plan.check));
        return plan;
    }
    if (!plan.check.warnings.empty()) plan.notices.Plain(csv::WarningMessage(plan.check));
    plan.batches = BatchesOf(plan.check, settings, options.maxBookingsPerFile);
    return plan;
}

std::vector<std::string> CsvFilePaths(const CsvPlan& plan) {
    std::vector<std::string> paths;
    for (const csv::CsvBatch& batch : plan.batches) {
        paths.push_back(BatchPath(plan.folder, batch, batch.part));
        if (batch.part != batch.parts) continue;
        for (std::string& later : LaterParts(plan.folder, batch)) paths.push_back(std::move(later));
    }
    return paths;
}

DatevCsvResult WriteCsvPlan(const BookingStore& store, const CsvPlan& plan,
                            const Progress* progress) {
    const csv::CsvCheckResult& check = plan.check;
    DatevCsvResult result;
    result.zeroLeftOut = check.zeroLeftOut;
    if (!plan.writable()) return result;
    result.outcome = DatevCsvResult::Outcome::WriteFailed;
    std::vector<std::unique_ptr<PartFile>> files;
    ProgressCount count(progress, static_cast<int64_t>(check.selected.size()));
    for (const csv::CsvBatch& batch : plan.batches) {
        files.push_back(std::make_unique<PartFile>());
        files.back()->path = BatchPath(plan.folder, batch, batch.part);
        if (!WritePart(store, check, HeaderFor(plan.settings, batch, plan.options), batch,
                       *files.back(), result.notices, count)) {
            // The new files go with `files`; the old ones stay.
            if (count.cancelled()) {
                result.outcome = DatevCsvResult::Outcome::Cancelled;
                result.notices = Notices();
            }
            return result;
        }
    }
    TracePoint = 3065;
    for (auto& file : files) {
        if (!file->writer.Finish()) return ReportWriteFailure(result.notices, *file), result;
    }
    if (!CommitParts(plan.folder, plan.batches, files, result.notices)) return result;
    for (auto& file : files) result.files.push_back(file->path);
    result.outcome = DatevCsvResult::Outcome::Written;
    result.written = static_cast<int>(check.selected.size());
    return result;
}

DatevCsvResult RunCsvPlan(const BookingStore& store, const CsvPlan& plan,
                          const Progress* progress) {
    DatevCsvResult r = WriteCsvPlan(store, plan, progress);
    if (r.outcome == DatevCsvResult::Outcome::CheckFailed ||
        r.outcome == DatevCsvResult::Outcome::Cancelled) {
        return r;
    }
    if (r.outcome == DatevCsvResult::Outcome::WriteFailed) {
        r.notices.Plain(Format(msg::kE117, r.written));
        return r;
    }
    std::string text = Format(msg::kDatevExported, r.written);
    for (const std::string& file : r.files) text += Format(m::kFileLine, file.c_str());
    if (r.zeroLeftOut > 0) text += Format(m::kZeroLeftOut, r.zeroLeftOut);
    r.notices.Information(std::move(text));
    return r;
}

DatevCsvResult WriteDatevCsv(const BookingStore& store, const DatevSettings& settings,
                             const std::string& dateFrom, const std::string& dateTo,
                             const std::string& folder, const CsvRunOptions& options,
                             const Progress* progress) {
    const CsvPlan plan = PlanDatevCsv(store, settings, dateFrom, dateTo, folder, options);
    return AfterPlanNotices(plan, WriteCsvPlan(store, plan, progress));
}

DatevCsvResult RunCsvExport(const BookingStore& store, const DatevSettings& settings,
                            const DatevRange& range, const std::string& folder,
                            const CsvRunOptions& options, const Progress* progress) {
    const CsvPlan plan = PlanDatevCsv(store, settings, range.from, range.to, folder, options);
    return AfterPlanNotices(plan, RunCsvPlan(store, plan, progress));
}

}  // namespace belvaron
