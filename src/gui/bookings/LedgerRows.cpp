#include "gui/bookings/LedgerRows.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

#include "core/base/FixedText.h"
#include "core/base/Text.h"
#include "core/bookings/Amounts.h"
#include "core/bookings/BookingStore.h"
#include "core/bookings/Dates.h"
#include "gui/bookings/BookingListModel.h"

namespace belvaron::gui {

namespace {

// `needle` (lower case) occurs in `text`, ignoring the case of `text`.
bool ContainsLower(std::string_view text, std::string_view needle) {
    if (needle.size() > text.size()) return false;
    for (std::size_t start = 0; start + needle.size() <= text.size(); ++start) {
        std::size_t i = 0;
        while (i < needle.size() && LowerCp1252(text[start + i]) == needle[i]) ++i;
        if (i == needle.size()) return true;
    }
    return false;
}

bool NumberContains(int32_t value, std::string_view needle) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string_view(digits, static_cast<std::size_t>(end - digits)).find(needle) !=
           std::string_view::npos;
}

// The sort key of a numeric column; amounts that are no German amount sort
// first.
int64_t NumericKey(const BookingRecord& b, int column) {
    switch (column) {
        case BookingListModel::Nr:
            return b.bookingNo;
        case BookingListModel::Datum:
            return DateKey(b.date);
        case BookingListModel::Soll:
            return b.sollAccount;
        case BookingListModel::Haben:
            return b.habenAccount;
        case BookingListModel::BU:
            return b.datevKey;
        case BookingListModel::MwSt:
            return b.vatRate;
        case BookingListModel::Betrag:
            return AmountCents(FieldText(b.amount)).value_or(INT64_MIN);
        default:
            return 0;
    }
}

// The rank of each row's text among the distinct texts of `rows`, in
// natural order, by store index (texts that compare equal share a rank).
// Journals repeat their names and document prefixes: sorting the distinct
// texts once and the rows by integer is much faster than comparing texts
// row against row.
template <typename TextOf>
std::vector<int64_t> TextRanks(const std::vector<int32_t>& rows, std::size_t storeRows,
                               TextOf textOf, int64_t* distinctCount) {
    std::unordered_map<std::string_view, int64_t> ids;
    std::vector<std::string_view> distinct;
    std::vector<int64_t> key(storeRows);
    for (const int32_t row : rows) {
        const auto [it, inserted] =
            ids.try_emplace(textOf(row), static_cast<int64_t>(distinct.size()));
        if (inserted) distinct.push_back(it->first);
        key[static_cast<std::size_t>(row)] = it->second;
    }
    std::vector<std::size_t> byText(distinct.size());
    for (std::size_t i = 0; i < byText.size(); ++i) byText[i] = i;
    std::sort(byText.begin(), byText.end(), [&distinct](std::size_t a, std::size_t b) {
        return NaturalCompare(distinct[a], distinct[b]) < 0;
    });
    std::vector<int64_t> rank(distinct.size());
    int64_t r = 0;
    for (std::size_t i = 0; i < byText.size(); ++i) {
        if (i > 0 && NaturalCompare(distinct[byText[i - 1]], distinct[byText[i]]) != 0) ++r;
        rank[byText[i]] = r;
    }
    for (const int32_t row : rows) {
        key[static_cast<std::size_t>(row)] =
            rank[static_cast<std::size_t>(key[static_cast<std::size_t>(row)])];
    }
    if (distinctCount) *distinctCount = r + 1;
    return key;
}

}  // namespace

char LowerCp1252(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) {
        return static_cast<char>(u + 32);
    }
    if (u == 0x8A || u == 0x8C || u == 0x8E) return static_cast<char>(u + 16);
    if (u == 0x9F) return static_cast<char>(0xFF);
    return c;
}

std::string LowerCp1252(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = LowerCp1252(c);
    return lower;
}

int NaturalCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            while (i < a.size() && a[i] == '0') ++i;
            while (j < b.size() && b[j] == '0') ++j;
            std::size_t ei = i;
            std::size_t ej = j;
            while (ei < a.size() && IsDigit(a[ei])) ++ei;
            while (ej < b.size() && IsDigit(b[ej])) ++ej;
            if (ei - i != ej - j) return ei - i < ej - j ? -1 : 1;
            if (const int c = a.substr(i, ei - i).compare(b.substr(j, ej - j)); c != 0) return c;
            i = ei;
            j = ej;
            continue;
        }
        const auto ca = static_cast<unsigned char>(LowerCp1252(a[i]));
        const auto cb = static_cast<unsigned char>(LowerCp1252(b[j]));
        if (ca != cb) return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    return j < b.size() ? -1 : 0;
}

bool MatchesSearch(const BookingRecord& b, std::string_view lowerNeedle) {
    return ContainsLower(FieldText(b.beleg), lowerNeedle) ||
           ContainsLower(FieldText(b.name), lowerNeedle) ||
           ContainsLower(FieldText(b.purpose), lowerNeedle) ||
           NumberContains(b.sollAccount, lowerNeedle) ||
           NumberContains(b.habenAccount, lowerNeedle);
}

void SortRows(std::vector<int32_t>& order, const BookingStore& store, int column, bool descending) {
    const auto rows = static_cast<std::size_t>(store.bookingCount > 0 ? store.bookingCount : 0);
    // One integer key per row first: each comparison is then two loads.
    std::vector<int64_t> keys;
    switch (column) {
        case BookingListModel::Beleg:
            keys = TextRanks(
                order, rows, [&store](int32_t i) { return FieldText(store[i].beleg); }, nullptr);
            break;
        case BookingListModel::Waehrung:
            keys = TextRanks(
                order, rows, [&store](int32_t i) { return FieldText(store[i].currency); }, nullptr);
            break;
        case BookingListModel::Text: {
            // By name, then by purpose.
            int64_t purposes = 1;
            const std::vector<int64_t> purpose = TextRanks(
                order, rows, [&store](int32_t i) { return FieldText(store[i].purpose); },
                &purposes);
            keys = TextRanks(
                order, rows, [&store](int32_t i) { return FieldText(store[i].name); }, nullptr);
            for (const int32_t i : order) {
                const auto at = static_cast<std::size_t>(i);
                keys[at] = keys[at] * purposes + purpose[at];
            }
            break;
        }
        default:
            keys.resize(rows);
            for (const int32_t i : order) {
                keys[static_cast<std::size_t>(i)] = NumericKey(store[i], column);
            }
            break;
    }
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        const int64_t ka = keys[static_cast<std::size_t>(a)];
        const int64_t kb = keys[static_cast<std::size_t>(b)];
        return descending ? kb < ka : ka < kb;
    });
}

}  // namespace belvaron::gui
