#include "core/lexware/LexwareYears.h"

#include <algorithm>
#include <filesystem>

#include "core/base/Format.h"
#include "core/bookings/BookingStore.h"
#include "core/bookings/Dates.h"
#include "core/platform/Files.h"

namespace belvaron {

std::string LexwareYearPath(const std::string& chosen, int32_t year) {
    const std::filesystem::path path = platform::FsPath(chosen);
    const std::string name = platform::Utf8Path(path.filename());
    const std::string stem = platform::Utf8Path(path.stem());
    const std::string extension = platform::Utf8Path(path.extension());
    const std::string folder = chosen.substr(0, chosen.size() - name.size());
    return folder + stem + Format("_%04d", static_cast<int>(year)) + extension;
}

std::vector<int32_t> LexwareYears(const BookingStore& store) {
    std::vector<int32_t> years;
    for (int32_t i = 0; i < store.bookingCount; ++i) {
        const int32_t year = DateKey(store[i].date) / 10000;
        if (std::find(years.begin(), years.end(), year) == years.end()) years.push_back(year);
    }
    std::sort(years.begin(), years.end());
    return years;
}

std::vector<std::string> LexwareFilePaths(const BookingStore& store, const std::string& chosen) {
    const std::vector<int32_t> years = LexwareYears(store);
    if (years.size() <= 1) return {chosen};
    std::vector<std::string> paths;
    for (const int32_t year : years) paths.push_back(LexwareYearPath(chosen, year));
    return paths;
}

}  // namespace belvaron
