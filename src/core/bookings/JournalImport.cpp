#include "core/bookings/JournalImport.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/LeadingInt.h"
#include "core/base/Text.h"
#include "core/base/TracePoint.h"
#include "core/bookings/BookingMessages.h"
#include "core/bookings/BookingStore.h"
#include "core/bookings/Dates.h"
#include "core/bookings/JournalColumns.h"
#include "core/bookings/JournalReader.h"
#include "core/bookings/JournalStaging.h"
#include "core/platform/Files.h"

namespace belvaron {

namespace {

// A header line of at most kMaxFieldChars bytes has at most this many cells.
constexpr int kMaxHeaderCells = int{kMaxFieldChars} + 1;

bool IsSplitMarked(std::string_view cell) { return cell.find("-SPLITTEN-") != cell.npos; }

// One run of LoadJournal: the file, the layout and the counters.
class JournalImport {
public:
    JournalImport(BookingStore& store, ImportGrid& grid, const std::string& path, Currency currency,
                  const Progress* progress)
        : store_(store),
          grid_(grid),
          progress_(progress),
          path_(path),
          currency_(currency == Currency::Euro ? "EUR" : "DM") {}

    // The outcome with the notices met on the way. The bookings read before
    // an early stop stay in the store, unless the journal did not fit.
    JournalOutcome Run() {
        JournalOutcome outcome = Read();
        if (keepStaged_) staging_.MoveInto(currency_);
        outcome.notices = std::move(notices_);
        return outcome;
    }

private:
    JournalOutcome Read();
    bool ReadHeader();
    // Reads one data row into grid row `row`.
    void ReadRow(int row);
    // Converts rows 0 .. rowCount_-1 of the grid; false after a message.
    bool ConvertBooking();
    bool StoreBooking(int r, int32_t soll, int32_t haben, int32_t vat, std::string_view amount);
    bool NoRoom(std::string message);
    // The booking's date as the store keeps it (dateText_) and its key.
    void TakeDate(std::string_view cell);
    // Points the import's cells of grid row `row` at the grid.
    void UseGridRow(int row);
    // Copies the cells of rows 0 .. rowCount-1 that still point into the
    // reader's buffer into the grid, before a read that may refill it.
    void KeepRows(int rowCount);
    JournalOutcome Finish();
    JournalOutcome Cancelled();
    std::string_view Text(int row, JournalColumn c) const {
        return rows_[row].cells[layout_.column[c]];
    }
    // A text column that may be missing: "" when not found or column 0.
    std::string_view OptionalText(int row, JournalColumn c) const {
        return layout_[c] > 0 ? Text(row, c) : std::string_view();
    }

