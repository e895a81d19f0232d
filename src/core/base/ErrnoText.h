#pragma once

#include <string>

namespace belvaron {

// How a failure reason is worded where a message shows it.
enum class ReasonForm {
    Phrase,    // a few words for parentheses: "kein freier Speicherplatz"
    Sentence,  // a full sentence after "Grund: ": "Der Datenträger ist voll."
};

// Not an errno value: a file operation refused a path that exists but is not
// a regular file (a folder, FIFO, device, socket, or a symbolic link that
// leads nowhere or in a circle).
inline constexpr int kErrorNotRegularFile = 0x10000;

// The German reason for a failed file operation with this errno value.
// A code without a worded reason gives "Systemfehler <n>" as a phrase and
// "Systemfehler <n> (<system text>)." as a sentence.
std::string ErrnoReason(int error, ReasonForm form);

}  // namespace belvaron
