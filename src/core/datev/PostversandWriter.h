#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Notices.h"
#include "core/base/Progress.h"
#include "core/datev/DatevRange.h"
#include "core/datev/DatevSettings.h"

namespace belvaron {

class BookingStore;
class FileWriter;

// The "Postversand" batch: the data file "ED00001" (extended) or "DE001"
// (old) and the header file "EV01" or "DV01" that describes it. The two are
// written in two stages, data file first; a batch in the folder is only ever
// replaced by a complete new batch. Each stage shows nothing: it returns its
// messages (Notices) for the caller to show, in the order they arose.

// What the data file stage leaves for the header file stage.
struct PostversandDataFile {
    int count = 0;           // bookings written; 0 when none lay in the range or the stage failed
    std::string exportYear;  // YY of the range start
    int32_t blockCount = 1;  // 256-byte blocks of the data file
    bool cancelled = false;  // stopped through the progress; no messages, no file
    std::string path;        // where the data file goes
    std::unique_ptr<FileWriter> file;  // complete but not yet in place; null when the stage failed
    // E:304 (a warning: the range spans two years), E:302, E:316, in order;
    // none when cancelled.
    Notices notices;

    PostversandDataFile();
    PostversandDataFile(PostversandDataFile&&) noexcept;
    PostversandDataFile& operator=(PostversandDataFile&&) noexcept;
    ~PostversandDataFile();
};

// The paths of the data file and the header file the settings choose, in
// `folder`.
std::vector<std::string> PostversandFilePaths(const DatevSettings& settings,
                                              const std::string& folder);

// The data file of the bookings in `range` in `folder`. Its count is 0 when
// no booking lay in the range, and 0 without a file, with its message, when
// the file could not be written (E:302) or was refused (E:316: an amount of
// more than 18 digits or above 99.999.999,99, a total beyond 64 bits, more
// blocks than the header file can count). A refused batch is refused before
// any file is opened. A range over two years adds the E:304 warning first
// (not when the file cannot be opened). The new file is completed here but
// replaces an existing one only in WritePostversandHeaderFile.
// `progress` ticks in bookings over both passes (total twice the store's
// count); a cancelled stage has no messages and leaves no file, so the
// header file stage then keeps the old batch.
PostversandDataFile WritePostversandDataFile(const BookingStore& store,
                                             const DatevSettings& settings, const DatevRange& range,
                                             const std::string& folder,
                                             const Progress* progress = nullptr);

// What the header file stage reports.
struct PostversandBatch {
    bool written = false;  // both new files replaced the old batch
    Notices notices;       // E:305, E:302 (the batch could not be put in place)
};

// The header file in `folder` for the data file of the same run, taken over
// here. On success both new files replace the old batch. Not written, with
// E:305, when the header file cannot be written, and not written without a
// message when the data file stage failed: the old batch then stays as it
// was.
PostversandBatch WritePostversandHeaderFile(PostversandDataFile dataFile,
                                            const DatevSettings& settings, const DatevRange& range,
                                            const std::string& folder);

struct StreamedDataFile {
    bool usable = false;  // false: an amount or the total too large, or `sink` returned false
    int count = 0;        // bookings in the range
    std::string exportYear;
    int32_t blockCount = 1;
    Notices notices;  // E:304 (a warning: the range spans two years), E:316
};

// Streams the data file to `sink` in whole 256-byte blocks. Not usable when
// the file must not be used (an amount or the total too large: E:316, or
// `sink` returned false). Neither the block count nor the ten-digit amount
// field is checked here: WritePostversandDataFile refuses those.
StreamedDataFile StreamPostversandDataFile(const BookingStore& store, const DatevSettings& settings,
                                           const DatevRange& range,
                                           const std::function<bool(std::string_view)>& sink);

// The amount of a booking in cents: the decimal digits of the first 30
// characters of `amount`, in order (signs, dots and the comma dropped);
// negative when its first character after blanks is '-'. An empty digit
// string gives 0. nullopt when there are more than 18 digits: such an
// amount is refused, never cut or wrapped (the data file writer refuses a
// total beyond the 64-bit range in the same way).
std::optional<int64_t> DigitsToInt(std::string_view amount);

}  // namespace belvaron
