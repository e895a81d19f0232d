#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace belvaron {

class BookingStore;

// Lexware Buchhalter imports one year at a time, so a store that spans
// several calendar years is written as one file per year.

// The file of `year` beside the chosen file: its stem, "_", the year in
// four digits and its extension ("/a/buchhalter.txt", 2024 ->
// "/a/buchhalter_2024.txt"; "/a/export" -> "/a/export_2024").
std::string LexwareYearPath(const std::string& chosen, int32_t year);

// The calendar years of the bookings (from their DD.MM.YYYY date; a date
// without a readable year counts as year 0), ascending, each once.
std::vector<int32_t> LexwareYears(const BookingStore& store);

// The files an export of the store to `chosen` writes: `chosen` itself for
// bookings of one year (or none), else the file of each year
// (LexwareYearPath), in the order of LexwareYears.
std::vector<std::string> LexwareFilePaths(const BookingStore& store, const std::string& chosen);

}  // namespace belvaron
