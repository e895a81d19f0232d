#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace belvaron {
class BookingStore;
struct BookingRecord;
}  // namespace belvaron

// Which bookings the ledger shows and in what order: the search, the natural
// order of texts and the sort of the view's rows. Plain functions over the
// store's Windows-1252 bytes.
namespace belvaron::gui {

// Windows-1252 lower case (ASCII, the Latin-1 letters, Š Œ Ž Ÿ).
char LowerCp1252(char c);
std::string LowerCp1252(std::string_view text);

// Compares as people read document numbers and names: case ignored, runs of
// digits by their value ("RE-7" before "RE-10"). <0, 0, >0.
int NaturalCompare(std::string_view a, std::string_view b);

// The booking's Beleg, name, purpose, SOLL or HABEN account contains
// `lowerNeedle` (Windows-1252, lower case), the case of the booking ignored.
bool MatchesSearch(const BookingRecord& booking, std::string_view lowerNeedle);

// Sorts `order` (store indices) by the ledger column `column`
// (BookingListModel::Column), stably: equal keys keep their order. Numbers
// by value, dates by day, amounts in cents (an amount that is no German
// amount first), texts naturally; Text by name, then purpose.
void SortRows(std::vector<int32_t>& order, const BookingStore& store, int column, bool descending);

}  // namespace belvaron::gui
