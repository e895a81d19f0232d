#include "core/workflow/ConversionJob.h"

#include "core/base/ChunkedForm.h"
#include "core/base/CodePage.h"
#include "core/base/DataFiles.h"
#include "core/base/TracePoint.h"
#include "core/bookings/BookingOperations.h"
#include "core/datev/DatevDialogModel.h"
#include "core/datev/DatevSettingsFile.h"

namespace belvaron {

std::optional<DatevExportRequest> DatevRequest(const ConversionJob& job, Workflow& flow,
                                               WindowPort& ui) {
    const std::string settingsPath = flow.DataFile(kDatevSettingsFileName);
    const DatevSettingsLoad loaded = LoadDatevSettings(settingsPath);
    const DatevSettingsOutcome accepted = AcceptDatevSettingsLoad(loaded, settingsPath);
    ShowNotices(ui, accepted.notices);
    if (!accepted.ok) return std::nullopt;
    DatevRange range;
    if (auto booked = BookingDateRange(flow.store())) range = std::move(*booked);
    return DatevExportInputs(job, loaded.settings, range, ui);
}

namespace {

// Lines per block handed to the list sink.
constexpr int32_t kListBlockLines = 4096;

}  // namespace

bool DeliverList(const BookingStore& store, const ConversionJob::ListSink& sink) {
    TracePoint = 2005;
    const auto form = [&store](int64_t begin, int64_t end, std::string& utf8) {
        std::string lines;
        AppendListLines(store, static_cast<int32_t>(begin), static_cast<int32_t>(end), lines);
        utf8.clear();
        AppendCp1252AsUtf8(utf8, lines);
        return utf8.size();
    };
    return FormInChunks(store.bookingCount, kListBlockLines, form, sink);
}

std::optional<DatevExportRequest> DatevExportInputs(const ConversionJob& job,
                                                    DatevSettings settings, DatevRange range,
                                                    UiPort& ui) {
    DatevExportRequest request;
    request.settings = std::move(settings);
    request.range = std::move(range);
    DatevDialogModel model(request.settings, request.range);
    DatevDialogFields fields = model.Initial(job.chart.value_or(""));
    if (job.from) fields.dateFrom = *job.from;
    if (job.to) fields.dateTo = *job.to;
    if (job.datevBatch) fields.batchPeriod = *job.datevBatch;
    if (const auto error = model.Accept(fields)) {
        ShowPlain(ui, error->message);
        return std::nullopt;
    }
    request.folder = FolderOfPath(job.datevTarget.value_or(""));
    request.format = job.datevFormat;
    request.chart = job.chart.value_or("");
    return request;
}

ConversionJob::Result ConversionJob::Run(WindowPort& ui, const ListSink& listSink) const {
    Workflow flow(ui);
    flow.SetDataFolderOverride(dataFolder);
    Result result;
    if (journal.empty()) {
        if (checkUpdate) result.updateCheck = flow.CheckForUpdate();
        return result;
    }
    // Without a chart of its own the job checks nothing and the CSV
    // export warns without one (DatevExportInputs takes the same chart).
    flow.Start(programFolder, chart.value_or(""));

    bool ok = flow.LoadJournal(journal, currency);
    if (vatReport) ok = flow.ImportVatReport(*vatReport) && ok;
    if (replace) ok = flow.ReplaceAccounts() && ok;
    if (chart) ok = flow.CheckAccounts(*chart) && ok;
    if (deleteZero) flow.DeleteZeroAccountBookings();
    if (datevTarget) {
        if (!flow.journalLoaded()) {
            ok = flow.ExportDatev({}) && ok;  // its gate says why
        } else if (const auto request = DatevRequest(*this, flow, ui)) {
            ok = flow.ExportDatev(*request) && ok;
        } else {
            ok = false;
        }
    }
    if (lexwareTarget) ok = flow.ExportLexware(*lexwareTarget) && ok;
    if (listSink) ok = DeliverList(flow.store(), listSink) && ok;
    result.stepsOk = ok;
    if (checkUpdate) result.updateCheck = flow.CheckForUpdate();
    return result;
}

}  // namespace belvaron
