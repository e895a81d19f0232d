#include "core/base/TextInput.h"

#include <cerrno>

#include "core/base/Format.h"
#include "core/base/TextInputMessages.h"
#include "core/platform/Files.h"

namespace belvaron {

TextInput::~TextInput() { Close(); }

bool TextInput::Open(const std::string& path, std::size_t maxBytes) {
    Close();
    if (StreamWhenStartDecides(path, maxBytes)) return true;
    InputFile input = ReadInputFile(path, maxBytes);
    status_ = input.status;
    error_ = input.error;
    if (status_ != InputStatus::Read) return false;
    bytes_ = std::move(input.bytes);
    conversion_ = ConvertTextToCp1252(bytes_);
    size_ = bytes_.size();
    if (conversion_.source == Cp1252Conversion::Source::Windows1252 &&
        size_ >= kStreamFromFileBytes && StreamFromFile(path)) {
        std::string().swap(bytes_);  // gives the memory back
        return true;
    }
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

bool TextInput::StreamFromFile(const std::string& path) {
    platform::InputHandle in;
    if (in.Open(path) != platform::InputHandle::Opened::Ok || in.size() != size_) return false;
    file_ = in.ReleaseAsStream();
    return file_ != nullptr;
}

namespace {

// The first bytes of the open file, up to `count` (fewer at its end or on a
// read error).
std::string ReadStart(platform::InputHandle& in, std::size_t count) {
    std::string start(count, '\0');
    std::size_t have = 0;
    while (have < count) {
        const long long n = in.Read(start.data() + have, count - have);
        if (n <= 0) break;
        have += static_cast<std::size_t>(n);
    }
    start.resize(have);
    return start;
}

}  // namespace

bool TextInput::StreamWhenStartDecides(const std::string& path, std::size_t maxBytes) {
    platform::InputHandle in;
    if (in.Open(path) != platform::InputHandle::Opened::Ok || in.size() < kStreamFromFileBytes ||
        in.size() > maxBytes || !StartKeepsWindows1252(ReadStart(in, kProbeBytes))) {
        return false;
    }
    file_ = in.ReleaseAsStream();
    if (file_ && std::fseek(file_, 0, SEEK_SET) != 0) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!file_) return false;
    status_ = InputStatus::Read;
    error_ = 0;
    size_ = static_cast<std::size_t>(in.size());
    return true;
}

void TextInput::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    bytes_.clear();
    size_ = 0;
    conversion_ = {};
}

void AddConversionNotice(Notices& notices, const std::string& path, const Cp1252Conversion& c) {
    if (c.source == Cp1252Conversion::Source::Windows1252 || c.unmappable == 0) return;
    const char* encoding =
        c.source == Cp1252Conversion::Source::Utf16 ? msg::kEncodingUtf16 : msg::kEncodingUtf8;
    notices.Plain(Format(msg::kTextConverted, path.c_str(), encoding, c.unmappable));
}

}  // namespace belvaron
