#include "core/base/FileWriter.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/datev/AccountCheck.h"
#include "core/datev/AccountCheckMessages.h"
#include "core/mapping/MappingMessages.h"
#include "core/mapping/ReplaceList.h"
#include "core/workflow/StepScope.h"
#include "core/workflow/Workflow.h"
#include "core/workflow/WorkflowMessages.h"

namespace belvaron {

namespace {

// Writes the whole text as the new replace.dat; the old file is replaced
// only by a complete new one. Shows E:105 and returns false otherwise.
bool WriteReplaceFile(UiPort& ui, const std::string& path, std::string_view bytes) {
    FileWriter writer;
    if (!writer.Open(path)) {
        ShowPlain(ui, msg::kE105);
        return false;
    }
    if (!writer.Write(bytes) || !writer.Commit()) {
        ShowPlain(ui, msg::kE105Incomplete);
        return false;
    }
    return true;
}

}  // namespace

std::string Workflow::LoadReplaceText() {
    try {
        std::string bytes;
        if (!ReadWholeFile(folders_.Resolve(msg::kReplaceFileName), bytes)) return {};
        return bytes;
    } catch (...) {
        ShowException(msg::kE115, TracePoint);
        return "ERROR";
    }
}

bool Workflow::SaveReplaceText() {
    return WriteReplaceFile(ui_, folders_.Resolve(msg::kReplaceFileName), replaceText_);
}

void Workflow::OnReplaceTextChange(std::string text) {
    replaceText_ = std::move(text);
    replaceTextModified_ = true;
}

void Workflow::OnReplaceTextLeft(bool toFileButton) { SettleReplaceText(toFileButton); }

bool Workflow::SettleReplaceText(bool toFileButton) {
    if (!replaceTextModified_) return true;
    if (toFileButton ||
        AskYesNo(ui_, QuestionId::SaveReplaceList, msg::kSaveReplaceQuestion, MessageIcon::None)) {
        // A failed save keeps the box's text and its mark: nothing typed is
        // lost, and the next step that needs the file tries again.
        if (!SaveReplaceText()) return false;
    } else {
        replaceText_ = LoadReplaceText();
        ui_.RefreshControls();
    }
    replaceTextModified_ = false;
    return true;
}

void Workflow::OnSessionEnd() {
    if (replaceTextModified_ && SaveReplaceText()) replaceTextModified_ = false;
}

void Workflow::OnClearReplaceList() {
    SettleReplaceText(false);
    if (!AskYesNo(ui_, QuestionId::ClearReplaceList, msg::kClearReplaceQuestion,
                  MessageIcon::None)) {
        return;
    }
    replaceText_.clear();
    // A list that seems cleared while the file keeps its entries would be
    // applied unseen, so a failure is reported.
    WriteReplaceFile(ui_, folders_.Resolve(msg::kReplaceFileName), {});
    ui_.RefreshControls();
}

bool Workflow::OnReplaceAccounts() {
    if (store_.journalLoaded && store_.accountsReplaced &&
        !AskYesNo(ui_, QuestionId::ReplaceAgain, msg::kReplaceAgainQuestion)) {
        return false;
    }
    return ReplaceAccounts();
}

bool Workflow::ReplaceAccounts() {
    if (!store_.journalLoaded) {
        ShowPlain(ui_, Format(msg::kNoJournal, msg::kGateReplace));
        return false;
    }
    if (!SettleReplaceText(true)) return false;
    ui_.ListCleared();
    bool ok = false;
    try {
        const std::string path = folders_.Resolve(msg::kReplaceFileName);
        ReplaceListOutcome outcome;
        {
            StepScope step(ui_, msg::kStepReplace);
            outcome = ApplyReplaceList(store_, path, step.progress());
        }
        ShowNotices(ui_, outcome.notices);
        if (outcome.cancelled) {
            // Every booking as before: nothing was replaced.
            RefillList(false);
            return false;
        }
        if (outcome.complete) {
            ShowInfo(ui_, Format(msg::kReplaceSummary, outcome.sollCount, outcome.habenCount));
        }
        ok = outcome.complete;
        replacedSoll_ += outcome.sollCount;
        replacedHaben_ += outcome.habenCount;
    } catch (...) {
        ShowException(msg::kE110Replace, TracePoint);
        return false;
    }
    store_.accountsReplaced = true;
    NoteWork(false);
    RefillList(false);
    return ok;
}

bool Workflow::CheckAccounts(const std::string& chartName) {
    if (!store_.journalLoaded) {
        ShowPlain(ui_, Format(msg::kNoJournal, msg::kGateCheck));
        return false;
    }
    // The check may add proposals to the file and shows the file again.
    if (!SettleReplaceText(true)) return false;
    bool ok = false;
    try {
        const auto resolve = [this](const std::string& name) { return folders_.Resolve(name); };
        AccountCheckFiles files;
        files.chartName = chartName;
        files.chartPath = ChartPath(resolve, chartName);
        files.reportPath = resolve(msg::kReportFileName);
        AccountCheckOutcome outcome;
        {
            StepScope step(ui_, msg::kStepCheck);
            outcome = belvaron::CheckAccounts(store_, files, step.progress());
        }
        if (outcome.cancelled) return false;
        ShowNotices(ui_, outcome.notices);
        ok = outcome.ok;
        if (outcome.canPropose() && AskYesNo(ui_, QuestionId::ProposeReplaceEntries,
                                             msg::kProposalQuestion, MessageIcon::None)) {
            const ProposalsOutcome appended =
                AppendReplaceProposals(resolve(msg::kReplaceFileName), outcome.proposals);
            ShowNotices(ui_, appended.notices);
            ok = appended.appended;
        }
        if (ok) checkedChart_ = chartName;
    } catch (...) {
        ShowException(msg::kE109, TracePoint);
        return false;
    }
    replaceText_ = LoadReplaceText();
    ui_.RefreshControls();
    return ok;
}

}  // namespace belvaron
