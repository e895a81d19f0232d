#include "core/datev/AccountCheck.h"

#include <cstring>
#include <memory>

#include "core/base/DataFiles.h"
#include "core/base/DataFolders.h"
#include "core/base/FileWriter.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/base/UiPort.h"
#include "core/bookings/BookingStore.h"
#include "core/datev/AccountCheckMessages.h"
#include "core/datev/Datev.h"
#include "core/mapping/MappingMessages.h"

namespace belvaron {

namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Appends the proposals to replace.dat: the old content, a line break when
// it does not end with one, the new lines; written as a complete new file.
bool AppendProposals(DataFolders& folders, const std::string& proposals) {
    const std::string path = folders.Resolve(msg::kReplaceFileName);
    std::string bytes;
    if (FileExists(path) && !ReadWholeFile(path, bytes)) return false;
    if (!proposals.empty() && !bytes.empty() && bytes.back() != '\n') bytes += "\r\n";
    bytes += proposals;
    return WriteFileReplacing(path, bytes);
}

}  // namespace

std::string ChartPath(DataFolders& folders, const std::string& name) {
    if (name.find('/') != std::string::npos) return name;
    const std::string path = folders.Resolve(name);
    if (!name.empty() && !FileExists(path) && FileExists(name)) return name;
    return path;
}

bool CDatev::CheckAccounts(const std::string& chartName) {
    TracePoint = 3048;
    if (!workBuffer.ok() || workBuffer.size() < sizeof(int32_t) * kAccountLimit) {
        ShowPlain(ui_, msg::kE311);
        return false;
    }
    if (dataSet == nullptr) return false;  // the workflow always hands the store over first
    BookingStore& store = *dataSet;
    const std::span<int32_t> states(static_cast<int32_t*>(workBuffer.data()), kAccountLimit);

    const ChartVariant variant = ChartVariantOf(chartName);
    const std::string chartPath = ChartPath(folders_, chartName);
    TracePoint = 3048;
    FilePtr chart(std::fopen(chartPath.c_str(), "rb"), &std::fclose);
    if (!chart) {
        ShowPlain(ui_, Format(msg::kE306, chartPath.c_str()));
        return false;
    }
    FileWriter report;
    if (!report.Open(folders_.Resolve(msg::kReportFileName))) {
        ShowPlain(ui_, msg::kE307);
        return false;
    }

    TracePoint = 3049;
    std::memset(states.data(), 0, states.size_bytes());
    const ChartReadResult read = ReadChart(chart.get(), states);
    chart.reset();
    if (read.readError) {
        ShowPlain(ui_, Format(msg::kE306, chartPath.c_str()));
        return false;
    }

    TracePoint = 3052;
    const std::size_t count =
        store.bookingCount > 0 ? static_cast<std::size_t>(store.bookingCount) : 0;
    const MarkResult marked = MarkUsedAccounts({store.bookings.data(), count}, states);
    if (marked.tooLarge) {
        const BookingRecord& b = store[static_cast<int32_t>(*marked.tooLarge)];
        ShowPlain(ui_, Format(msg::kE312, kAccountLimit, b.sollAccount, b.habenAccount));
        report.Commit();  // the report is left empty
        return false;
    }

    TracePoint = 3055;
    const std::string text = BuildAccountReport(states, marked.negativeAccounts);
    TracePoint = 3056;
    if (!report.Write(ReportFileBytes(text)) || !report.Commit()) {
        ShowPlain(ui_, msg::kE307Incomplete);
        return false;
    }
    ShowInfo(ui_, text);

    TracePoint = 3057;
    if (!marked.counts.Any()) return true;
    if (!AskYesNo(ui_, QuestionId::ProposeReplaceEntries, msg::kProposalQuestion, MessageIcon::None)) return true;
    TracePoint = 3058;
    const std::string proposals = BuildProposals(states, variant, read.lastPlainAccount);
    TracePoint = 3058;
    if (!AppendProposals(folders_, proposals)) {
        ShowPlain(ui_, msg::kE308);
        return false;
    }
    return true;
}

}  // namespace belvaron
