#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/mapping/ReplaceList.h"

namespace belvaron {
namespace {

using E = ReplaceEntry;
using Stop = ReplaceOutcome::Stop;

// The accounts, rate and key of one booking.
struct B {
    int32_t soll;
    int32_t haben;
    int32_t vat;
    int32_t key;
    bool operator==(const B&) const = default;
};

std::ostream& operator<<(std::ostream& os, const B& b) {
    return os << "{S" << b.soll << " H" << b.haben << " @" << b.vat << " key " << b.key << "}";
}

std::vector<BookingRecord> Records(const std::vector<B>& bookings) {
    std::vector<BookingRecord> records;
    for (const B& b : bookings) {
        BookingRecord r{};
        r.sollAccount = b.soll;
        r.habenAccount = b.haben;
        r.vatRate = b.vat;
        r.datevKey = b.key;
        records.push_back(r);
    }
    return records;
}

std::vector<B> Summary(const std::vector<BookingRecord>& records) {
    std::vector<B> out;
    for (const BookingRecord& r : records) {
        out.push_back({r.sollAccount, r.habenAccount, r.vatRate, r.datevKey});
    }
    return out;
}

struct ApplyCase {
    const char* name;
    std::vector<ReplaceEntry> entries;
    std::vector<B> before;
    std::vector<B> after;
    int sollCount;
    int habenCount;
    Stop stop = Stop::None;
    int32_t stopAccount = 0;
};

std::ostream& operator<<(std::ostream& os, const ApplyCase& c) { return os << c.name; }

class ReplaceApply : public testing::TestWithParam<ApplyCase> {};

TEST_P(ReplaceApply, ChangesTheBookingsAsListed) {
    const ApplyCase& c = GetParam();
    std::vector<BookingRecord> records = Records(c.before);
    const ReplaceOutcome out = ApplyReplaceEntries(records, c.entries);
    EXPECT_EQ(Summary(records), c.after);
    EXPECT_EQ(out.sollCount, c.sollCount);
    EXPECT_EQ(out.habenCount, c.habenCount);
    EXPECT_EQ(out.stop, c.stop);
    if (c.stop != Stop::None) {
        EXPECT_EQ(out.qbAccount, c.stopAccount);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ReplaceApply,
    testing::Values(
        ApplyCase{"BothSidesOfOneBooking",
                  {E{1200, 0, 1800, 1600, 0, 0}},
                  {B{1200, 1200, 19, 0}},
                  {B{1800, 1600, 19, 0}},
                  1,
                  1},
        ApplyCase{"RateLinesBeforeTheGeneralLine",
                  {E{9401, 16, 1405, 3805, 0, 0}, E{9401, 0, 1400, 3800, 0, 0}},
                  {B{9401, 1200, 16, 0}, B{9401, 1200, 7, 0}, B{1200, 9401, 16, 0}},
                  {B{1405, 1200, 16, 0}, B{1400, 1200, 7, 0}, B{1200, 3805, 16, 0}},
                  2,
                  1},
        ApplyCase{"RateMustMatchUnlessZero",
                  {E{2200, 19, 1576, 1776, 0, 0}},
                  {B{2200, 1600, 7, 0}, B{1400, 2200, 19, 0}},
                  {B{2200, 1600, 7, 0}, B{1400, 1776, 19, 0}},
                  0,
                  1},
        ApplyCase{"ChainReplacesAgain",
                  {E{1200, 0, 1800, 1800, 0, 0}, E{1800, 0, 1900, 1900, 0, 0}},
                  {B{1200, 8400, 0, 0}},
                  {B{1900, 8400, 0, 0}},
                  2,
                  0},
        ApplyCase{"ChainBackwardsDoesNotLoop",
                  {E{1800, 0, 1900, 1900, 0, 0}, E{1200, 0, 1800, 1800, 0, 0}},
                  {B{1200, 8400, 0, 0}},
                  {B{1800, 8400, 0, 0}},
                  1,
                  0},
        ApplyCase{"FirstMatchingLineWinsForOneAccount",
                  {E{1200, 0, 1800, 1800, 0, 0}, E{1200, 0, 1900, 1900, 0, 0}},
                  {B{1200, 1200, 0, 0}},
                  {B{1800, 1800, 0, 0}},
                  1,
                  1},
        ApplyCase{"SelfMappingCountsAndSetsTheKey",
                  {E{8400, 0, 8400, 8400, 40, 0}},
                  {B{1400, 8400, 19, 0}},
                  {B{1400, 8400, 19, 40}},
                  0,
                  1},
        ApplyCase{"PreconditionMetOrNot",
                  {E{1800, 0, 1810, 1810, 0, 8400}},
                  {B{1800, 8400, 0, 0}, B{1800, 8300, 0, 0}},
                  {B{1810, 8400, 0, 0}, B{1800, 8300, 0, 0}},
                  1,
                  0},
        ApplyCase{"PreconditionAnywhereInTheList",
                  {E{4000, 0, 4001, 4001, 0, 0}, E{1800, 0, 1810, 1810, 0, 8400}},
                  {B{1800, 8400, 0, 0}, B{1800, 8300, 0, 0}},
                  {B{1810, 8400, 0, 0}, B{1800, 8300, 0, 0}},
                  1,
                  0},
        ApplyCase{"PreconditionOnTheSameSide",
                  {E{1800, 0, 1810, 1810, 0, 1800}},
                  {B{1800, 8400, 0, 0}},
                  {B{1810, 8400, 0, 0}},
                  1,
                  0},
        ApplyCase{"PreconditionSeesEarlierReplacements",
                  {E{8400, 0, 8401, 8401, 0, 0}, E{1800, 0, 1810, 1810, 0, 8400},
                   E{1800, 0, 1820, 1820, 0, 8401}},
                  {B{1800, 8400, 0, 0}},
                  {B{1820, 8401, 0, 0}},
                  1,
                  1},
        ApplyCase{"BothSidesOfAnEntryUseThePairBeforeIt",
                  {E{1200, 0, 1300, 1400, 0, 1200}},
                  {B{1200, 1200, 0, 0}},
                  {B{1300, 1400, 0, 0}},
                  1,
                  1},
        ApplyCase{"FirstReplacingEntrySetsKeyZero",
                  {E{1200, 0, 1800, 1800, 0, 0}},
                  {B{1200, 8400, 0, 40}},
                  {B{1800, 8400, 0, 0}},
                  1,
                  0},
        ApplyCase{"LaterKeyAboveZeroWinsLaterZeroKeeps",
                  {E{1200, 0, 1800, 1800, 0, 0}, E{8400, 0, 8400, 8400, 40, 0},
                   E{1800, 0, 1900, 1900, 0, 0}},
                  {B{1200, 8400, 19, 7}},
                  {B{1900, 8400, 19, 40}},
                  2,
                  1},
        ApplyCase{"KeyUntouchedWithoutReplacement",
                  {E{1200, 0, 1800, 1800, 40, 4711}},
                  {B{1200, 8400, 0, 3}},
                  {B{1200, 8400, 0, 3}},
                  0,
                  0},
        ApplyCase{"KeySetAgainInTheNextBooking",
                  {E{8400, 0, 8400, 8400, 40, 0}, E{1400, 0, 1410, 1410, 0, 0}},
                  {B{1400, 8400, 19, 0}, B{1400, 1200, 0, 40}},
                  {B{1410, 8400, 19, 40}, B{1410, 1200, 0, 0}},
                  2,
                  1},
        ApplyCase{"HabenOnlyEntryWithZeroSoll",
                  {E{9500, 0, 0, 4840, 0, 0}},
                  {B{1200, 9500, 0, 0}},
                  {B{1200, 4840, 0, 0}},
                  0,
                  1},
        ApplyCase{"ZeroSollStopsAfterEarlierBookings",
                  {E{9500, 0, 0, 4840, 0, 0}},
                  {B{1200, 9500, 0, 0}, B{9500, 1200, 0, 0}, B{1200, 9500, 0, 0}},
                  {B{1200, 4840, 0, 0}, B{9500, 1200, 0, 0}, B{1200, 9500, 0, 0}},
                  0,
                  1,
                  Stop::SollZero,
                  9500},
        ApplyCase{"ZeroCheckComesBeforeThePrecondition",
                  {E{9500, 0, 0, 4840, 0, 7777}},
                  {B{9500, 1200, 0, 0}},
                  {B{9500, 1200, 0, 0}},
                  0,
                  0,
                  Stop::SollZero,
                  9500},
        ApplyCase{"ZeroHabenStopsKeepingTheSollSide",
                  {E{1200, 0, 1800, 0, 0, 0}},
                  {B{1200, 1200, 0, 0}},
                  {B{1800, 1200, 0, 0}},
                  1,
                  0,
                  Stop::HabenZero,
                  1200},
        ApplyCase{"ZeroOnAnUnusedSideIsNoError",
                  {E{1200, 19, 0, 0, 0, 0}},
                  {B{1200, 1200, 7, 0}},
                  {B{1200, 1200, 7, 0}},
                  0,
                  0},
        ApplyCase{
            "NoEntriesChangeNothing", {}, {B{1200, 8400, 19, 5}}, {B{1200, 8400, 19, 5}}, 0, 0}),
    [](const testing::TestParamInfo<ApplyCase>& info) { return std::string(info.param.name); });

// The file-order loop written out plainly: every entry for every booking.
ReplaceOutcome Reference(std::vector<BookingRecord>& bookings,
                         const std::vector<ReplaceEntry>& entries) {
    ReplaceOutcome out;
    for (BookingRecord& b : bookings) {
        bool keySet = false;
        int32_t prevSoll = b.sollAccount;
        int32_t prevHaben = b.habenAccount;
        for (const ReplaceEntry& e : entries) {
            const bool rate = e.vatRate == 0 || e.vatRate == b.vatRate;
            const bool pre = e.preconditionAccount == 0 || e.preconditionAccount == prevHaben ||
                             e.preconditionAccount == prevSoll;
            if (e.qbAccount == b.sollAccount && rate) {
                if (e.sollAccount == 0)
                    return {Stop::SollZero, e.qbAccount, out.sollCount, out.habenCount};
                if (pre) {
                    b.sollAccount = e.sollAccount;
                    if (e.datevKey > 0 || !keySet) b.datevKey = e.datevKey;
                    ++out.sollCount;
                    keySet = true;
                }
            }
            if (e.qbAccount == b.habenAccount && rate) {
                if (e.habenAccount == 0)
                    return {Stop::HabenZero, e.qbAccount, out.sollCount, out.habenCount};
                if (pre) {
                    b.habenAccount = e.habenAccount;
                    if (e.datevKey > 0 || !keySet) b.datevKey = e.datevKey;
                    ++out.habenCount;
                    keySet = true;
                }
            }
            prevSoll = b.sollAccount;
            prevHaben = b.habenAccount;
        }
    }
    return out;
}

// Random lists over a few accounts, so that chains, cycles, preconditions,
// rates and keys meet often; now and then a zero replacement. Bookings with
// the same accounts and rate but different keys share one remembered walk.
TEST(ReplaceApplyProperty, IndexedWalkEqualsThePlainFileOrderLoop) {
    std::mt19937 random(20250101);
    auto pick = [&](int n) { return static_cast<int32_t>(random() % static_cast<unsigned>(n)); };
    const int32_t accounts[] = {1200, 1400, 1600, 1800, 2200, 8400, 0};
    const int32_t rates[] = {0, 0, 7, 19};
    for (int round = 0; round < 3000; ++round) {
        std::vector<ReplaceEntry> entries(static_cast<std::size_t>(pick(12)));
        const bool zeros = round % 5 == 0;
        for (ReplaceEntry& e : entries) {
            e.qbAccount = accounts[pick(6)];
            e.vatRate = rates[pick(4)];
            e.sollAccount = zeros && pick(8) == 0 ? 0 : accounts[pick(6)];
            e.habenAccount = zeros && pick(8) == 0 ? 0 : accounts[pick(6)];
            // Keys below 0 too: the first entry applied sets any key.
            e.datevKey = pick(3) == 0 ? 40 : pick(4) == 0 ? -3 : 0;
            e.preconditionAccount = pick(3) == 0 ? accounts[pick(7)] : 0;
        }
        // Now and then many bookings, so that equal accounts and rates recur.
        const int count = round % 10 == 0 ? 300 : 1 + pick(8);
        std::vector<B> bookings(static_cast<std::size_t>(count));
        for (B& b : bookings)
            b = {accounts[pick(7)], accounts[pick(7)], rates[pick(4)], pick(2) * 9};
        std::vector<BookingRecord> fast = Records(bookings);
        std::vector<BookingRecord> plain = Records(bookings);
        const ReplaceOutcome a = ApplyReplaceEntries(fast, entries);
        const ReplaceOutcome b = Reference(plain, entries);
        ASSERT_EQ(Summary(fast), Summary(plain)) << "round " << round;
        ASSERT_EQ(a.stop, b.stop) << "round " << round;
        ASSERT_EQ(a.qbAccount, b.qbAccount) << "round " << round;
        ASSERT_EQ(a.sollCount, b.sollCount) << "round " << round;
        ASSERT_EQ(a.habenCount, b.habenCount) << "round " << round;
    }
}

// Far more distinct account pairs than any fixed table would hold, each met
// twice (once remembered, once walked) and many of them entering a chain:
// every remembered result equals a fresh walk.
TEST(ReplaceApplyProperty, ManyDistinctAccountPairsAllRememberedCorrectly) {
    std::vector<ReplaceEntry> entries;
    for (int32_t i = 0; i < 40; ++i)
        entries.push_back({4000 + i, i % 3 == 0 ? 19 : 0, 4001 + i, 4001 + i, i % 7 == 0 ? 40 : 0,
                           i % 5 == 0 ? 70000 + i : 0});
    std::vector<B> bookings;
    for (int32_t i = 0; i < 150'000; ++i) {
        const B b{4000 + i % 50, 70000 + i / 50, i % 2 ? 19 : 7, i % 3};
        bookings.push_back(b);
        bookings.push_back({b.soll, b.haben, b.vat, (b.key + 1) % 3});
    }
    std::vector<BookingRecord> fast = Records(bookings);
    std::vector<BookingRecord> plain = Records(bookings);
    const ReplaceOutcome a = ApplyReplaceEntries(fast, entries);
    const ReplaceOutcome b = Reference(plain, entries);
    EXPECT_TRUE(Summary(fast) == Summary(plain));
    EXPECT_EQ(a.stop, b.stop);
    EXPECT_EQ(a.sollCount, b.sollCount);
    EXPECT_EQ(a.habenCount, b.habenCount);
}

}  // namespace
}  // namespace belvaron
