#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Progress.h"
#include "core/datev/DatevRange.h"
#include "core/datev/DatevSettings.h"

namespace belvaron {

class BookingStore;
class FileWriter;
class UiPort;

// The "Postversand" batch: the data file "ED00001" (extended) or "DE001"
// (old) and the header file "EV01" or "DV01" that describes it. The two are
// written in two stages, data file first; a batch in the folder is only ever
// replaced by a complete new batch.

// What the data file stage leaves for the header file stage.
struct PostversandDataFile {
    int count = 0;           // bookings written; 0 when none lay in the range or the stage failed
    std::string exportYear;  // YY of the range start
    int32_t blockCount = 1;  // 256-byte blocks of the data file
    bool cancelled = false;  // stopped through the progress; nothing shown, no file
    std::string path;        // where the data file goes
    std::unique_ptr<FileWriter> file;  // complete but not yet in place; null when the stage failed

    PostversandDataFile();
    PostversandDataFile(PostversandDataFile&&) noexcept;
    PostversandDataFile& operator=(PostversandDataFile&&) noexcept;
    ~PostversandDataFile();
};

// The paths of the data file and the header file the settings choose, in
// `folder` (no trailing '/').
std::vector<std::string> PostversandFilePaths(const DatevSettings& settings,
                                              const std::string& folder);

// The data file of the bookings in `range` in `folder` (no trailing '/').
// Its count is 0 when no booking lay in the range, and 0 without a file
// after a message when the file could not be written (E:302) or was refused
// (E:316: an amount of more than 18 digits or above 99.999.999,99, a total
// beyond 64 bits, more blocks than the header file can count). A refused
// batch is refused before any file is opened. The new file is completed here
// but replaces an existing one only in WritePostversandHeaderFile.
// `progress` ticks in bookings over both passes (total twice the store's
// count); a cancelled stage shows nothing and leaves no file, so the header
// file stage then keeps the old batch.
PostversandDataFile WritePostversandDataFile(const BookingStore& store,
                                             const DatevSettings& settings, const DatevRange& range,
                                             const std::string& folder, UiPort& ui,
                                             const Progress* progress = nullptr);

// The header file in `folder` for the data file of the same run, taken over
// here. On success both new files replace the old batch and true is
// returned. False after E:305 when the header file cannot be written, and
// false without a message when the data file stage failed: the old batch
// then stays as it was.
bool WritePostversandHeaderFile(PostversandDataFile dataFile, const DatevSettings& settings,
                                const DatevRange& range, const std::string& folder, UiPort& ui);

struct StreamedDataFile {
    int count = 0;  // bookings in the range
    std::string exportYear;
    int32_t blockCount = 1;
};

// Streams the data file to `sink` in whole 256-byte blocks. Shows E:304 (a
// warning: the range spans two years) and E:316. nullopt when the file must
// not be used (an amount or the total too large, or `sink` returned false).
// Neither the block count nor the ten-digit amount field is checked here:
// WritePostversandDataFile refuses those.
std::optional<StreamedDataFile> StreamPostversandDataFile(
    const BookingStore& store, const DatevSettings& settings, const DatevRange& range,
    const std::function<bool(std::string_view)>& sink, UiPort& ui);

// The amount of a booking in cents: the decimal digits of the first 30
// characters of `amount`, in order (signs, dots and the comma dropped);
// negative when its first character after blanks is '-'. An empty digit
// string gives 0. nullopt when there are more than 18 digits: such an
// amount is refused, never cut or wrapped (the data file writer refuses a
// total beyond the 64-bit range in the same way).
std::optional<int64_t> DigitsToInt(std::string_view amount);

}  // namespace belvaron
