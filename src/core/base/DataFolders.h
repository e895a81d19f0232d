#pragma once

#include <string>
#include <vector>

namespace belvaron {

class UiPort;

// The program folder with the shipped defaults and the per-user data folder
// that holds the editable copies. The one-time warning about a missing
// documents folder goes through the UI port given at construction.
class DataFolders {
public:
    explicit DataFolders(UiPort& ui) : ui_(ui) {}

    std::string programFolder;  // ends with '/'
    // The per-user data folder to use instead of the documents folder (the
    // command line's --data-dir); empty for the normal lookup.
    std::string dataFolderOverride;

    // The path of a data file in the data folder, with the shipped default
    // copied there on first use; an empty name gives the program folder.
    std::string Resolve(const std::string& name);
    // The folder that Resolve puts data files into (created). Without a
    // documents folder this is FallbackDataFolder(), announced once.
    std::string DataFolder();

    // Names of the "*.kon" chart files of the program folder, the data
    // folder (not created here) and the current folder, each name once,
    // sorted by name.
    std::vector<std::string> ChartFileNames() const;

private:
    UiPort& ui_;
    bool warned_ = false;
};

}  // namespace belvaron
