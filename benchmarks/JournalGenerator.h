#pragma once

#include <cstdio>
#include <string>

namespace belvaron::bench {

// The order of the journal's booking dates.
enum class DateOrder { Random, Sorted, Reverse };

// What GenerateJournal writes.
struct JournalShape {
    int records = 1'000'000;  // store records the journal loads into
    // Spread the expense accounts over 4000..4999 and the creditor accounts
    // over 70000..79999 (nearly every split booking its own account pair)
    // instead of one of each.
    bool manyAccounts = false;
    // Random: each booking's date drawn on its own; Sorted / Reverse: the
    // same dates handed out in ascending / descending order.
    DateOrder order = DateOrder::Random;
};

// Writes a QuickBooks journal in the shape's date order (seed 42): split bookings
// of three lines (two records each) and simple ones of two lines (one
// record), about 1 in 100 with an account without number. False when a
// write failed.
bool GenerateJournal(std::FILE* out, const JournalShape& shape);

// Writes a VAT detail report that pays the input-VAT line (account 1576) of
// `percent` of the journal's split bookings on a later date, for the journal
// GenerateJournal writes with the same shape.
bool GenerateVatReport(std::FILE* out, const JournalShape& shape, int percent);

// Writes a REPLACE list of `entries` lines that hand each expense account on
// to the next one: 4000 -> 4001 -> ... , a chain every booking of account
// 4000 walks to its end.
bool GenerateReplaceChain(std::FILE* out, int entries);

// A journal in a new file in the temporary folder; its path.
std::string GenerateJournalFile(const JournalShape& shape);

}  // namespace belvaron::bench
