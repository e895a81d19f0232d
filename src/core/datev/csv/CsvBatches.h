#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/datev/DatevSettings.h"

// How the bookings of one export range are cut into DATEV batches. Every
// batch lies within one fiscal year and one calendar year, as DATEV requires
// of a batch's Datum vom/bis; no two batches share a day unless a single
// month holds more bookings than one file may.
namespace belvaron::csv {

struct CsvBatch {
    int32_t fromKey = 0;   // Datum vom, YYYYMMDD
    int32_t toKey = 0;     // Datum bis
    int32_t wjBeginn = 0;  // start of the fiscal year the batch lies in
    int part = 1;          // 1-based; parts > 1 only for one month over the limit
    int parts = 1;
    std::vector<std::size_t> items;  // positions in the key list, ascending
};

// Plans the batches for bookings whose date keys (in store order, every key
// within fromKey..toKey) are `keys`. FiscalYear: one batch per fiscal year
// (beginning on wjTag.wjMonat), cut again at the turn of a calendar year;
// Month: one batch per calendar month. Datum vom/bis are the period's days
// clipped to the range. A batch of more than maxPerFile bookings is cut at
// month boundaries into as few batches as fit; a single month over the
// limit is cut by count into parts of one period. Periods without bookings
// give no batch. The range and the fiscal-year start must be valid
// (IsRealDay, IsRealDayOfAnyYear) and fromKey <= toKey.
std::vector<CsvBatch> PlanBatches(const std::vector<int32_t>& keys, int32_t fromKey, int32_t toKey,
                                  int wjTag, int wjMonat, DatevBatchPeriod period,
                                  std::size_t maxPerFile);

// The "bis" date the settings dialog proposes: `dateTo`, or the last day of
// the fiscal year that holds `dateFrom` when `dateTo` lies beyond it. Both
// DD.MM.YYYY; `dateTo` comes back unchanged when a date or the fiscal-year
// start is not valid.
std::string ProposedDateTo(std::string_view dateFrom, std::string_view dateTo, int wjTag,
                           int wjMonat);

}  // namespace belvaron::csv
