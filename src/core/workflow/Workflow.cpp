#include "core/workflow/Workflow.h"

#include <dirent.h>

#include <algorithm>
#include <set>

#include "core/workflow/WorkflowMessages.h"
#include "core/base/DataFiles.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"

namespace belvaron {

namespace {

void AddChartFiles(const std::string& folder, std::set<std::string>& names) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".kon") == 0) names.insert(name);
    }
    closedir(dir);
}

}  // namespace

Workflow::Workflow(UiPort& ui) : store(ui), ui_(ui) {}

std::string Workflow::TitleText() { return std::string("Belvaron (") + BELVARON_VERSION + ")"; }

void Workflow::OnInitDialog(const std::string& programFolder) {
    store.programFolder = programFolder;
    currencyChoice = 0;
    taxationChoice = 0;
    replaceTextModified = 0;
    store.accountsReplaced = 0;
    replaceText = LoadReplaceText();
    chartFiles = ChartFileNames();
    chartFileIndex = chartFiles.size() > 1 ? 1 : (chartFiles.empty() ? -1 : 0);
    ui_.SetVatControlsEnabled(false);
    ui_.RefreshControls();
}

// The "*.kon" files of the program folder, the data folder and the current
// folder, each name once, sorted by name.
std::vector<std::string> Workflow::ChartFileNames() const {
    std::set<std::string> names;
    AddChartFiles(store.programFolder, names);
    if (!store.dataFolderOverride.empty()) {
        AddChartFiles(store.dataFolderOverride, names);
    } else if (auto folder = UserDataFolder(false)) {
        AddChartFiles(*folder, names);
    }
    AddChartFiles(".", names);
    return {names.begin(), names.end()};
}

std::string Workflow::SelectedChartName() const {
    if (chartFileIndex < 0 || chartFileIndex >= static_cast<int>(chartFiles.size())) return {};
    return chartFiles[static_cast<std::size_t>(chartFileIndex)];
}

std::string Workflow::HelpFolder() { return store.ResolveDataFile(""); }

bool Workflow::OnCancel() { return AskYesNo(ui_, QuestionId::QuitProgram, msg::kQuit); }

void Workflow::RefillList(bool markZeroAccounts) {
    std::vector<int> marked;
    if (markZeroAccounts) {
        for (int32_t i = 0; i < store.bookingCount; ++i) {
            if (store[i].sollAccount == 0 || store[i].habenAccount == 0) marked.push_back(i);
        }
    }
    ui_.ListRefilled(store, marked);
}

void Workflow::SetDefaultTargets() {
    if (datevTargetPath.empty()) datevTargetPath = FolderOfPath(journalPath) + "/ED0001";
    if (lexwareTargetPath.empty()) lexwareTargetPath = FolderOfPath(journalPath) + "/buchhalter.txt";
}

void Workflow::ShowException(const char* format) { ShowPlain(ui_, Format(format, TracePoint)); }

}  // namespace belvaron
