// belvaron-genjournal: writes the benchmark inputs.
//   belvaron-genjournal journal RECORDS [--many-accounts] > journal.txt
//   belvaron-genjournal vat RECORDS PERCENT [--many-accounts] > mwst.txt
//   belvaron-genjournal replace ENTRIES > replace.dat
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "JournalGenerator.h"

namespace {

int Usage() {
    std::fputs(
        "usage: belvaron-genjournal journal RECORDS [--many-accounts]\n"
        "       belvaron-genjournal vat RECORDS PERCENT [--many-accounts]\n"
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
    const bool many = std::strcmp(argv[argc - 1], "--many-accounts") == 0;
    shape.manyAccounts = many;
    const int rest = argc - 3 - (many ? 1 : 0);
    bool ok = false;
    if (what == "journal" && rest == 0) {
        ok = GenerateJournal(stdout, shape);
    } else if (what == "vat" && rest == 1) {
        const int percent = Count(argv[3]);
        if (percent < 0 || percent > 100) return Usage();
        ok = GenerateVatReport(stdout, shape, percent);
    } else if (what == "replace" && rest == 0 && !many) {
        ok = GenerateReplaceChain(stdout, shape.records);
    } else {
        return Usage();
    }
    return ok && std::fflush(stdout) == 0 ? 0 : 1;
}
