#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "core/base/Notices.h"
#include "core/base/Progress.h"
#include "core/base/ReservedMemory.h"
#include "core/base/Text.h"

namespace belvaron {

class BookingStore;

// The currency written into every booking of a journal load.
enum class Currency { Euro, DM };

// The work area in which the journal import collects the lines of one
// journal booking: 500 rows x 60 columns of 255-byte cells, allocated once.
// A grid whose reservation failed is !ok(); its owner shows E:211.
// Each cell holds its text with a terminator; Text() is that text, with the
// length the import recorded when it filled the cell. A line that the
// import can take as it stands in the reader's buffer reaches the grid only
// when a later line of its booking needs the next chunk of the file, and
// then only in the import's columns.
class ImportGrid {
public:
    static constexpr int kRows = 500;
    static constexpr int kColumns = 60;
    static constexpr int kCellSize = int{kMaxFieldChars} + 1;  // and a terminator

    ImportGrid() : memory_(std::size_t{kRows} * kColumns * kCellSize) {}
    bool ok() const { return memory_.ok(); }
    char* Cell(int row, int column) const {
        return static_cast<char*>(memory_.data()) +
               (static_cast<std::size_t>(row) * kColumns + column) * kCellSize;
    }
    // Stores `text` (at most kCellSize - 1 bytes, no zero byte) in a cell.
    void Fill(int row, int column, std::string_view text) {
        char* cell = Cell(row, column);
        if (!text.empty()) std::memcpy(cell, text.data(), text.size());
        cell[text.size()] = '\0';
        SetLength(row, column, text.size());
    }
    // Records the length of a text the caller wrote into the cell.
    void SetLength(int row, int column, std::size_t length) {
        lengths_[static_cast<std::size_t>(row) * kColumns + column] =
            static_cast<unsigned char>(length);
    }
    std::string_view Text(int row, int column) const {
        return {Cell(row, column), lengths_[static_cast<std::size_t>(row) * kColumns + column]};
    }

private:
    ReservedMemory memory_;
    std::array<unsigned char, std::size_t{kRows} * kColumns> lengths_{};
};

// How a journal load ended; the counts are those of a load that succeeded.
struct JournalOutcome {
    bool loaded = false;       // read to its end, at least one booking stored
    bool cancelled = false;    // stopped through the progress
    int bookingCount = 0;      // bookings stored
    int zeroAccountCount = 0;  // SOLL and HABEN accounts 0 among them
    // In the order met: the conversion notice of a UTF-8 or UTF-16 file,
    // then the error that stopped the load (E:202 ... E:218). A load that
    // succeeded has no error: its summary is JournalSummary.
    Notices notices;
};

// Empties the store and reads the QuickBooks journal at `path` into it,
// collecting each journal booking in `grid`. Sets store.journalLoaded to
// `loaded`. The bookings stand in the order SortByDate gives them: by date
// key, bookings of one date in the order of the file (so the sort after a
// load finds them in place), except that in a journal of more than
// JournalStaging::kMaxKeys distinct dates the bookings of the dates met
// after that many come last, in the order of the file, for that sort.
// `progress` ticks in bytes of the file; a cancelled load has no error (only
// a conversion notice met before the cancel) and leaves the store empty,
// with no journal loaded.
JournalOutcome LoadJournal(BookingStore& store, ImportGrid& grid, const std::string& path,
                           Currency currency, const Progress* progress = nullptr);

// The message of a successful load: the count with the success icon, or
// E:217 when accounts 0 were read.
Notices JournalSummary(const JournalOutcome& outcome);

}  // namespace belvaron
