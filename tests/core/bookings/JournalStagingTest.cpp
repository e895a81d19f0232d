#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/BookingStore.h"
#include "core/bookings/Dates.h"
#include "core/bookings/JournalStaging.h"

namespace belvaron {
namespace {

// A date text for each day number: 28 days a month, 12 months, from 2000 on.
std::string DateOfDay(int day) {
    return Format("%02d.%02d.%04d", 1 + day % 28, 1 + day / 28 % 12, 2000 + day / 336);
}

// The days of the bookings in the order added, for each shape of journal.
struct OrderCase {
    const char* name;
    std::vector<int> (*days)();
};

void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.name; }

// Enough for the move on two threads.
constexpr int kBookings = static_cast<int>(JournalStaging::kTwoThreadBookings) + 5000;

std::vector<int> Sorted() {
    std::vector<int> days(kBookings);
    for (int i = 0; i < kBookings; ++i) days[i] = i / 200;
    return days;
}
std::vector<int> Reverse() {
    std::vector<int> days = Sorted();
    std::reverse(days.begin(), days.end());
    return days;
}
std::vector<int> Random() {
    std::vector<int> days = Sorted();
    std::shuffle(days.begin(), days.end(), std::mt19937(5));
    return days;
}
std::vector<int> AllEqual() { return std::vector<int>(kBookings, 17); }
// More dates than keys with lists of their own, in random order.
std::vector<int> ManyDates() {
    std::vector<int> days(kBookings);
    std::mt19937 random(9);
    for (int& d : days) d = static_cast<int>(random() % (JournalStaging::kMaxKeys + 1500));
    return days;
}

class JournalStagingOrderTest : public ::testing::TestWithParam<OrderCase> {};

// Staged, moved into the store and sorted, the bookings stand as the stable
// sort by date of the order added puts them; up to kMaxKeys dates the move
// alone does, and every date's bookings keep the order added either way.
TEST_P(JournalStagingOrderTest, MovesBookingsInTheOrderOfTheStableSort) {
    const std::vector<int> days = GetParam().days();
    std::vector<std::string> dates;
    for (const int d : days) dates.push_back(DateOfDay(d));
    BookingStore store(kBookings);
    JournalStaging staging(store);
    ASSERT_TRUE(staging.ok());
    for (int i = 0; i < kBookings; ++i) {
        StagedBooking b;
        b.bookingNo = i;
        b.date = dates[i];
        char field[sizeof(BookingRecord::date)];
        SetField(field, dates[i]);
        ASSERT_TRUE(staging.Add(DateKey(field), b));
    }
    staging.MoveInto("EUR");
    ASSERT_EQ(store.bookingCount, kBookings);
    EXPECT_EQ(staging.count(), 0u);

    std::vector<int> expected(kBookings);
    for (int i = 0; i < kBookings; ++i) expected[i] = i;
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
        return DateKey(std::string_view(dates[a])) < DateKey(std::string_view(dates[b]));
    });
    std::vector<int> lastOfDate(JournalStaging::kMaxKeys + 1500, -1);
    std::vector<int> moved;
    for (int i = 0; i < kBookings; ++i) {
        const int no = store[i].bookingNo;
        moved.push_back(no);
        ASSERT_LT(lastOfDate[days[no]], no) << "date " << dates[no];
        lastOfDate[days[no]] = no;
    }
    const bool fewDates = std::string(GetParam().name) != "ManyDates";
    if (fewDates) {
        EXPECT_EQ(moved, expected);
    }
    SortByDate(store);
    std::vector<int> sorted;
    for (int i = 0; i < kBookings; ++i) sorted.push_back(store[i].bookingNo);
    EXPECT_EQ(sorted, expected);
}

INSTANTIATE_TEST_SUITE_P(Orders, JournalStagingOrderTest,
                         ::testing::Values(OrderCase{"Sorted", Sorted},
                                           OrderCase{"Reverse", Reverse},
                                           OrderCase{"Random", Random},
                                           OrderCase{"AllEqual", AllEqual},
                                           OrderCase{"ManyDates", ManyDates}),
                         [](const auto& info) { return std::string(info.param.name); });

// Every byte of a moved record is what the import writes: the texts cut to
// their fields and zero-filled, the padding zero whatever the store held.
TEST(JournalStaging, WritesWholeRecordsWithTextsCutToTheirFields) {
    const std::string longText(300, 'x');
    StagedBooking b;
    b.bookingNo = 42;
    b.date = "05.03.2005";
    b.beleg = longText;
    b.name = "Müller";
    b.purpose = "";
    b.soll = 1200;
    b.haben = -8400;
    b.vat = 19;
    b.amount = longText;
    BookingStore store(4);
    std::memset(store.bookings.data(), 0xAB, 4 * sizeof(BookingRecord));
    JournalStaging staging(store);
    ASSERT_TRUE(staging.Add(20050305, b));
    staging.MoveInto("DM");

    BookingRecord expected;
    std::memset(&expected, 0, sizeof expected);
    expected.bookingNo = 42;
    SetField(expected.date, b.date);
    SetField(expected.beleg, b.beleg);
    SetField(expected.name, b.name);
    SetField(expected.purpose, b.purpose);
    expected.sollAccount = 1200;
    expected.habenAccount = -8400;
    expected.vatRate = 19;
    SetField(expected.amount, b.amount);
    SetField(expected.currency, "DM");
    ASSERT_EQ(store.bookingCount, 1);
    EXPECT_EQ(std::memcmp(&store[0], &expected, sizeof expected), 0);
}

TEST(JournalStaging, RefusesBookingsBeyondItsCapacity) {
    BookingStore store(3);
    JournalStaging staging(store);
    StagedBooking b;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(staging.Add(i, b));
    EXPECT_FALSE(staging.Add(7, b));
    EXPECT_EQ(staging.count(), 3u);
}

}  // namespace
}  // namespace belvaron
