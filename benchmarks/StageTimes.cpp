// belvaron-stages: the time of each step of one whole conversion, measured
// inside one process, so that a step's time is not the difference of two
// noisy whole runs. Runs the command line's steps in its order through the
// same Workflow calls as ConversionJob::Run, without a screen, and prints one
// JSON object per step and a last one for the random-order sort:
//   {"stage": "journal load", "wall_s": 0.172, "cpu_s": 0.2, "fsync_s": 0.0}
//
//   belvaron-stages [--no-fsync] JOURNAL VAT_REPORT DATA_FOLDER WORK_FOLDER
//
// DATA_FOLDER holds replace.dat, angaben_datev.txt and SK3_DATEV.kon (as
// scripts/bench writes them); the exports go to WORK_FOLDER. The CPU time is
// the process's, helper threads included. fsync_s is the time the step's
// threads spent in fsync (summed, so it can exceed the wall time when two
// files are flushed at once); --no-fsync skips the flushes, so that a step's
// wall time is its own work without the disk's.
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "core/base/BlockWriter.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/BookingStore.h"
#include "core/bookings/JournalImport.h"
#include "core/datev/DatevSettingsFile.h"
#include "core/platform/Files.h"
#include "core/workflow/ConversionJob.h"
#include "core/workflow/Workflow.h"

namespace {

std::atomic<bool> skipFsync{false};
std::atomic<long long> fsyncNanoseconds{0};

}  // namespace

// Takes the place of the C library's fsync for the core linked into this
// program: measures each flush, or skips it under --no-fsync.
extern "C" int fsync(int fd) {
    if (skipFsync) return 0;
    const auto start = std::chrono::steady_clock::now();
    const int result = static_cast<int>(syscall(SYS_fsync, fd));
    fsyncNanoseconds += std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
    return result;
}

namespace {

using namespace belvaron;

// A window port that shows nothing and answers every question with No.
class SilentUi : public WindowPort {
public:
    MessageAnswer ShowMessage(std::string_view, MessageIcon, MessageButtons buttons) override {
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    std::optional<std::string> ChooseFile(const FileDialogRequest&) override { return {}; }
    void SortStarted(int) override {}
    void SortProgress(int) override {}
    void SortFinished() override {}
    bool ShowUpdateDialog(const UpdateDialogTexts&) override { return false; }
    std::unique_ptr<ProgressWindow> OpenProgressWindow(const std::string&) override {
        return std::make_unique<SilentProgress>();
    }
    void ExitProgram(int) override {}
    void ListCleared() override {}
    void ListRefilled(const BookingStore&, std::span<const int>) override {}
    void RefreshControls() override {}
    void SetVatControlsEnabled(bool) override {}
    std::optional<BookingRecord> EditBooking(const BookingRecord&) override { return {}; }
    bool EditDatevSettings(DatevSettings&, DatevRange&, const std::string&) override {
        return false;
    }

private:
    class SilentProgress : public ProgressWindow {
    public:
        void SetProgressRange(int, int, int) override {}
        void FitLayout(int, int) override {}
        void SetStatusText(const std::string&) override {}
        int SetProgress(int) override { return 0; }
        void PumpMessages(bool) override {}
        bool cancelled() const override { return false; }
    };
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs `step` and prints its wall and CPU seconds; false when it failed.
bool Timed(const char* stage, const std::function<bool()>& step) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuSeconds();
    const long long fsyncStart = fsyncNanoseconds;
    const bool ok = step();
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double inFsync = static_cast<double>(fsyncNanoseconds - fsyncStart) / 1e9;
    std::printf(
        "{\"stage\": \"%s\", \"wall_s\": %.4f, \"cpu_s\": %.4f, \"fsync_s\": %.4f, \"ok\": %s}\n",
        stage, wall, CpuSeconds() - cpuStart, inFsync, ok ? "true" : "false");
    std::fflush(stdout);
    return ok;
}

// The list of the whole store into `path`, as belvaron-cli --list writes it.
bool WriteList(const BookingStore& store, const std::string& path) {
    std::FILE* file = platform::OpenFile(path, "wb");
    if (!file) return false;
    bool ok = true;
    {
        BlockWriter blocks(file);
        ok = DeliverList(store, [&blocks](std::string_view lines) { return blocks.Write(lines); });
        ok = blocks.Drain() == 0 && ok;
    }
    return std::fclose(file) == 0 && ok;
}

// The journal loaded into a store of its own, its records shuffled, then
// sorted by date.
bool SortRandomOrder(const std::string& journal) {
    BookingStore store;
    ImportGrid grid;
    if (!LoadJournal(store, grid, journal, Currency::Euro).loaded) return false;
    std::shuffle(store.bookings.data(), store.bookings.data() + store.bookingCount,
                 std::mt19937(42));
    return Timed("sort of a random order", [&] {
        SortByDate(store);
        return true;
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--no-fsync") {
        skipFsync = true;
        --argc;
        ++argv;
    }
    if (argc != 5) {
        std::fputs(
            "usage: belvaron-stages [--no-fsync] JOURNAL VAT_REPORT DATA_FOLDER WORK_FOLDER\n",
            stderr);
        return 2;
    }
    const std::string journal = argv[1], vat = argv[2], data = argv[3], work = argv[4];
    SilentUi ui;
    Workflow flow(ui);
    flow.SetDataFolderOverride(data);
    flow.Start(std::string(), "SK3_DATEV.kon");
    ConversionJob job;
    job.chart = "SK3_DATEV.kon";
    job.datevTarget = platform::JoinPath(work, "EXTF");

    bool ok = Timed("journal load", [&] { return flow.LoadJournal(journal, Currency::Euro); });
    ok = Timed("VAT report (re-date, re-sort)", [&] { return flow.ImportVatReport(vat); }) && ok;
    ok = Timed("REPLACE (1,000-entry chain)", [&] { return flow.ReplaceAccounts(); }) && ok;
    ok = Timed("account check", [&] { return flow.CheckAccounts("SK3_DATEV.kon"); }) && ok;
    ok = Timed("delete account 0",
               [&] {
                   flow.DeleteZeroAccountBookings();
                   return true;
               }) &&
         ok;
    ok = Timed("DATEV CSV export",
               [&] {
                   const auto request = DatevRequest(job, flow, ui);
                   return request && flow.ExportDatev(*request);
               }) &&
         ok;
    ok = Timed("Lexware export",
               [&] { return flow.ExportLexware(platform::JoinPath(work, "buchhalter.txt")); }) &&
         ok;
    ok = Timed("--list to a file",
               [&] { return WriteList(flow.store(), platform::JoinPath(work, "list.txt")); }) &&
         ok;
    ok = SortRandomOrder(journal) && ok;
    return ok ? 0 : 1;
}
