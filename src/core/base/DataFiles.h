#pragma once

#include <optional>
#include <string>

namespace belvaron {

// Where the editable data files live: the user's documents folder plus
// "Belvaron". The documents folder is the platform's (on Windows the known
// folder "Documents"; elsewhere the XDG documents directory, else
// $HOME/Documents); nullopt when none is known.
std::optional<std::string> DocumentsFolder();

// The per-user data folder; with `create`, the folder (and the documents
// folder above it) is created when missing. nullopt when no documents
// folder can be determined.
std::optional<std::string> UserDataFolder(bool create);

// The folder used instead when no documents folder can be determined: the
// current working folder plus "Belvaron".
std::string FallbackDataFolder();

// The folder a path names a file in: its parent path ("/daten/ED0001" gives
// "/daten", "/ED0001" gives "/", "a/b/" gives "a/b"), and "." (the current
// folder) for a bare name or an empty path.
std::string FolderOfPath(const std::string& path);

// The folder of the running executable, ending with the platform's
// separator.
std::string ExecutableFolder();

// The program folder with the shipped defaults for an executable in
// `exeFolder` (ending with a separator): "<exe>/../share/belvaron/" (with the
// platform's separator) when that exists (installed, and the build tree),
// else the executable's own folder.
std::string ProgramFolderFor(const std::string& exeFolder);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates a folder and its missing parents; true when it exists afterwards.
bool MakeDirectories(const std::string& path);
// Copies a file, replacing the target; false on any failure.
bool CopyFileBytes(const std::string& from, const std::string& to);

}  // namespace belvaron
