#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "StoreSupport.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/BookingStore.h"

namespace belvaron {
namespace {

using test::Append;

BookingRecord MakeBooking(int no, const char* date, int soll, int haben) {
    BookingRecord b{};
    b.bookingNo = no;
    SetField(b.date, date);
    b.sollAccount = soll;
    b.habenAccount = haben;
    SetField(b.amount, "1,00");
    SetField(b.currency, "EUR");
    return b;
}

class StoreTest : public ::testing::Test {
protected:
    // What the sorts told their observer, in order: "started n", "at n",
    // "finished".
    std::vector<std::string> sortEvents;
    SortObserver observer{[this](int total) { sortEvents.push_back(Format("started %d", total)); },
                          [this](int position) { sortEvents.push_back(Format("at %d", position)); },
                          [this] { sortEvents.push_back("finished"); }};
    BookingStore store{1000};
};

TEST_F(StoreTest, ListLineOfTheWorkedExample) {
    BookingRecord b = MakeBooking(12, "01.02.2005", 1200, 8400);
    b.vatRate = 19;
    SetField(b.amount, "119,00");
    SetField(b.beleg, "R-1");
    SetField(b.name, "Mueller");
    SetField(b.purpose, "Rechnung");
    Append(store, b);
    const std::string expected =
        " 12. 01.02.2005, S=0,Soll=1200,Haben=8400, MwSt=19, 119,00 EUR, (R-1)Mueller,Rechnung"
        "         ";
    EXPECT_EQ(FormatListLine(store, 0), expected);
    store[0].redated = 1;
    EXPECT_EQ(FormatListLine(store, 0), "*" + expected);
    EXPECT_EQ(FormatListLine(store, 1), "");
}

TEST_F(StoreTest, ListLineOfFullAndEmptyFields) {
    BookingRecord b = MakeBooking(7, "01.02.2005", 0, 8400);
    std::memcpy(b.beleg, "0123456789", 10);  // full field, no terminator
    SetField(b.name, "Name");
    Append(store, b);
    EXPECT_NE(FormatListLine(store, 0).find("(0123456789)Name,"), std::string::npos);
    store[0].beleg[0] = '\0';
    EXPECT_NE(FormatListLine(store, 0).find(", ()Name,"), std::string::npos);
}

// The list line equals the printf layout it stands for, field by field:
// signs and numbers wider than their width, the padded last field just below,
// at and above 30 characters, full fields without terminator.
struct ListLineCase {
    int32_t no, key, soll, haben, vat;
    const char* beleg;
    const char* name;
    const char* purpose;
    int8_t redated;
};

class ListLineLayout : public ::testing::TestWithParam<ListLineCase> {};

TEST_P(ListLineLayout, EqualsThePrintfLayout) {
    const ListLineCase& c = GetParam();
    BookingStore store(4);
    BookingRecord b = MakeBooking(c.no, "31.12.2025", c.soll, c.haben);
    b.datevKey = c.key;
    b.vatRate = c.vat;
    b.redated = c.redated;
    SetField(b.beleg, c.beleg);
    SetField(b.name, c.name);
    SetField(b.purpose, c.purpose);
    SetField(b.amount, "-1.234.567,89");
    Append(store, b);
    const std::string beleg(FieldText(b.beleg));
    const std::string name(FieldText(b.name));
    const std::string purpose(FieldText(b.purpose));
    const std::string inner = Format("(%s)%s,%s", beleg.c_str(), name.c_str(), purpose.c_str());
    const std::string expected =
        std::string(c.redated > 0 ? "*" : "") +
        Format("%3d. %s, S=%d,Soll=%4d,Haben=%4d, MwSt=%2d, %s %s, %-30s", c.no, "31.12.2025",
               c.key, c.soll, c.haben, c.vat, "-1.234.567,89", "EUR", inner.c_str());
    EXPECT_EQ(FormatListLine(store, 0), expected);
    std::string bulk = "x";
    AppendListLines(store, 0, 1, bulk);
    EXPECT_EQ(bulk, "x" + expected + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListLineLayout,
    ::testing::Values(
        ListLineCase{1, 0, 0, 0, 0, "", "", "", 0},
        ListLineCase{-5, -1, -12, -123456, -7, "B", "N", "P", 1},
        ListLineCase{1234567, 99, 99999, 123456789, 100, "R", "M", "Z", 0},
        ListLineCase{12, 40, 1200, 8400, 19, "0123456", "Mueller", "Rechnung1234567",
                     0},  // 29 characters
        ListLineCase{12, 40, 1200, 8400, 19, "0123456", "Mueller", "Rechnung12345678", 0},   // 30
        ListLineCase{12, 40, 1200, 8400, 19, "0123456", "Mueller", "Rechnung123456789", 0},  // 31
        ListLineCase{INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN, "0123456789xyz",
                     "A name of forty characters, quite long!!",
                     "A purpose of forty characters, also long", 2}));

TEST_F(StoreTest, ListLinesOfARangeAreHeldToTheStore) {
    for (int i = 1; i <= 3; ++i) Append(store, MakeBooking(i, "01.02.2005", 1200, 8400));
    std::string all;
    AppendListLines(store, -2, 99, all);
    EXPECT_EQ(all, FormatListLine(store, 0) + "\n" + FormatListLine(store, 1) + "\n" +
                       FormatListLine(store, 2) + "\n");
    std::string middle;
    AppendListLines(store, 1, 2, middle);
    EXPECT_EQ(middle, FormatListLine(store, 1) + "\n");
    std::string none;
    AppendListLines(store, 2, 1, none);
    EXPECT_EQ(none, "");
}

// The exchange sort the store's result must equal.
std::vector<int> ExchangeSortOrder(const std::vector<BookingRecord>& records) {
    std::vector<BookingRecord> r = records;
    for (std::size_t pass = 0; pass < r.size(); ++pass) {
        bool exchanged = false;
        for (std::size_t j = 0; j + 1 < r.size(); ++j) {
            if (DateKey(r[j].date) > DateKey(r[j + 1].date)) {
                std::swap(r[j], r[j + 1]);
                exchanged = true;
            }
        }
        if (!exchanged) break;
    }
    std::vector<int> order;
    for (const auto& b : r) order.push_back(b.bookingNo);
    return order;
}

TEST_F(StoreTest, SortEqualsTheStableExchangeSort) {
    std::mt19937 random(42);
    for (int round = 0; round < 50; ++round) {
        store.bookingCount = 0;
        std::vector<BookingRecord> records;
        const int n = static_cast<int>(random() % 200);
        for (int i = 0; i < n; ++i) {
            char date[16];
            std::snprintf(date, sizeof date, "%02d.%02d.20%02d", 1 + static_cast<int>(random() % 3),
                          1 + static_cast<int>(random() % 2), static_cast<int>(random() % 2));
            // Some texts not in the form sort with key 0 or small keys.
            records.push_back(MakeBooking(i, random() % 20 == 0 ? "kaputt" : date, 1, 2));
            Append(store, records.back());
        }
        SortByDate(store, &observer);
        std::vector<int> order;
        for (int i = 0; i < store.bookingCount; ++i) order.push_back(store[i].bookingNo);
        ASSERT_EQ(order, ExchangeSortOrder(records)) << "round " << round;
    }
    EXPECT_EQ(std::count(sortEvents.begin(), sortEvents.end(), "finished"), 50);
}

// The sort window learns the total, a few positions and the end: a sorted
// store is passed once, an unsorted one moved in two more stages.
struct ObserverCase {
    const char* name;
    std::vector<const char*> dates;
    std::vector<std::string> events;
};

void PrintTo(const ObserverCase& c, std::ostream* os) { *os << c.name; }

class SortObserverTest : public StoreTest, public ::testing::WithParamInterface<ObserverCase> {};

TEST_P(SortObserverTest, HearsTheTotalThePositionsAndTheEnd) {
    int no = 0;
    for (const char* date : GetParam().dates) Append(store, MakeBooking(++no, date, 1, 2));
    SortByDate(store, &observer);
    EXPECT_EQ(sortEvents, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, SortObserverTest,
    ::testing::Values(ObserverCase{"Empty", {}, {"started 0", "finished"}},
                      ObserverCase{"One", {"01.01.2005"}, {"started 1", "finished"}},
                      ObserverCase{"Sorted",
                                   {"01.01.2005", "01.01.2005", "02.01.2005", "03.01.2005"},
                                   {"started 4", "at 1", "at 4", "finished"}},
                      ObserverCase{"Unsorted",
                                   {"03.01.2005", "01.01.2005", "02.01.2005", "01.01.2005"},
                                   {"started 4", "at 1", "at 2", "at 4", "finished"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreTest, SortWindowClosesWhenTheSortThrows) {
    Append(store, MakeBooking(1, "02.01.2005", 1, 2));
    Append(store, MakeBooking(2, "01.01.2005", 1, 2));
    observer.position = [](int) { throw std::runtime_error("window"); };
    EXPECT_THROW(SortByDate(store, &observer), std::runtime_error);
    EXPECT_EQ(sortEvents, (std::vector<std::string>{"started 2", "finished"}));
}

// Keys across the whole range: negative ones, far years, texts not in the
// form, and long runs of equal keys whose store order must hold.
TEST_F(StoreTest, SortOfWideAndNegativeKeysEqualsTheStableExchangeSort) {
    const char* dates[] = {"31.12.9999", "01.01.0001", "15.06.-999", "01.01.-001", "kaputt",    "",
                           "01.01.2005", "1.1.05",     " 5.03.2005", "28.02.2024", "01.01.2005"};
    std::mt19937 random(7);
    std::vector<BookingRecord> records;
    for (int i = 0; i < 600; ++i) {
        records.push_back(MakeBooking(i, dates[random() % std::size(dates)], 1, 2));
        Append(store, records.back());
    }
    SortByDate(store, &observer);
    std::vector<int> order;
    for (int i = 0; i < store.bookingCount; ++i) order.push_back(store[i].bookingNo);
    EXPECT_EQ(order, ExchangeSortOrder(records));
}

// Sorted, reversed, shuffled and equal dates, within a few years (one
// counting pass) and across the whole range of keys (two passes): the
// store ends in the stable order by date, whole records moved.
struct OrderCase {
    const char* name;
    bool wide;  // keys far apart
    int shape;  // 0 sorted, 1 reversed, 2 shuffled, 3 all equal
};

void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.name; }

class SortOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(SortOrderTest, EndsInTheStableOrderByDate) {
    constexpr int kCount = 3000;
    std::vector<std::string> dates;
    for (int i = 0; i < kCount; ++i) {
        const int day = i / 7;  // runs of equal dates
        const int year = GetParam().wide ? (day % 2 ? 9000 : 1) + day : 2020 + day / 336;
        dates.push_back(GetParam().shape == 3
                            ? "05.05.2005"
                            : Format("%02d.%02d.%04d", 1 + day % 28, 1 + day / 28 % 12, year));
    }
    if (GetParam().wide)
        std::sort(dates.begin(), dates.end(), [](auto& a, auto& b) {
            return DateKey(std::string_view(a)) < DateKey(std::string_view(b));
        });
    if (GetParam().shape == 1) std::reverse(dates.begin(), dates.end());
    if (GetParam().shape == 2) std::shuffle(dates.begin(), dates.end(), std::mt19937(3));
    BookingStore big(kCount);
    for (int i = 0; i < kCount; ++i) Append(big, MakeBooking(i, dates[i].c_str(), 1000 + i, i));
    std::vector<int> expected(kCount);
    for (int i = 0; i < kCount; ++i) expected[i] = i;
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
        return DateKey(std::string_view(dates[a])) < DateKey(std::string_view(dates[b]));
    });
    SortByDate(big);
    for (int i = 0; i < kCount; ++i) {
        const int no = expected[i];
        ASSERT_EQ(big[i].bookingNo, no) << i;
        ASSERT_EQ(FieldText(big[i].date), dates[no]) << i;
        ASSERT_EQ(big[i].sollAccount, 1000 + no) << i;
        ASSERT_EQ(big[i].habenAccount, no) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Orders, SortOrderTest,
    ::testing::Values(OrderCase{"NarrowSorted", false, 0}, OrderCase{"NarrowReversed", false, 1},
                      OrderCase{"NarrowShuffled", false, 2}, OrderCase{"Equal", false, 3},
                      OrderCase{"WideSorted", true, 0}, OrderCase{"WideReversed", true, 1},
                      OrderCase{"WideShuffled", true, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreTest, SortKeepsWholeRecords) {
    Append(store, MakeBooking(2, "02.01.2005", 1200, 8400));
    Append(store, MakeBooking(1, "01.01.2005", 1000, 8300));
    SortByDate(store, &observer);
    EXPECT_EQ(store[0].bookingNo, 1);
    EXPECT_EQ(store[0].sollAccount, 1000);
    EXPECT_EQ(FieldText(store[0].date), "01.01.2005");
    EXPECT_EQ(store[1].habenAccount, 8400);
}

TEST_F(StoreTest, DeleteZeroRemovesEveryBookingWithAccountZero) {
    Append(store, MakeBooking(1, "01.01.2005", 1200, 8400));
    Append(store, MakeBooking(2, "01.01.2005", 0, 8400));
    Append(store, MakeBooking(3, "01.01.2005", 1200, 0));
    Append(store, MakeBooking(4, "01.01.2005", 0, 0));
    Append(store, MakeBooking(5, "01.01.2005", 1000, 1200));
    EXPECT_EQ(DeleteZeroAccountBookings(store), 3);
    ASSERT_EQ(store.bookingCount, 2);
    EXPECT_EQ(store[0].bookingNo, 1);
    EXPECT_EQ(store[1].bookingNo, 5);
}

TEST_F(StoreTest, DeleteZeroOnAnEmptyStoreReportsZero) {
    EXPECT_EQ(DeleteZeroAccountBookings(store), 0);
    EXPECT_EQ(store.bookingCount, 0);
}

TEST_F(StoreTest, AppendStopsAtTheCapacity) {
    BookingStore small(2);
    Append(small, MakeBooking(1, "01.01.2005", 1, 2));
    Append(small, MakeBooking(2, "01.01.2005", 1, 2));
    EXPECT_EQ(small.AppendRoom(), nullptr);
    EXPECT_EQ(small[1].bookingNo, 2);
}

}  // namespace
}  // namespace belvaron