    BookingStore& store_;
    JournalStaging staging_{store_};  // the bookings until the load ends
    bool keepStaged_ = true;
    ImportGrid& grid_;
    Notices notices_;
    const Progress* progress_;
    int64_t fileSize_ = 0;
    const std::string& path_;
    const char* currency_;
    JournalReader in_;
    JournalLayout layout_{};
    char scratch_[ImportGrid::kCellSize];         // cells beyond the grid's columns
    std::string_view rowCells_[kMaxHeaderCells];  // a row of more cells than the grid's
    // The cells of each row of the booking, by grid column (those of the
    // import's columns are kept up to date): views into the reader's buffer
    // for a row taken whole from it (inBuffer; valid until the reader's next
    // chunk, see KeepRows), else into the grid.
    struct RowCells {
        std::array<std::string_view, ImportGrid::kColumns> cells;
        bool inBuffer = false;
    };
    std::vector<RowCells> rows_;              // grows with the longest booking
    char date_[sizeof(BookingRecord::date)];  // a date normalised
    std::string_view dateText_;               // the booking's date as stored
    int32_t dateKey_ = 0;                     // its sort key
    bool nextRowFromSecondCell_ = false;
    bool storing_ = false;
    int rowCount_ = 0;
    int32_t bookingNo_ = 0;
    int ticks_ = 0;
    int zeroCount_ = 0;
};

JournalOutcome JournalImport::Read() {
    store_.journalLoaded = false;
    store_.bookingCount = 0;

    // Without its work area (reported when the store was built) the import
    // cannot run at all.
    if (!grid_.ok()) {
        notices_.Plain(msg::kE212);
        return {};
    }
    TracePoint = 2008;
    if (!in_.Open(path_)) {
        notices_.Plain(Format(msg::kE202, path_.c_str()));
        return {};
    }
    AddConversionNotice(notices_, path_, in_.input().conversion());
    if (!ReadHeader()) return {};
    if (progress_) {
        std::error_code error;
        fileSize_ =
            static_cast<int64_t>(std::filesystem::file_size(platform::FsPath(path_), error));
        if (error) fileSize_ = 0;
    }

    TracePoint = 2014;
    const std::string missing = MissingJournalColumns(layout_);
    if (!missing.empty()) {
        notices_.Plain(Format(msg::kE203, missing.c_str()));
        return {};
    }

    TracePoint = 2015;
    try {
        rowCount_ = 0;
        for (;;) {
            if (in_.AtEnd()) break;
            TracePoint = 2016;
            if (rowCount_ >= ImportGrid::kRows) {
                notices_.Plain(msg::kE204);
                return {};
            }
            ReadRow(rowCount_);
            if (in_.Failed() || in_.SawZeroByte()) {
                notices_.Plain(Format(msg::kE215, TracePoint, rowCount_, bookingNo_));
                return {};
            }
            TracePoint = 2019;
            if (!Text(rowCount_, kColAccount).empty() || !Text(rowCount_, kColSplit).empty()) {
                ++rowCount_;
                continue;
            }
            if (!ConvertBooking()) return {};
            rowCount_ = 0;
            if (++ticks_ % 1024 == 0 && !GoOn(progress_, in_.BytesRead(), fileSize_)) {
                return Cancelled();
            }
        }
        // A file that ends directly after an account line (no line break, no
        // total line) still has the lines of its last journal booking
        // collected: they are converted like a booking that ended normally.
        if (rowCount_ > 0 && !ConvertBooking()) return {};
    } catch (...) {
        notices_.Plain(
            Format(storing_ ? msg::kE216 : msg::kE215, TracePoint, rowCount_, bookingNo_));
        return {};
    }
    return Finish();
}

// The header is the first line, at most 254 characters. An empty file, a read
// error and a zero byte (the file is no text file, e.g. binary or UTF-16)
// all count as a header that cannot be read. A longer header line keeps its
// first 254 characters; its rest becomes the first data row, from that row's
// second cell on.
bool JournalImport::ReadHeader() {
    TracePoint = 2009;
    char header[ImportGrid::kCellSize];
    const std::size_t n = in_.ReadUntil('\n', header, kMaxFieldChars);
    const bool lineBreak = in_.SkipIf('\n');
    if (in_.Failed() || in_.SawZeroByte() || (n == 0 && !lineBreak && in_.AtEnd())) {
        notices_.Plain(Format(msg::kE213, path_.c_str()));
        return false;
    }
    nextRowFromSecondCell_ = !lineBreak && !in_.AtEnd();
    layout_ = FindJournalColumns(std::string_view(header, n), ImportGrid::kColumns);
    return true;
}

// Cells 0 .. numCols-2 end at a TAB only: a line break inside them is taken
// into the cell. Each keeps at most 254 characters; the one character after
// them is skipped (normally the TAB, else dropped) and the rest is read as the
// following cell. The last cell ends at the line break, which is consumed; a
// longer last cell keeps 254 characters and the rest of its line becomes the
// next row, from that row's second cell on (its first cell stays empty).
// Cells beyond the grid's columns are read and dropped.
// A row whose cells all lie in the reader's buffer is taken from there as it
// stands: only the cells of the import's columns are kept, as views, and
// they reach the grid only when a later row of the booking needs the next
// chunk of the file.
void JournalImport::ReadRow(int row) {
    const int numCols = layout_.numCols;
    if (rows_.size() <= static_cast<std::size_t>(row)) rows_.resize(row + std::size_t{1});
    RowCells& taken = rows_[row];
    const bool fits = numCols <= ImportGrid::kColumns;
    if (!nextRowFromSecondCell_ &&
        in_.TakeRow(numCols, kMaxFieldChars, fits ? taken.cells.data() : rowCells_)) {
        TracePoint = 2018;
        if (!fits) std::copy_n(rowCells_, ImportGrid::kColumns, taken.cells.data());
        taken.inBuffer = true;
        return;
    }
    KeepRows(row);
    auto read = [&](int c, char stop) {
        if (c >= ImportGrid::kColumns) {
            in_.ReadUntil(stop, scratch_, kMaxFieldChars);
            return;
        }
        grid_.SetLength(row, c, in_.ReadUntil(stop, grid_.Cell(row, c), kMaxFieldChars));
    };
    int first = 0;
    if (nextRowFromSecondCell_ && numCols > 1) {
        grid_.Fill(row, 0, {});
        first = 1;
    }
    nextRowFromSecondCell_ = false;
    for (int c = first; c < numCols - 1; ++c) {
        TracePoint = 2017;
        read(c, '\t');
        in_.Skip();
    }
    TracePoint = 2018;
    read(numCols - 1, '\n');
    nextRowFromSecondCell_ = !in_.SkipIf('\n') && !in_.AtEnd();
    UseGridRow(row);
}

void JournalImport::UseGridRow(int row) {
    RowCells& cells = rows_[row];
    for (const int column : layout_.column) {
        if (column >= 0) cells.cells[column] = grid_.Text(row, column);
    }
    cells.inBuffer = false;
}

void JournalImport::KeepRows(int rowCount) {
    for (int r = 0; r < rowCount; ++r) {
        if (!rows_[r].inBuffer) continue;
        for (const int column : layout_.column) {
            if (column >= 0) grid_.Fill(r, column, rows_[r].cells[column]);
        }
        UseGridRow(r);
    }
}

bool JournalImport::ConvertBooking() {
    TracePoint = 2020;
    bookingNo_ = LeadingInt(Text(0, kColBookingNo));
    if (bookingNo_ < 1) return true;
    TakeDate(Text(0, kColDate));
    const bool splitInRow0 = IsSplitMarked(Text(0, kColSplit));
    const bool accountSplitInRow0 = IsSplitMarked(Text(0, kColAccount));
    for (int j = 1; j < rowCount_; ++j) {
        TracePoint = 2021;
        int r = j;
        if (IsSplitMarked(Text(j, kColSplit)) && !splitInRow0) {
            r = 0;
        } else if (IsSplitMarked(Text(j, kColAccount)) && !accountSplitInRow0) {
            r = 0;
        }
        const int32_t account = LeadingInt(Text(r, kColAccount));
        const int32_t split = LeadingInt(Text(r, kColSplit));
        const bool debit = !Text(r, kColDebit).empty();
        const int32_t soll = debit ? account : split;
        const int32_t haben = debit ? split : account;
        const std::string_view amount = debit ? Text(r, kColDebit) : Text(r, kColCredit);
        const int32_t vat = LeadingInt(Text(r, kColVatRate));
        TracePoint = 2023;
        if (amount.empty() || amount.starts_with("0,00")) continue;
        if (soll == 0) ++zeroCount_;
        if (haben == 0) ++zeroCount_;
        if (!StoreBooking(r, soll, haben, vat, amount)) return false;
    }
    return true;
}

// A cell of the form DD.MM.YYYY (no zero byte reaches the conversion) is
// what NormalizeDate leaves as it is: the stored date is the cell, and its
// key that of the cell (DateKey reads the same characters of both).
void JournalImport::TakeDate(std::string_view cell) {
    if (cell.size() == 10 && cell[2] == '.' && cell[5] == '.') {
        dateText_ = cell;
        dateKey_ = DateKey(cell);
        return;
    }
    SetField(date_, cell);
    NormalizeDate(date_);
    dateText_ = FieldText(date_);
    dateKey_ = DateKey(date_);
}

bool JournalImport::StoreBooking(int r, int32_t soll, int32_t haben, int32_t vat,
                                 std::string_view amount) {
    storing_ = true;
    TracePoint = 2024;
    if (!store_.ok()) return NoRoom(msg::kE205);
    if (staging_.count() >= store_.bookings.capacity()) {
        // No part of a journal that does not fit stays in the store.
        keepStaged_ = false;
        return NoRoom(
            Format(msg::kE205Capacity, GroupedThousands(store_.bookings.capacity()).c_str()));
    }
    TracePoint = 2025;
    StagedBooking b;
    b.bookingNo = bookingNo_;
    b.date = dateText_;
    b.beleg = OptionalText(0, kColBeleg);
    b.name = OptionalText(0, kColName);
    b.purpose = OptionalText(r, kColPurpose);
    TracePoint = 2026;
    b.soll = soll;
    b.haben = haben;
    b.vat = vat;
    b.amount = amount;
    if (!staging_.Add(dateKey_, b)) return NoRoom(msg::kE205);
    storing_ = false;
    return true;
}

bool JournalImport::NoRoom(std::string message) {
    notices_.Plain(std::move(message));
    return false;
}

// A journal read to its end that gave no booking at all is reported as such
// (E:218) and does not count as loaded: "0 Buchungen wurden geladen." with
// the success icon would hide that the file was not what was meant.
JournalOutcome JournalImport::Finish() {
    TracePoint = 2027;
    in_.Close();
    JournalOutcome outcome;
    outcome.bookingCount = static_cast<int>(staging_.count());
    outcome.zeroAccountCount = zeroCount_;
    if (outcome.bookingCount == 0) {
        notices_.Plain(Format(msg::kE218, path_.c_str()));
        return outcome;
    }
    TracePoint = 2028;
    store_.journalLoaded = true;
    outcome.loaded = true;
    return outcome;
}

JournalOutcome JournalImport::Cancelled() {
    in_.Close();
    keepStaged_ = false;
    store_.bookingCount = 0;
    JournalOutcome outcome;
    outcome.cancelled = true;
    return outcome;
}

}  // namespace

// The bookings read before an early stop stay in the store (in date order).
JournalOutcome LoadJournal(BookingStore& store, ImportGrid& grid, const std::string& path,
                           Currency currency, const Progress* progress) {
    JournalImport run(store, grid, path, currency, progress);
    return run.Run();
}

Notices JournalSummary(const JournalOutcome& outcome) {
    Notices summary;
    if (outcome.zeroAccountCount == 0) {
        summary.Information(Format(msg::kJournalLoaded, outcome.bookingCount));
    } else {
        summary.Plain(Format(msg::kE217, outcome.zeroAccountCount, outcome.bookingCount));
    }
    return summary;
}

}  // namespace belvaron
