#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The operating system beyond files: environment, folders, memory,
// processes, the console and the program's own version. Texts are UTF-8.
namespace belvaron::platform {

// The value of an environment variable; nullopt when it is not set or empty.
std::optional<std::string> Environment(const char* name);

// The user's documents folder without a final separator: on Windows the
// known folder "Documents"; elsewhere the XDG documents directory
// (XDG_DOCUMENTS_DIR in $XDG_CONFIG_HOME/user-dirs.dirs), else
// $HOME/Documents. nullopt when none is known.
std::optional<std::string> DocumentsFolder();

// The folder for the program's settings without a final separator: on
// Windows %APPDATA%; elsewhere $XDG_CONFIG_HOME, else $HOME/.config; "."
// when none is known.
std::string ConfigFolder();

// The temporary folder without a final separator: on Windows the system's
// temporary path; elsewhere $TMPDIR when set, else "/tmp".
std::string TempFolder();

// The folder of the running executable, ending with the platform's
// separator; empty when it cannot be told.
std::string ExecutableFolder();

// Reserves `bytes` of address space that reads as zero and is committed on
// first touch; null on failure. Release with the same size.
void* ReserveMemory(std::size_t bytes);
void ReleaseMemory(void* memory, std::size_t bytes);
// Commits the pages of [memory, memory + bytes), a part of one reservation
// of ReserveMemory, so that the first writes there take no page faults; the
// bytes keep their values. It takes as long as those faults would: call it
// on another thread than the writer's. Only a hint: where the system offers
// no such call (Linux before 5.14, Windows), nothing happens.
void CommitMemory(void* memory, std::size_t bytes);

// A started program.
using ProcessId = long long;

// Starts the program file `path` without a shell, with no arguments and the
// program's environment. 0 on success with `id` set, else the errno of the
// failure (also when the file cannot be executed).
int StartProgram(const std::string& path, ProcessId& id);

// Lets a started program run on its own: its end is collected in the
// background, so that it leaves nothing behind while this program stays
// open.
void ReleaseProcess(ProcessId id);

// Writing to a closed pipe or beyond the file-size limit becomes a write
// error with errno instead of a signal that ends the program.
void IgnoreWriteSignals();

// Sets up the console so that UTF-8 text written to standard output and
// standard error shows as such (the console's code page on Windows).
void PrepareConsole();

// The program's arguments after its name, as UTF-8 (on Windows from the
// wide command line, whatever the code page).
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// The string `key` ("FileVersion", "ProductName") of the running program's
// version resource in the translation `translation` (language and code page
// as 0xLLLLCCCC); nullopt where there is no such resource (always outside
// Windows).
std::optional<std::string> ProgramVersionString(const char* key, unsigned translation);

// The calendar time of `seconds` since 1970 in UTC or in local time; false
// when it cannot be converted.
struct CalendarTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
bool ToCalendarTime(long long seconds, bool utc, CalendarTime& out);

}  // namespace belvaron::platform
