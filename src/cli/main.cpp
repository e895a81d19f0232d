// belvaron-cli: the headless front end. It runs the main window's steps in
// the window's order, whatever the order of the options.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/CliUi.h"
#include "core/base/CodePage.h"
#include "core/base/DataFiles.h"
#include "core/bookings/BookingOperations.h"
#include "core/workflow/Workflow.h"

using belvaron::cli::CliOptions;

namespace {

// "Updates?": true when the check ran to its end or offered an update.
bool CheckUpdate(belvaron::cli::CliUi& ui, belvaron::Workflow& flow) {
    return flow.OnUpdates() || ui.updateOffered();
}

int Run(const CliOptions& options) {
    belvaron::cli::CliUi ui(options);
    belvaron::Workflow flow(ui);
    if (options.checkUpdate && options.journal.empty()) return CheckUpdate(ui, flow) ? 0 : 1;
    flow.folders.dataFolderOverride = options.dataDir;
    std::string programFolder = options.programDir.empty()
                                    ? belvaron::ProgramFolderFor(belvaron::ExecutableFolder())
                                    : options.programDir;
    if (!programFolder.empty() && programFolder.back() != '/') programFolder += '/';
    flow.OnInitDialog(programFolder);
    // Without --check no chart is chosen: the DATEV export then knows none.
    flow.chartFiles.clear();
    flow.chartFileIndex = -1;

    bool ok = true;
    flow.currency = options.currency;
    flow.OnSelectJournal();
    if (!flow.store.journalLoaded) ok = false;

    if (options.vatReport) {
        flow.OnTaxationIst();
        ok = flow.OnSelectVatReport() && ok;
    }
    if (options.replace) ok = flow.OnReplaceAccounts() && ok;
    if (options.check) {
        flow.chartFiles = {*options.check};
        flow.chartFileIndex = 0;
        ok = flow.OnKontenUeberpruefen() && ok;
    }
    if (options.deleteZero) flow.OnDeleteZeroBookings();
    if (options.datevFormat) {
        flow.datevFormatOverride = *options.datevFormat == "csv"
                                       ? belvaron::DatevExportFormat::Csv
                                       : belvaron::DatevExportFormat::Postversand;
    }
    if (options.datev) {
        // A bare name means the current folder, as for every other file.
        const std::filesystem::path target(*options.datev);
        flow.datevTargetPath =
            target.has_parent_path() ? target.string() : (std::filesystem::path(".") / target).string();
        ok = flow.OnDatenExportieren() && ok;
    }
    if (options.lexware) {
        flow.lexwareTargetPath = *options.lexware;
        ok = flow.OnExportLexware() && ok;
    }
    if (options.list) {
        for (int32_t i = 0; i < flow.store.bookingCount; ++i) {
            const std::string line =
                belvaron::Cp1252ToUtf8(belvaron::FormatListLine(flow.store, i));
            std::fwrite(line.data(), 1, line.size(), stdout);
            std::fputc('\n', stdout);
        }
        // A list that did not reach its reader (full disk, closed pipe) is a
        // failed step, not a silent success.
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            std::fputs("belvaron-cli: the booking list could not be written to standard "
                       "output.\n\n",
                       stderr);
            ok = false;
        }
    }
    if (options.checkUpdate) ok = CheckUpdate(ui, flow) && ok;
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto options = belvaron::cli::ParseOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "belvaron-cli: %s\n\n%s", error.c_str(), belvaron::cli::UsageText());
        return 2;
    }
    if (options->help) {
        std::fputs(belvaron::cli::UsageText(), stdout);
        return 0;
    }
    if (options->version) {
        std::printf("belvaron-cli %s\n", BELVARON_VERSION);
        return 0;
    }
    return Run(*options);
}
