#include <string>

#include "core/base/FileWriter.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/base/UiPort.h"
#include "core/bookings/BookingStore.h"
#include "core/datev/Datev.h"
#include "core/datev/DatevMessages.h"
#include "core/datev/KneRecords.h"

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

std::optional<int> CDatev::StreamDataFile(const std::function<bool(std::string_view)>& sink) {
    if (!dataSet) {
        ShowPlain(ui_, msg::kE303);
        return std::nullopt;
    }
    TracePoint = 3017;
    SetField(exportYear, DatePiece(FieldText(dateFrom), 8));
    if (DatePiece(FieldText(dateFrom), 8) != DatePiece(FieldText(dateTo), 8)) {
        ShowPlain(ui_, Format(msg::kE304, dateFrom, dateTo));
    }
    TracePoint = 3018;
    const bool extended = Extended();
    TracePoint = extended ? 3019 : 3031;
    BlockStream out(sink);
    out.Append(KneHeaderRecord(*this, extended));
    blockCount = 1;

    TracePoint = extended ? 3022 : 3032;
    const int32_t from = DateKey(dateFrom);
    const int32_t to = DateKey(dateTo);
    int count = 0;
    int64_t total = 0;
    for (int32_t i = 0; i < dataSet->bookingCount; ++i) {
        TracePoint = extended ? 3023 : 3033;
        const BookingRecord& booking = (*dataSet)[i];
        const int32_t date = DateKey(booking.date);
        if (date < from || date > to) continue;
        ++count;
        TracePoint = extended ? 3024 : 3034;
        const auto amount = DigitsToInt(FieldText(booking.amount));
        if (!amount) {
            ShowPlain(ui_, Format(msg::kE313Amount, std::string(FieldText(booking.amount)).c_str(),
                                  booking.bookingNo));
            return std::nullopt;
        }
        if (__builtin_add_overflow(total, *amount, &total)) {
            ShowPlain(ui_, msg::kE313Total);
            return std::nullopt;
        }
        TracePoint = extended ? 3025 : 3035;
        const std::string record =
            KneBookingRecord(booking, *amount, extended, settings.kontonummernlaenge);
        TracePoint = extended ? 3028 : 3037;
        if (out.fill() + record.size() >= kKneBookingLimit) out.NewBlock();
        out.Append(record);
        if (!out.ok()) return std::nullopt;
    }

    TracePoint = extended ? 3029 : 3038;
    const std::string totalRecord = KneTotalRecord(total);
    if (out.fill() + totalRecord.size() >= kKneBlockSize) out.NewBlock();
    out.Append(totalRecord);
    TracePoint = extended ? 3030 : 3039;
    out.EndBlock();
    blockCount = out.blocks();
    if (!out.Flush()) return std::nullopt;
    return count;
}

int CDatev::WriteDataFile(const std::string& folder) {
    TracePoint = 3016;
    pendingDataFile_.reset();
    pendingDataPath_ = folder + (Extended() ? "/ED00001" : "/DE001");
    auto file = std::make_unique<FileWriter>();
    if (!file->Open(pendingDataPath_)) {
        ShowPlain(ui_, Format(msg::kE302, pendingDataPath_.c_str()));
        return 0;
    }
    const auto count =
        StreamDataFile([&file](std::string_view bytes) { return file->Write(bytes); });
    if (!count) {
        // A refused export has shown its reason; a failed write has not yet.
        if (file->error() != 0) ShowPlain(ui_, Format(msg::kE302Write, pendingDataPath_.c_str()));
        return 0;
    }
    const int32_t maxBlocks = Extended() ? kKneMaxBlocksExtended : kKneMaxBlocksOld;
    if (blockCount > maxBlocks) {
        ShowPlain(ui_, Format(msg::kE313Size, blockCount, maxBlocks));
        return 0;
    }
    if (!file->Finish()) {
        ShowPlain(ui_, Format(msg::kE302Write, pendingDataPath_.c_str()));
        return 0;
    }
    pendingDataFile_ = std::move(file);
    return *count;
}

bool CDatev::WriteHeaderFile(const std::string& folder) {
    TracePoint = 3040;
    const std::string path = folder + (Extended() ? "/EV01" : "/DV01");
    // Taken over here: abandoned (the old data file kept) on every failure.
    const std::unique_ptr<FileWriter> data = std::move(pendingDataFile_);
    FileWriter file;
    if (!file.Open(path)) {
        ShowPlain(ui_, Format(msg::kE305, path.c_str()));
        return false;
    }
    TracePoint = 3041;
    const std::string bytes = KneHeaderFile(*this, Extended());
    if (!data) return false;  // the data file of this run failed and was reported
    if (!file.Write(bytes) || !file.Finish()) {
        ShowPlain(ui_, Format(msg::kE305Write, path.c_str()));
        return false;
    }
    TracePoint = 3047;
    if (!data->Commit()) {
        ShowPlain(ui_, Format(msg::kE302Write, pendingDataPath_.c_str()));
        return false;
    }
    if (!file.Commit()) {
        ShowPlain(ui_, Format(msg::kE305Write, path.c_str()));
        return false;
    }
    return true;
}

}  // namespace belvaron
