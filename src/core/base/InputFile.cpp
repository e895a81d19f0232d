#include "core/base/InputFile.h"

#include <algorithm>
#include <cerrno>

#include "core/base/ErrnoText.h"
#include "core/base/Format.h"
#include "core/platform/Files.h"

namespace belvaron {

namespace {

InputFile Failure(InputStatus status, int error = 0) { return {status, error, {}}; }

}  // namespace

InputFile ReadInputFile(const std::string& path, std::size_t maxBytes) {
    if (path.empty()) return Failure(InputStatus::Missing);
    platform::InputHandle file;
    switch (file.Open(path)) {
        case platform::InputHandle::Opened::Ok:
            break;
        case platform::InputHandle::Opened::Missing:
            return Failure(InputStatus::Missing);
        case platform::InputHandle::Opened::NotRegular:
            return Failure(InputStatus::NotRegular);
        case platform::InputHandle::Opened::Failed:
            return Failure(InputStatus::Failed, file.error());
    }
    if (file.size() > maxBytes) return Failure(InputStatus::TooLarge);
    InputFile result{InputStatus::Read, 0, {}};
    result.bytes.resize(static_cast<std::size_t>(file.size()) + 1);
    std::size_t have = 0;
    for (;;) {
        if (have == result.bytes.size()) {
            if (have > maxBytes) return Failure(InputStatus::TooLarge);
            result.bytes.resize(std::min(have * 2 + 4096, maxBytes + 1));
        }
        const long long n = file.Read(result.bytes.data() + have, result.bytes.size() - have);
        if (n < 0) return Failure(InputStatus::Failed, file.error());
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    if (have > maxBytes) return Failure(InputStatus::TooLarge);
    result.bytes.resize(have);
    return result;
}

std::string InputFailureReason(const InputFile& file, std::size_t maxBytes) {
    switch (file.status) {
        case InputStatus::Read:
            return {};
        case InputStatus::Missing:
            return "Datei nicht gefunden";
        case InputStatus::NotRegular:
            return "keine normale Datei";
        case InputStatus::TooLarge:
            return Format("größer als %zu MB", maxBytes >> 20);
        case InputStatus::Failed:
            break;
    }
    return ErrnoReason(file.error, ReasonForm::Phrase);
}

}  // namespace belvaron
