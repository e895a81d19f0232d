#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "FakeUi.h"
#include "StoreSupport.h"
#include "core/base/FixedText.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/BookingStore.h"

namespace belvaron {
namespace {

using test::Append;
using test::FakeUi;

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
    FakeUi ui;
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
        SortByDate(store, ui);
        std::vector<int> order;
        for (int i = 0; i < store.bookingCount; ++i) order.push_back(store[i].bookingNo);
        ASSERT_EQ(order, ExchangeSortOrder(records)) << "round " << round;
    }
    EXPECT_EQ(ui.sortsStarted, 50);
    EXPECT_EQ(ui.sortsFinished, 50);
}

TEST_F(StoreTest, SortKeepsWholeRecords) {
    Append(store, MakeBooking(2, "02.01.2005", 1200, 8400));
    Append(store, MakeBooking(1, "01.01.2005", 1000, 8300));
    SortByDate(store, ui);
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
    EXPECT_TRUE(ui.messages.empty());  // the caller reports the count
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
