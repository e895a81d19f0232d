#include "core/datev/AccountCheck.h"

#include <memory>
#include <utility>

#include "core/base/DataFiles.h"
#include "core/base/FileWriter.h"
#include "core/base/Format.h"
#include "core/base/InputFile.h"
#include "core/base/ReservedMemory.h"
#include "core/base/TracePoint.h"
#include "core/bookings/BookingStore.h"
#include "core/datev/AccountCheckMessages.h"
#include "core/platform/Files.h"

namespace belvaron {

namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Appends the proposals to the REPLACE list at `path`: the old content, a
// line break when it does not end with one, the new lines; written as a
// complete new file.
bool AppendProposals(const std::string& path, const std::string& proposals) {
    std::string bytes;
    if (FileExists(path) && !ReadWholeFile(path, bytes)) return false;
    if (!proposals.empty() && !bytes.empty() && bytes.back() != '\n') bytes += "\r\n";
    bytes += proposals;
    return WriteFileReplacing(path, bytes);
}

}  // namespace

std::string ChartPath(const std::function<std::string(const std::string&)>& resolveDataFile,
                      const std::string& name) {
    if (platform::LastPathSeparator(name) != std::string::npos) return name;
    const std::string path = resolveDataFile(name);
    if (!name.empty() && !FileExists(path) && FileExists(name)) return name;
    return path;
}

// The stages of a check, as its progress counts them.
constexpr int64_t kCheckStages = 3;

AccountCheckOutcome CheckAccounts(const BookingStore& store, const AccountCheckFiles& files,
                                  const Progress* progress) {
    AccountCheckOutcome outcome;
    TracePoint = 3048;
    const ReservedArray<int32_t> table(kAccountLimit);
    if (!table.ok()) {
        outcome.notices.Plain(msg::kE311);
        return outcome;
    }
    const std::span<int32_t> states(table.data(), kAccountLimit);

    const std::string& chartPath = files.chartPath;
    InputFile chart = ReadInputFile(chartPath, kMaxChartFileBytes);
    if (chart.status != InputStatus::Read) {
        outcome.notices.Plain(Format(msg::kE306, chartPath.c_str()));
        return outcome;
    }
    FileWriter report;
    if (!report.Open(files.reportPath)) {
        outcome.notices.Plain(msg::kE307);
        return outcome;
    }

    TracePoint = 3049;
    const ChartReadResult read = ReadChart(chart.bytes, states);  // the table reads as zeros
    chart.bytes = std::string();
    if (read.readError) {
        outcome.notices.Plain(Format(msg::kE306, chartPath.c_str()));
        return outcome;
    }
    // A cancel abandons the new report: the old one stays.
    if (!GoOn(progress, 1, kCheckStages)) {
        outcome.cancelled = true;
        return outcome;
    }

    TracePoint = 3052;
    const std::size_t count =
        store.bookingCount > 0 ? static_cast<std::size_t>(store.bookingCount) : 0;
    const MarkResult marked = MarkUsedAccounts({store.bookings.data(), count}, states);
    if (!GoOn(progress, 2, kCheckStages)) {
        outcome.cancelled = true;
        return outcome;
    }
    outcome.counts = marked.counts;
    if (marked.tooLarge) {
        const BookingRecord& b = store[static_cast<int32_t>(*marked.tooLarge)];
        outcome.notices.Plain(Format(msg::kE312, kAccountLimit, b.sollAccount, b.habenAccount));
        report.Commit();  // the report is left empty
        return outcome;
    }

    TracePoint = 3055;
    std::string text = BuildAccountReport(states, marked.negativeAccounts);
    TracePoint = 3056;
    if (!report.Write(ReportFileBytes(text)) || !report.Commit()) {
        outcome.notices.Plain(msg::kE307Incomplete);
        return outcome;
    }
    outcome.notices.Information(std::move(text));

    TracePoint = 3057;
    outcome.ok = true;
    if (!marked.counts.Any()) return outcome;
    outcome.proposals =
        CollectProposals(states, ChartVariantOf(files.chartName), read.lastPlainAccount);
    return outcome;
}

ProposalsOutcome AppendReplaceProposals(const std::string& replacePath,
                                        const ReplaceProposals& proposals) {
    ProposalsOutcome outcome;
    TracePoint = 3058;
    if (!AppendProposals(replacePath, BuildProposals(proposals))) {
        outcome.notices.Plain(msg::kE308);
        return outcome;
    }
    outcome.appended = true;
    return outcome;
}

}  // namespace belvaron
