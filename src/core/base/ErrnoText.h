#pragma once

#include <string>

namespace belvaron {

// How a failure reason is worded where a message shows it.
enum class ReasonForm {
    Phrase,    // a few words for parentheses: "kein freier Speicherplatz"
    Sentence,  // a full sentence after "Grund: ": "Der Datenträger ist voll."
};

// The German reason for a failed file operation with this errno value.
// A code without a worded reason gives "Systemfehler <n>" as a phrase and
// "Systemfehler <n> (<system text>)." as a sentence.
std::string ErrnoReason(int error, ReasonForm form);

}  // namespace belvaron
