#include "JournalGenerator.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

namespace belvaron::bench {

namespace {

// The random draws of one journal booking, shared by the journal and the VAT
// report so both describe the same bookings.
struct Draw {
    int day;
    int month;
    bool namelessAccount;
};

Draw NextDraw(std::mt19937& random) {
    Draw d{};
    d.day = 1 + static_cast<int>(random() % 28);
    d.month = 1 + static_cast<int>(random() % 12);
    d.namelessAccount = random() % 100 == 0;
    return d;
}

// Whether booking `no`, after `made` records, is a split booking of two.
bool IsSplit(const JournalShape& shape, int made, int no) {
    return made + 2 <= shape.records && no % 2 == 0;
}

// The draws of every journal booking, in booking order; for a sorted or
// reverse order the dates are handed out again in that order (the accounts
// without number stay with their booking).
std::vector<Draw> Draws(const JournalShape& shape) {
    std::mt19937 random(42);
    std::vector<Draw> draws;
    // At most one booking per record.
    draws.reserve(static_cast<std::size_t>(shape.records));
    for (int made = 0, no = 1; made < shape.records; ++no) {
        draws.push_back(NextDraw(random));
        made += IsSplit(shape, made, no) ? 2 : 1;
    }
    if (shape.order != DateOrder::Random) {
        std::vector<int> keys;
        keys.reserve(draws.size());
        for (const Draw& d : draws) keys.push_back(d.month * 100 + d.day);
        std::sort(keys.begin(), keys.end());
        if (shape.order == DateOrder::Reverse) std::reverse(keys.begin(), keys.end());
        for (std::size_t i = 0; i < draws.size(); ++i) {
            draws[i].month = keys[i] / 100;
            draws[i].day = keys[i] % 100;
        }
    }
    return draws;
}

// A fixed scramble of the booking number, so the accounts of neighbouring
// bookings are unrelated and the random draws of the journal stay as they are.
uint64_t Scramble(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

int ExpenseAccount(const JournalShape& shape, int no) {
    return shape.manyAccounts ? 4000 + static_cast<int>(Scramble(no) % 1000) : 4930;
}

int CreditorAccount(const JournalShape& shape, int no) {
    return shape.manyAccounts
               ? 70000 + static_cast<int>(Scramble(~static_cast<uint64_t>(no)) % 10000)
               : 1600;
}

}  // namespace

bool GenerateJournal(std::FILE* f, const JournalShape& shape) {
    std::fputs(
        "\tBuchungs-Nr.\tDatum\tBeleg-Nr.\tName\tVerw.-Zweck\tKonto\tSplitt\tMwSt-Satz\tSoll"
        "\tHaben\r\n",
        f);
    const std::vector<Draw> draws = Draws(shape);
    int made = 0;
    for (int no = 1; made < shape.records; ++no) {
        const Draw d = draws[static_cast<std::size_t>(no - 1)];
        if (IsSplit(shape, made, no)) {
            char account[32];
            if (d.namelessAccount) {
                std::snprintf(account, sizeof account, "Bewirtung");
            } else {
                std::snprintf(account, sizeof account, "%d B\xFCrobedarf",
                              ExpenseAccount(shape, no));
            }
            const int creditor = CreditorAccount(shape, no);
            std::fprintf(f,
                         "\t%d\t%02d.%02d.2025\tER-%d\tSch\xE4"
                         "fer GmbH\tB\xFCromaterial\t"
                         "%d Verbindlichkeiten\t-SPLITTEN-\t\t\t119,00\r\n"
                         "\t\t\t\t\tB\xFCromaterial\t%s\t%d Verbindlichkeiten\t19%%\t100,00\t\r\n"
                         "\t\t\t\t\tVorsteuer 19%%\t1576 Vorsteuer\t%d Verbindlichkeiten\t19%%\t"
                         "19,00\t\r\n"
                         "\t\t\t\t\t\t\t\t\t119,00\t119,00\r\n\r\n",
                         no, d.day, d.month, no, creditor, account, creditor, creditor);
            made += 2;
        } else {
            std::fprintf(f,
                         "\t%d\t%02d.%02d.2025\tKA-%d\tPost AG\tPorto\t4910 Porto\t1000 Kasse\t\t"
                         "57,00\t\r\n"
                         "\t\t\t\t\tPorto\t1000 Kasse\t4910 Porto\t\t\t57,00\r\n"
                         "\t\t\t\t\t\t\t\t\t57,00\t57,00\r\n\r\n",
                         no, d.day, d.month, no);
            made += 1;
        }
    }
    return std::ferror(f) == 0;
}

bool GenerateVatReport(std::FILE* f, const JournalShape& shape, int percent) {
    std::fputs(
        "\tTyp\tDatum\tBuchungs-Nr.\tNummer\tName\tMWST-Code\tMWST-Satz\tKonto\tNettobetrag"
        "\tZahlbetrag\r\n"
        "Vorsteuer 19%\r\n",
        f);
    const std::vector<Draw> draws = Draws(shape);
    std::mt19937 pick(7);
    int made = 0;
    for (int no = 1; made < shape.records; ++no) {
        const Draw d = draws[static_cast<std::size_t>(no - 1)];
        if (!IsSplit(shape, made, no)) {
            made += 1;
            continue;
        }
        made += 2;
        if (static_cast<int>(pick() % 100) >= percent) continue;
        const int month = d.month < 12 ? d.month + 1 : 12;
        std::fprintf(f,
                     "\tRechnungszahlung\t%02d.%02d.2025\t%d\tER-%d\tSch\xE4"
                     "fer GmbH\tV19\t19%%\t1576 Vorsteuer\t100,00\t19,00\r\n",
                     d.day, month, no, no);
    }
    std::fputs("Summe Vorsteuer 19%\r\n", f);
    return std::ferror(f) == 0;
}

bool GenerateReplaceChain(std::FILE* f, int entries) {
    for (int i = 0; i < entries; ++i) {
        std::fprintf(f, "%d, 0, %d, %d, 0, 0  (Kette %d)\r\n", 4000 + i, 4001 + i, 4001 + i, i);
    }
    return std::ferror(f) == 0;
}

std::string GenerateJournalFile(const JournalShape& shape) {
    char pattern[] = "/tmp/belvaron-bench-XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0) std::abort();
    std::FILE* f = fdopen(fd, "wb");
    if (!f || !GenerateJournal(f, shape) || std::fclose(f) != 0) std::abort();
    return pattern;
}

}  // namespace belvaron::bench
