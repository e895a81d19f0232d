#include "core/workflow/Workflow.h"

#include <algorithm>

#include "core/base/DataFiles.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/datev/ChartFile.h"
#include "core/datev/DatevSettingsFile.h"
#include "core/platform/Files.h"
#include "core/vat/VatMessages.h"
#include "core/workflow/WorkflowMessages.h"

namespace belvaron {

namespace {

// Shows E:201, E:211 and E:2-- for each reservation that failed.
void ReportReservations(UiPort& ui, const BookingStore& store, const ImportGrid& grid,
                        const VatRows& vatRows) {
    if (!store.ok()) ShowPlain(ui, msg::kE201);
    TracePoint = 2002;
    if (!grid.ok()) ShowPlain(ui, msg::kE211);
    TracePoint = 2003;
    if (!vatRows.ok()) ShowPlain(ui, msg::kE2xx);
}

}  // namespace

Workflow::Workflow(WindowPort& ui) : ui_(ui), folders_(ui) {
    ReportReservations(ui, store_, importGrid_, vatRows_);
}

int Workflow::PreselectedChart() {
    std::string sachkontenrahmen = SachkontenrahmenOf(ChartVariant::SK3);
    try {
        const DatevSettingsLoad loaded =
            LoadDatevSettings(folders_.Resolve(kDatevSettingsFileName));
        if (loaded.read) sachkontenrahmen = FieldText(loaded.settings.sachkontenrahmen);
    } catch (...) {
        // The export reports an unreadable settings file; here SKR 03 stands.
    }
    if (const int index = ChartIndexFor(sachkontenrahmen); index >= 0) return index;
    return chartFiles_.size() > 1 ? 1 : (chartFiles_.empty() ? -1 : 0);
}

int Workflow::ChartIndexFor(std::string_view sachkontenrahmen) const {
    for (std::size_t i = 0; i < chartFiles_.size(); ++i) {
        if (SachkontenrahmenOf(ChartVariantOf(chartFiles_[i])) == sachkontenrahmen) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void Workflow::FollowSachkontenrahmen(std::string_view sachkontenrahmen) {
    const ChartVariant chosen = ChartVariantOf(SelectedChartName());
    // A chart of the user's own stays; a standard chart of the other frame
    // gives way to the one the settings name.
    if (chosen == ChartVariant::None || SachkontenrahmenOf(chosen) == sachkontenrahmen) return;
    if (const int index = ChartIndexFor(sachkontenrahmen); index >= 0) chartFileIndex_ = index;
}

std::string Workflow::TitleText() { return std::string("Belvaron (") + BELVARON_VERSION + ")"; }

void Workflow::Start(const std::string& programFolder, const std::optional<std::string>& chart) {
    folders_.programFolder = programFolder;
    currency_ = Currency::Euro;
    taxation_ = Taxation::Soll;
    replaceTextModified_ = false;
    store_.accountsReplaced = false;
    replaceText_ = LoadReplaceText();
    chartFiles_ = folders_.ChartFileNames();
    // The settings file is read for the preselection only when no chart is given.
    if (chart) {
        UseChart(*chart);
    } else {
        chartFileIndex_ = PreselectedChart();
    }
    ui_.SetVatControlsEnabled(false);
    ui_.RefreshControls();
}

std::string Workflow::SelectedChartName() const {
    if (chartFileIndex_ < 0 || chartFileIndex_ >= static_cast<int>(chartFiles_.size())) return {};
    return chartFiles_[static_cast<std::size_t>(chartFileIndex_)];
}

void Workflow::UseChart(const std::string& name) {
    if (name.empty()) {
        chartFileIndex_ = -1;
        return;
    }
    auto it = std::find(chartFiles_.begin(), chartFiles_.end(), name);
    if (it == chartFiles_.end()) it = chartFiles_.insert(chartFiles_.end(), name);
    chartFileIndex_ = static_cast<int>(it - chartFiles_.begin());
}

std::string Workflow::HelpFolder() { return folders_.Resolve(""); }

bool Workflow::OnQuit() {
    SettleReplaceText(false);
    if (unexportedWork_) {
        return AskYesNo(ui_, QuestionId::QuitWithUnexportedWork, msg::kQuitUnexported);
    }
    return AskYesNo(ui_, QuestionId::QuitProgram, msg::kQuit);
}

StepStates Workflow::Describe() const {
    StepStates states;
    if (store_.journalLoaded) {
        int32_t zero = 0;
        for (int32_t i = 0; i < store_.bookingCount; ++i) {
            if (store_[i].sollAccount == 0 || store_[i].habenAccount == 0) ++zero;
        }
        states.journal = Format("geladen: %d Buchungen, %d mit Konto 0", store_.bookingCount, zero);
    } else {
        states.journal = "kein Journal geladen";
    }
    if (store_.cashBasisApplied) {
        states.taxation = Format("IST: %d MwSt-Buchungen umdatiert", redatedCount_);
    } else {
        states.taxation = taxation_ == Taxation::Ist ? "IST: MwSt-Bericht noch nicht geladen"
                                                     : "SOLL: keine Umdatierung";
    }
    if (store_.accountsReplaced) {
        states.accounts =
            Format("Konten ersetzt: %d Soll, %d Haben", replacedSoll_, replacedHaben_);
    }
    if (!checkedChart_.empty()) {
        if (!states.accounts.empty()) states.accounts += "; ";
        states.accounts += "geprüft gegen " + checkedChart_;
    }
    states.exported = exportState_;
    if (!exportState_.empty() && unexportedWork_) states.exported += " (danach geändert)";
    return states;
}

bool Workflow::journalCarriesWork() const {
    return store_.journalLoaded &&
           (store_.accountsReplaced || store_.cashBasisApplied || bookingsChanged_);
}

void Workflow::NoteWork(bool bookingsChanged) {
    if (bookingsChanged) bookingsChanged_ = true;
    unexportedWork_ = true;
}

bool Workflow::MayReplaceFiles(const std::vector<std::string>& paths) {
    std::string existing;
    for (const std::string& path : paths) {
        if (FileExists(path)) existing += path + "\n";
    }
    if (existing.empty()) return true;
    return AskYesNo(ui_, QuestionId::OverwriteExport,
                    Format(msg::kOverwriteQuestion, existing.c_str()));
}

void Workflow::RefillList(bool markZeroAccounts) {
    std::vector<int> marked;
    if (markZeroAccounts) {
        for (int32_t i = 0; i < store_.bookingCount; ++i) {
            if (store_[i].sollAccount == 0 || store_[i].habenAccount == 0) marked.push_back(i);
        }
    }
    ui_.ListRefilled(store_, marked);
}

void Workflow::SetDefaultTargets() {
    const std::string folder = FolderOfPath(journalPath_);
    if (datevTargetPath_.empty()) datevTargetPath_ = platform::JoinPath(folder, "ED0001");
    if (lexwareTargetPath_.empty()) {
        lexwareTargetPath_ = platform::JoinPath(folder, "buchhalter.txt");
    }
}

void Workflow::ShowException(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = FormatV(format, args);
    va_end(args);
    ShowPlain(ui_, text);
}

}  // namespace belvaron
