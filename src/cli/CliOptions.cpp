#include "cli/CliOptions.h"

#include <functional>
#include <map>

namespace belvaron::cli {

const char* UsageText() {
    return "Usage: belvaron-cli --journal FILE [options]\n"
           "\n"
           "Converts a QuickBooks journal (TAB-separated text) like the desktop program's\n"
           "steps, always in this order: journal, VAT report, replace, check, delete-zero,\n"
           "DATEV export, Lexware export, list.\n"
           "\n"
           "  --journal FILE         step 3: load the journal (required)\n"
           "  --currency EURO|DM     step 2: the journal's currency (default EURO)\n"
           "  --vat-report FILE      step 4: IST-Besteuerung with this VAT detail report\n"
           "  --replace              step 5: \"Konten ersetzen\" with replace.dat\n"
           "  --check CHART          step 5: \"Konten ueberpruefen\" against chart file CHART\n"
           "  --propose              answer Yes to the REPLACE proposal question\n"
           "  --delete-zero          \"'0' Buch. loeschen\"\n"
           "  --datev PATH           step 6: DATEV export into the folder of PATH\n"
           "  --from DATE, --to DATE the DATEV export range (default: all bookings)\n"
           "  --datev-format csv|postversand\n"
           "                         DATEV output format for this run\n"
           "  --datev-batch year|month\n"
           "                         CSV batches per fiscal year or per month (the settings\n"
           "                         dialog's \"Stapel\" field, saved with the settings)\n"
           "  --lexware FILE         step 6: Lexware Buchhalter export into FILE\n"
           "  --list                 print every booking's list line on standard output\n"
           "  --data-dir DIR         the per-user data folder (replace.dat, angaben_datev.txt,\n"
           "                         Konto_Ueberpruefung.txt, error_mwst.log)\n"
           "  --program-dir DIR      the folder of the shipped default data files\n"
           "  --check-update         check the update server and report the versions\n"
           "  --help                 this text\n"
           "  --version              the program's version\n"
           "\n"
           "Every message is written to standard error, followed by an empty line.\n"
           "Exit status: 0 success, 1 a step was refused or failed, 2 usage error.\n";
}

std::optional<CliOptions> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    CliOptions o;
    using Setter = std::function<bool(const std::string&)>;
    const std::map<std::string, Setter> withValue = {
        {"--journal",
         [&](const std::string& v) {
             o.journal = v;
             return true;
         }},
        {"--currency",
         [&](const std::string& v) {
             if (v == "EURO")
                 o.currency = Currency::Euro;
             else if (v == "DM")
                 o.currency = Currency::DM;
             else
                 return false;
             return true;
         }},
        {"--data-dir",
         [&](const std::string& v) {
             o.dataDir = v;
             return true;
         }},
        {"--program-dir",
         [&](const std::string& v) {
             o.programDir = v;
             return true;
         }},
        {"--lexware",
         [&](const std::string& v) {
             o.lexware = v;
             return true;
         }},
        {"--vat-report",
         [&](const std::string& v) {
             o.vatReport = v;
             return true;
         }},
        {"--check",
         [&](const std::string& v) {
             o.check = v;
             return true;
         }},
        {"--datev",
         [&](const std::string& v) {
             if (v.empty()) return false;  // no target at all, not the current folder
             o.datev = v;
             return true;
         }},
        {"--from",
         [&](const std::string& v) {
             o.from = v;
             return true;
         }},
        {"--to",
         [&](const std::string& v) {
             o.to = v;
             return true;
         }},
        {"--datev-format",
         [&](const std::string& v) {
             if (v != "csv" && v != "postversand") return false;
             o.datevFormat = v;
             return true;
         }},
        {"--datev-batch",
         [&](const std::string& v) {
             if (v != "year" && v != "month") return false;
             o.datevBatch = v;
             return true;
         }},
    };
    const std::map<std::string, bool*> flags = {
        {"--delete-zero", &o.deleteZero},   {"--list", &o.list},
        {"--replace", &o.replace},          {"--propose", &o.propose},
        {"--check-update", &o.checkUpdate}, {"--help", &o.help},
        {"--version", &o.version},
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (auto f = flags.find(a); f != flags.end()) {
            *f->second = true;
            continue;
        }
        auto s = withValue.find(a);
        if (s == withValue.end()) {
            error = "unknown option: " + a;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = "option " + a + " needs a value";
            return std::nullopt;
        }
        if (!s->second(args[++i])) {
            error = "invalid value for " + a + ": " + args[i];
            return std::nullopt;
        }
    }
    if (!o.help && !o.version && !o.checkUpdate && o.journal.empty()) {
        error = "--journal FILE is required";
        return std::nullopt;
    }
    return o;
}

}  // namespace belvaron::cli
