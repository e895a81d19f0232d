#include "core/base/TextInput.h"

#include <cerrno>

#include "core/base/Format.h"
#include "core/base/TextInputMessages.h"
#include "core/base/UiPort.h"
#include "core/platform/Files.h"

namespace belvaron {

TextInput::~TextInput() { Close(); }

bool TextInput::Open(const std::string& path, std::size_t maxBytes) {
    Close();
    InputFile input = ReadInputFile(path, maxBytes);
    status_ = input.status;
    error_ = input.error;
    if (status_ != InputStatus::Read) return false;
    bytes_ = std::move(input.bytes);
    conversion_ = ConvertTextToCp1252(bytes_);
    // A memory stream takes no buffer of size 0: an empty file is a one-byte
    // buffer positioned at its end.
    const bool empty = bytes_.empty();
    if (empty) bytes_.assign(1, '\0');
    file_ = platform::OpenMemoryStream(bytes_);
    if (file_ && empty && std::fseek(file_, 1, SEEK_SET) != 0) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!file_) {
        status_ = InputStatus::Failed;
        error_ = errno;
        return false;
    }
    return true;
}

void TextInput::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    bytes_.clear();
    conversion_ = {};
}

void ShowConversionNotice(UiPort& ui, const std::string& path, const Cp1252Conversion& c) {
    if (c.source == Cp1252Conversion::Source::Windows1252 || c.unmappable == 0) return;
    const char* encoding =
        c.source == Cp1252Conversion::Source::Utf16 ? msg::kEncodingUtf16 : msg::kEncodingUtf8;
    ShowPlain(ui, Format(msg::kTextConverted, path.c_str(), encoding, c.unmappable));
}

}  // namespace belvaron
