#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Notices.h"
#include "core/base/Progress.h"
#include "core/bookings/BookingRecord.h"

namespace belvaron {

class BookingStore;

// One line of the REPLACE list.
struct ReplaceEntry {
    int32_t qbAccount = 0;     // compared with the booking's SOLL and HABEN account
    int32_t vatRate = 0;       // 0 matches every rate
    int32_t sollAccount = 0;   // replacement on the SOLL side; 0 is an error where used
    int32_t habenAccount = 0;  // replacement on the HABEN side; 0 is an error where used
    int32_t datevKey = 0;
    int32_t preconditionAccount = 0;  // 0: none; else SOLL or HABEN must equal it

    bool operator==(const ReplaceEntry&) const = default;
};

inline constexpr std::size_t kMaxReplaceEntries = 1000;

// The entries read from a REPLACE text.
struct ReplaceListText {
    std::vector<ReplaceEntry> entries;  // at most kMaxReplaceEntries
    bool tooMany = false;               // a further entry followed the last one kept
    bool readError = false;             // the file could not be read to its end
};

// Reads REPLACE text: six fields per entry, fields one to five ending at a
// comma (consumed), field six at a line feed (left for the next entry); each
// field's value is its leading integer. A field of any length ends only at
// its terminator, so an over-long comment never runs into the next entry.
// Nothing but white space after an entry ends the reading.
ReplaceListText ReadReplaceList(std::string_view bytes);
ReplaceListText ReadReplaceList(std::FILE* file);

// How applying the entries ended.
struct ReplaceOutcome {
    enum class Stop { None, SollZero, HabenZero };
    Stop stop = Stop::None;
    int32_t qbAccount = 0;  // of the entry that stopped the run
    int sollCount = 0;
    int habenCount = 0;
    bool cancelled = false;  // through the progress: every booking as before, counts 0
};

// Applies the entries in file order to every booking in place. Each booking
// only meets the entries whose qbAccount equals its current SOLL or HABEN
// account, found through an index, in file order. A stop leaves every
// replacement made before it in place. `progress` ticks in bookings; a
// cancel puts every booking back as it was before the call.
ReplaceOutcome ApplyReplaceEntries(std::span<BookingRecord> bookings,
                                   std::span<const ReplaceEntry> entries,
                                   const Progress* progress = nullptr);

struct ReplaceListOutcome {
    bool complete = false;   // every entry applied to every booking
    bool cancelled = false;  // through the progress: every booking as before
    int sollCount = 0;       // replacements on the SOLL side
    int habenCount = 0;      // and on the HABEN side
    // In the order met: the conversion notice of a UTF-8 or UTF-16 list,
    // then the error that stopped the run (E:206, E:207, E:208, E:233).
    Notices notices;
};

// The largest REPLACE list read.
inline constexpr std::size_t kMaxReplaceListBytes = std::size_t{16} << 20;

// Reads the REPLACE list at `path` and applies it to the store's bookings.
// A file that is not a regular file or is larger than kMaxReplaceListBytes
// is refused with E:206; UTF-16 and UTF-8 text is read as Windows-1252. A
// complete run has no error: the caller reports the counts. A run cancelled
// through `progress` has no error (only a conversion notice met before the
// cancel) and leaves the bookings as they were.
ReplaceListOutcome ApplyReplaceList(BookingStore& store, const std::string& path,
                                    const Progress* progress = nullptr);

}  // namespace belvaron
