#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/bookings/JournalImport.h"

namespace belvaron::cli {

// The command line of belvaron-cli. The options are a stable contract.
struct CliOptions {
    std::string journal;                     // --journal FILE (required)
    Currency currency = Currency::Euro;      // --currency EURO|DM
    std::string dataDir;                     // --data-dir DIR
    std::string programDir;                  // --program-dir DIR
    bool deleteZero = false;                 // --delete-zero
    std::optional<std::string> lexware;      // --lexware FILE
    bool list = false;                       // --list
    std::optional<std::string> vatReport;    // --vat-report FILE
    bool replace = false;                    // --replace
    std::optional<std::string> check;        // --check CHART
    bool propose = false;                    // --propose
    std::optional<std::string> datev;        // --datev PATH
    std::optional<std::string> from;         // --from DATE
    std::optional<std::string> to;           // --to DATE
    std::optional<std::string> datevFormat;  // --datev-format csv|postversand
    std::optional<std::string> datevBatch;   // --datev-batch year|month
    bool checkUpdate = false;                // --check-update
    bool help = false;                       // --help
    bool version = false;                    // --version
};

// Parses argv; on a usage error returns nullopt and sets `error`.
std::optional<CliOptions> ParseOptions(const std::vector<std::string>& args, std::string& error);

// The usage text printed by --help and after a usage error.
const char* UsageText();

}  // namespace belvaron::cli
