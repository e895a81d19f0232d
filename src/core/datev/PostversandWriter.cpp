#include "core/datev/PostversandWriter.h"

#include <algorithm>
#include <string>

#include "core/base/FileSet.h"
#include "core/base/FileWriter.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/bookings/BookingStore.h"
#include "core/datev/DatevMessages.h"
#include "core/datev/KneRecords.h"
#include "core/platform/Files.h"

namespace belvaron {

namespace {

// Collects records into 256-byte blocks and hands whole blocks to the sink
// in chunks, so that memory stays small for any number of bookings.
class BlockStream {
public:
    explicit BlockStream(const std::function<bool(std::string_view)>& sink) : sink_(sink) {}

    std::size_t fill() const { return fill_; }
    int32_t blocks() const { return blocks_; }
    bool ok() const { return ok_; }

    void Append(std::string_view record) {
        buffer_ += record;
        fill_ += record.size();
    }
    // Zero bytes to the end of the block; a following record starts a new one.
    void NewBlock() {
        EndBlock();
        ++blocks_;
    }
    void EndBlock() {
        buffer_.append(kKneBlockSize - fill_ % kKneBlockSize, '\0');
        fill_ = 0;
        if (buffer_.size() >= kChunk) Flush();
    }
    bool Flush() {
        if (ok_ && !buffer_.empty()) ok_ = sink_(buffer_);
        buffer_.clear();
        return ok_;
    }

private:
    static constexpr std::size_t kChunk = 1 << 16;
    const std::function<bool(std::string_view)>& sink_;
    std::string buffer_;
    std::size_t fill_ = 0;
    int32_t blocks_ = 1;
    bool ok_ = true;
};

}  // namespace

PostversandDataFile::PostversandDataFile() = default;
PostversandDataFile::PostversandDataFile(PostversandDataFile&&) noexcept = default;
PostversandDataFile& PostversandDataFile::operator=(PostversandDataFile&&) noexcept = default;
PostversandDataFile::~PostversandDataFile() = default;

std::optional<int64_t> DigitsToInt(std::string_view amount) {
    TracePoint = 3013;
    constexpr std::size_t kMaxCharacters = 30;
    constexpr int kMaxDigits = 18;  // below 10^18, far inside the 64-bit range
    const std::string_view text = amount.substr(0, std::min(amount.size(), kMaxCharacters));
    const std::string_view head = text.substr(0, text.find('\0'));
    const std::size_t first = head.find_first_not_of(" \t");
    const bool negative = first != std::string_view::npos && head[first] == '-';
    int64_t value = 0;
    int digits = 0;
    for (const char c : head) {
        if (c < '0' || c > '9') continue;
        if (++digits > kMaxDigits) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

namespace {

// The messages of one pass over the data file. The first pass (without a
// file) finds the refusals, among them an amount the ten-digit amount field
// cannot hold, and meets no E:304 warning; the pass that writes adds it.
struct PassMessages {
    bool firstPass = false;
    Notices notices;
    // Ticks of the whole export: `done` counts on from pass to pass.
    const Progress* progress = nullptr;
    int64_t done = 0;
    int64_t total = 0;
    bool cancelled = false;
};

bool SpansTwoYears(const DatevRange& range) {
    return DatePiece(range.from, 8) != DatePiece(range.to, 8);
}

void AddYearWarning(const DatevRange& range, Notices& notices) {
    if (SpansTwoYears(range)) {
        notices.Plain(Format(msg::kE304, range.from.c_str(), range.to.c_str()));
    }
}

// One pass over the bookings in `range`, building the data file into `sink`;
// nullopt after a refusal or when `sink` failed.
std::optional<StreamedDataFile> StreamPass(const BookingStore& store, const DatevSettings& settings,
                                           const DatevRange& range,
                                           const std::function<bool(std::string_view)>& sink,
                                           PassMessages& messages) {
    TracePoint = 3017;
    StreamedDataFile result;
    result.exportYear = DatePiece(range.from, 8);
    if (!messages.firstPass) AddYearWarning(range, messages.notices);
    TracePoint = 3018;
    const bool extended = ExtendedFormat(settings);
    TracePoint = extended ? 3019 : 3031;
    BlockStream out(sink);
    out.Append(KneHeaderRecord(settings, range, result.exportYear, extended));

    TracePoint = extended ? 3022 : 3032;
    const int32_t from = DateKey(range.from);
    const int32_t to = DateKey(range.to);
    int64_t total = 0;
    for (int32_t i = 0; i < store.bookingCount; ++i) {
        TracePoint = extended ? 3023 : 3033;
        const BookingRecord& booking = store[i];
        const int32_t date = DateKey(booking.date);
        if (date < from || date > to) continue;
        ++result.count;
        TracePoint = extended ? 3024 : 3034;
        const auto amount = DigitsToInt(FieldText(booking.amount));
        if (!amount) {
            messages.notices.Plain(Format(msg::kE316Amount,
                                          std::string(FieldText(booking.amount)).c_str(),
                                          booking.bookingNo));
            return std::nullopt;
        }
        if (messages.firstPass && (*amount > kKneMaxAmountCents || *amount < -kKneMaxAmountCents)) {
            messages.notices.Plain(Format(msg::kE316AmountField,
                                          std::string(FieldText(booking.amount)).c_str(),
                                          booking.bookingNo));
            return std::nullopt;
        }
        if (__builtin_add_overflow(total, *amount, &total)) {
            messages.notices.Plain(msg::kE316Total);
            return std::nullopt;
        }
        TracePoint = extended ? 3025 : 3035;
        const std::string record =
            KneBookingRecord(booking, *amount, extended, settings.kontonummernlaenge);
        TracePoint = extended ? 3028 : 3037;
        if (out.fill() + record.size() >= kKneBookingLimit) out.NewBlock();
        out.Append(record);
        if (!out.ok()) return std::nullopt;
        if (++messages.done % kProgressStride == 0 &&
            !GoOn(messages.progress, messages.done, messages.total)) {
            messages.cancelled = true;
            return std::nullopt;
        }
    }

    TracePoint = extended ? 3029 : 3038;
    const std::string totalRecord = KneTotalRecord(total);
    if (out.fill() + totalRecord.size() >= kKneBlockSize) out.NewBlock();
    out.Append(totalRecord);
    TracePoint = extended ? 3030 : 3039;
    out.EndBlock();
    result.blockCount = out.blocks();
    if (!out.Flush()) return std::nullopt;
    return result;
}

}  // namespace

StreamedDataFile StreamPostversandDataFile(const BookingStore& store, const DatevSettings& settings,
                                           const DatevRange& range,
                                           const std::function<bool(std::string_view)>& sink) {
    PassMessages messages;
    std::optional<StreamedDataFile> streamed = StreamPass(store, settings, range, sink, messages);
    StreamedDataFile result = streamed ? std::move(*streamed) : StreamedDataFile{};
    result.usable = streamed.has_value();
    result.notices = std::move(messages.notices);
    return result;
}

std::vector<std::string> PostversandFilePaths(const DatevSettings& settings,
                                              const std::string& folder) {
    const bool extended = ExtendedFormat(settings);
    return {platform::JoinPath(folder, extended ? "ED00001" : "DE001"),
            platform::JoinPath(folder, extended ? "EV01" : "DV01")};
}

// A first pass without a file finds every reason to refuse the batch (an
// amount, the total, the block count), so a refused batch writes nothing;
// only then is the file opened and the batch built again into it.
PostversandDataFile WritePostversandDataFile(const BookingStore& store,
                                             const DatevSettings& settings, const DatevRange& range,
                                             const std::string& folder, const Progress* progress) {
    TracePoint = 3016;
    const bool extended = ExtendedFormat(settings);
    PostversandDataFile result;
    result.path = PostversandFilePaths(settings, folder)[0];

    const int64_t total = 2 * int64_t{std::max(store.bookingCount, 0)};
    PassMessages quiet{true, {}, progress, 0, total, false};
    const auto planned = StreamPass(
        store, settings, range, [](std::string_view) { return true; }, quiet);
    if (quiet.cancelled) {
        result.cancelled = true;
        return result;
    }
    const int32_t maxBlocks = extended ? kKneMaxBlocksExtended : kKneMaxBlocksOld;
    if (!planned || planned->blockCount > maxBlocks) {
        AddYearWarning(range, result.notices);
        if (planned) {
            result.blockCount = planned->blockCount;
            result.notices.Plain(Format(msg::kE316Size, planned->blockCount, maxBlocks));
        } else {
            result.notices.Append(quiet.notices);
        }
        return result;
    }

    auto file = std::make_unique<FileWriter>();
    if (!file->Open(result.path)) {
        result.notices.Plain(Format(msg::kE302, result.path.c_str()));
        return result;
    }
    // The refusals of this pass were found by the first one; E:304 comes here.
    PassMessages written{false, {}, progress, store.bookingCount, total, false};
    const auto streamed = StreamPass(
        store, settings, range, [&file](std::string_view bytes) { return file->Write(bytes); },
        written);
    if (written.cancelled) {
        result.cancelled = true;
        return result;  // the new file is abandoned
    }
    result.notices.Append(written.notices);
    if (!streamed || !file->Finish()) {
        result.notices.Plain(Format(msg::kE302Write, result.path.c_str()));
        return result;
    }
    result.exportYear = streamed->exportYear;
    result.blockCount = streamed->blockCount;
    result.count = streamed->count;
    result.file = std::move(file);
    return result;
}

PostversandBatch WritePostversandHeaderFile(PostversandDataFile dataFile,
                                            const DatevSettings& settings, const DatevRange& range,
                                            const std::string& folder) {
    TracePoint = 3040;
    const bool extended = ExtendedFormat(settings);
    const std::string path = PostversandFilePaths(settings, folder)[1];
    // Owned here: abandoned (the old data file kept) on every failure.
    const std::unique_ptr<FileWriter> data = std::move(dataFile.file);
    PostversandBatch batch;
    FileWriter file;
    if (!file.Open(path)) {
        batch.notices.Plain(Format(msg::kE305, path.c_str()));
        return batch;
    }
    TracePoint = 3041;
    if (!data) return batch;  // the data file stage failed and said so
    const std::string bytes =
        KneHeaderFile(settings, range, dataFile.exportYear, dataFile.blockCount, extended);
    if (!file.Write(bytes) || !file.Finish()) {
        batch.notices.Plain(Format(msg::kE305Write, path.c_str()));
        return batch;
    }
    TracePoint = 3047;
    FileSet files;
    files.Replace(*data);
    files.Replace(file);
    const FileSetOutcome outcome = files.Commit();
    if (outcome.committed) {
        batch.written = true;
    } else if (!outcome.restored) {
        batch.notices.Plain(Format(msg::kE302Mixed, folder.c_str()));
    } else if (outcome.failedPath == data->target()) {
        batch.notices.Plain(Format(msg::kE302Write, dataFile.path.c_str()));
    } else {
        batch.notices.Plain(Format(msg::kE305Write, path.c_str()));
    }
    return batch;
}

}  // namespace belvaron
