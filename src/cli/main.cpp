// belvaron-cli: the headless front end. It turns the options into one
// conversion job and runs it; the job runs the window's steps in the
// window's order, whatever the order of the options.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/CliUi.h"
#include "core/base/BlockWriter.h"
#include "core/base/DataFiles.h"
#include "core/base/WriteSignals.h"
#include "core/platform/Files.h"
#include "core/platform/System.h"
#include "core/update/Version.h"
#include "core/workflow/ConversionJob.h"

namespace {

using belvaron::cli::CliOptions;

belvaron::ConversionJob JobFrom(const CliOptions& options) {
    belvaron::ConversionJob job;
    job.journal = options.journal;
    job.currency = options.currency;
    job.dataFolder = options.dataDir;
    job.programFolder = options.programDir.empty()
                            ? belvaron::ProgramFolderFor(belvaron::ExecutableFolder())
                            : options.programDir;
    // Ending with a separator, as the job takes it.
    job.programFolder = belvaron::platform::JoinPath(job.programFolder, "");
    job.vatReport = options.vatReport;
    job.replace = options.replace;
    job.chart = options.check;
    job.deleteZero = options.deleteZero;
    job.datevTarget = options.datev;
    job.from = options.from;
    job.to = options.to;
    if (options.datevFormat) {
        job.datevFormat = *options.datevFormat == "csv" ? belvaron::DatevExportFormat::Csv
                                                        : belvaron::DatevExportFormat::Postversand;
    }
    if (options.datevBatch) {
        job.datevBatch = *options.datevBatch == "month" ? belvaron::DatevBatchPeriod::Month
                                                        : belvaron::DatevBatchPeriod::FiscalYear;
    }
    job.lexwareTarget = options.lexware;
    job.checkUpdate = options.checkUpdate;
    return job;
}

int Run(const CliOptions& options) {
    belvaron::cli::CliUi ui(options);
    const belvaron::ConversionJob job = JobFrom(options);
    // The list goes to standard output on a thread of its own, so the next
    // lines are formed while the last ones are written; not when the update
    // check's messages follow it on the console.
    std::optional<belvaron::BlockWriter> list;
    if (options.list && !options.checkUpdate) {
        try {
            list.emplace(stdout);
        } catch (const std::system_error&) {
            // No thread to be had: the lines are written on this one.
        }
    }
    auto print = [&list](std::string_view lines) {
        if (list) return list->Write(lines);
        return std::fwrite(lines.data(), 1, lines.size(), stdout) == lines.size();
    };
    const auto result = job.Run(ui, options.list ? belvaron::ConversionJob::ListSink(print)
                                                 : belvaron::ConversionJob::ListSink());
    bool ok = result.stepsOk;
    const int listError = list ? list->Drain() : 0;
    list.reset();
    if (options.list && (listError != 0 || std::fflush(stdout) != 0 || std::ferror(stdout))) {
        // A list that did not reach its reader (full disk, closed pipe) is a
        // failed step, not a silent success.
        std::fputs(
            "belvaron-cli: the booking list could not be written to standard "
            "output.\n\n",
            stderr);
        ok = false;
    }
    // The command line declines every update it is offered: the check then
    // still ran to its end.
    if (result.updateCheck) ok = (*result.updateCheck || ui.updateOffered()) && ok;
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // A full disk under a file-size limit or a closed pipe is a write error
    // with its message, not a silent end of the program.
    belvaron::TurnWriteSignalsIntoErrors();
    belvaron::platform::PrepareConsole();
    const std::vector<std::string> args = belvaron::platform::CommandLineArguments(argc, argv);
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
        std::printf("belvaron-cli %s\n", belvaron::ProgramVersion().c_str());
        return 0;
    }
    return Run(*options);
}
