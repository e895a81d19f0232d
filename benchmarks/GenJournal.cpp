// belvaron-genjournal: writes the benchmark inputs.
//   belvaron-genjournal journal RECORDS [--sorted|--reverse] [--many-accounts] > journal.txt
//   belvaron-genjournal vat RECORDS PERCENT [--sorted|--reverse] [--many-accounts] > mwst.txt
//   belvaron-genjournal replace ENTRIES > replace.dat
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "JournalGenerator.h"

namespace {

int Usage() {
    std::fputs(
        "usage: belvaron-genjournal journal RECORDS [--sorted|--reverse] [--many-accounts]\n"
        "       belvaron-genjournal vat RECORDS PERCENT [--sorted|--reverse] [--many-accounts]\n"
        "       belvaron-genjournal replace ENTRIES\n",
        stderr);
    return 2;
}

int Count(const char* text) {
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    return *end == '\0' && n > 0 && n <= 100'000'000 ? static_cast<int>(n) : -1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace belvaron::bench;
    if (argc < 3) return Usage();
    const std::string what = argv[1];
    JournalShape shape;
    shape.records = Count(argv[2]);
    if (shape.records < 0) return Usage();
    // The counts after RECORDS, and the flags, in any order.
    std::vector<const char*> counts;
    bool flags = false;
    for (int i = 3; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) != 0) {
            counts.push_back(argv[i]);
            continue;
        }
        flags = true;
        if (std::strcmp(argv[i], "--many-accounts") == 0) {
            shape.manyAccounts = true;
        } else if (std::strcmp(argv[i], "--sorted") == 0) {
            shape.order = DateOrder::Sorted;
        } else if (std::strcmp(argv[i], "--reverse") == 0) {
            shape.order = DateOrder::Reverse;
        } else {
            return Usage();
        }
    }
    const std::size_t rest = counts.size();
    bool ok = false;
    if (what == "journal" && rest == 0) {
        ok = GenerateJournal(stdout, shape);
    } else if (what == "vat" && rest == 1) {
        const int percent = Count(counts[0]);
        if (percent < 0 || percent > 100) return Usage();
        ok = GenerateVatReport(stdout, shape, percent);
    } else if (what == "replace" && rest == 0 && !flags) {
        ok = GenerateReplaceChain(stdout, shape.records);
    } else {
        return Usage();
    }
    return ok && std::fflush(stdout) == 0 ? 0 : 1;
}
