// Checks DATEV-Format (CSV) batch files against DATEV's rules for a batch
// file (DatevRules.h, the rules the core's tests apply), for the end-to-end
// tests of the command line.
//
// Usage: datev_rules_check FILE...
// Prints each broken rule as "FILE: problem" on standard output. Exit status:
// 0 when every file passes, 1 when a rule is broken, 2 when a file cannot be
// read or no file was named.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "DatevRules.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: datev_rules_check FILE...\n", stderr);
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "datev_rules_check: cannot read %s\n", argv[i]);
            return 2;
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        if (in.bad()) {
            std::fprintf(stderr, "datev_rules_check: cannot read %s\n", argv[i]);
            return 2;
        }
        for (const std::string& problem : belvaron::test::DatevRuleProblems(bytes)) {
            std::printf("%s: %s\n", argv[i], problem.c_str());
            status = 1;
        }
    }
    return status;
}
