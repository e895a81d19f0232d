#include "core/base/DataFolders.h"

#include <filesystem>
#include <set>
#include <system_error>

#include "core/base/DataFiles.h"
#include "core/base/DataFolderMessages.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/base/UiPort.h"
#include "core/platform/Files.h"

namespace belvaron {

namespace fs = std::filesystem;

namespace {

void AddChartFiles(const std::string& folder, std::set<std::string>& names) {
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : platform::FsPath(folder), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = platform::Utf8Path(it->path().filename());
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".kon") == 0) names.insert(name);
    }
}

}  // namespace

std::string DataFolders::DataFolder() {
    if (!dataFolderOverride.empty()) {
        if (!DirectoryExists(dataFolderOverride)) MakeDirectories(dataFolderOverride);
        return dataFolderOverride;
    }
    if (auto folder = UserDataFolder(true)) return *folder;
    const std::string fallback = FallbackDataFolder();
    if (!warned_) {
        warned_ = true;
        ShowPlain(ui_, Format(msg::kNoDocumentsFolder, fallback.c_str()));
    }
    if (!DirectoryExists(fallback)) MakeDirectories(fallback);
    return fallback;
}

std::string DataFolders::Resolve(const std::string& name) {
    TracePoint = 2004;
    if (name.empty()) return programFolder;
    const std::string path = platform::JoinPath(DataFolder(), name);
    if (!FileExists(path)) {
        // The copy's outcome is not checked: without a shipped default the
        // path stays missing and the caller's own open reports it.
        CopyFileBytes(platform::JoinPath(programFolder, name), path);
    }
    return path;
}

std::vector<std::string> DataFolders::ChartFileNames() const {
    std::set<std::string> names;
    AddChartFiles(programFolder, names);
    if (!dataFolderOverride.empty()) {
        AddChartFiles(dataFolderOverride, names);
    } else if (auto folder = UserDataFolder(false)) {
        AddChartFiles(*folder, names);
    }
    AddChartFiles(".", names);
    return {names.begin(), names.end()};
}

}  // namespace belvaron
