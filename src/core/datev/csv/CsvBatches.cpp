#include "core/datev/csv/CsvBatches.h"

#include <algorithm>

#include "core/base/Format.h"
#include "core/bookings/Dates.h"
#include "core/datev/csv/CsvFields.h"

namespace belvaron::csv {

namespace {

int32_t NextDay(int32_t key) {
    const int year = key / 10000, month = key / 100 % 100, day = key % 100;
    if (day < DaysInMonth(year, month)) return key + 1;
    return month < 12 ? year * 10000 + (month + 1) * 100 + 1 : (year + 1) * 10000 + 101;
}

int32_t PrevDay(int32_t key) {
    const int year = key / 10000, month = key / 100 % 100, day = key % 100;
    if (day > 1) return key - 1;
    if (month > 1) return year * 10000 + (month - 1) * 100 + DaysInMonth(year, month - 1);
    return (year - 1) * 10000 + 1231;
}

int32_t MonthEnd(int32_t key) {
    const int year = key / 10000, month = key / 100 % 100;
    return year * 10000 + month * 100 + DaysInMonth(year, month);
}

// The smallest piece of a range: one calendar month, cut again where a
// fiscal year begins.
struct Cell {
    int32_t from = 0;
    int32_t to = 0;
    int32_t fiscalYear = 0;  // its start
    std::size_t count = 0;
};

std::vector<Cell> CellsOf(int32_t fromKey, int32_t toKey, int wjTag, int wjMonat) {
    std::vector<Cell> cells;
    for (int32_t start = fromKey; start <= toKey;) {
        const int32_t fiscalYear = FiscalYearStart(start, wjTag, wjMonat);
        const int32_t end = std::min({toKey, MonthEnd(start), PrevDay(fiscalYear + 10000)});
        cells.push_back({start, end, fiscalYear, 0});
        start = NextDay(end);
    }
    return cells;
}

std::size_t CellOf(const std::vector<Cell>& cells, int32_t key) {
    const auto it = std::upper_bound(cells.begin(), cells.end(), key,
                                     [](int32_t k, const Cell& c) { return k < c.from; });
    return static_cast<std::size_t>(it - cells.begin()) - 1;
}

struct Group {
    std::size_t first = 0;  // cells first..last
    std::size_t last = 0;
    std::size_t count = 0;
};

bool SamePeriod(const Cell& a, const Cell& b, DatevBatchPeriod period) {
    return period == DatevBatchPeriod::FiscalYear && a.fiscalYear == b.fiscalYear &&
           a.from / 10000 == b.from / 10000;
}

// Consecutive cells of one period, cut where the next cell would carry the
// group over the limit.
std::vector<Group> GroupsOf(const std::vector<Cell>& cells, DatevBatchPeriod period,
                            std::size_t maxPerFile) {
    std::vector<Group> groups;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const bool joins = !groups.empty() &&
                           SamePeriod(cells[groups.back().last], cells[i], period) &&
                           groups.back().count + cells[i].count <= maxPerFile;
        if (!joins) groups.push_back({i, i, 0});
        groups.back().last = i;
        groups.back().count += cells[i].count;
    }
    return groups;
}

}  // namespace

std::vector<CsvBatch> PlanBatches(const std::vector<int32_t>& keys, int32_t fromKey, int32_t toKey,
                                  int wjTag, int wjMonat, DatevBatchPeriod period,
                                  std::size_t maxPerFile) {
    std::vector<Cell> cells = CellsOf(fromKey, toKey, wjTag, wjMonat);
    // Keys mostly come in date order: the cell of the key before is tried
    // first.
    std::vector<uint32_t> cellOfItem(keys.size());
    std::size_t cell = 0;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        if (keys[k] < cells[cell].from || keys[k] > cells[cell].to) cell = CellOf(cells, keys[k]);
        cellOfItem[k] = static_cast<uint32_t>(cell);
        ++cells[cell].count;
    }
    const std::vector<Group> groups = GroupsOf(cells, period, maxPerFile);

    // The first batch of each group with bookings, then its parts; every
    // part but the last is full.
    std::vector<std::size_t> firstBatchOfCell(cells.size());
    std::vector<CsvBatch> batches;
    for (const Group& g : groups) {
        if (g.count == 0) continue;
        const int parts = static_cast<int>((g.count + maxPerFile - 1) / maxPerFile);
        for (std::size_t c = g.first; c <= g.last; ++c) firstBatchOfCell[c] = batches.size();
        for (int part = 1; part <= parts; ++part) {
            CsvBatch b;
            b.fromKey = cells[g.first].from;
            b.toKey = cells[g.last].to;
            b.wjBeginn = cells[g.first].fiscalYear;
            b.part = part;
            b.parts = parts;
            b.items.reserve(part < parts
                                ? maxPerFile
                                : g.count - static_cast<std::size_t>(parts - 1) * maxPerFile);
            batches.push_back(std::move(b));
        }
    }
    // Items in store order; a part takes the next item when the one before is full.
    for (std::size_t k = 0; k < keys.size(); ++k) {
        std::size_t index = firstBatchOfCell[cellOfItem[k]];
        while (batches[index].items.size() == maxPerFile) ++index;
        batches[index].items.push_back(k);
    }
    return batches;
}

std::string ProposedDateTo(std::string_view dateFrom, std::string_view dateTo, int wjTag,
                           int wjMonat) {
    const std::string unchanged(dateTo);
    if (dateFrom.size() != 10 || dateTo.size() != 10 || !IsRealDayOfAnyYear(wjTag, wjMonat)) {
        return unchanged;
    }
    const int32_t fromKey = DateKey(dateFrom), toKey = DateKey(dateTo);
    if (!IsRealDay(fromKey) || !IsRealDay(toKey)) return unchanged;
    const int32_t yearEnd = PrevDay(FiscalYearStart(fromKey, wjTag, wjMonat) + 10000);
    if (toKey <= yearEnd) return unchanged;
    return Format("%02d.%02d.%04d", yearEnd % 100, yearEnd / 100 % 100, yearEnd / 10000);
}

}  // namespace belvaron::csv
