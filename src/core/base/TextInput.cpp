#include "core/base/TextInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/base/Format.h"
#include "core/base/TextInputMessages.h"
#include "core/base/UiPort.h"

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
    // fmemopen takes no buffer of size 0: an empty file is a one-byte
    // buffer positioned at its end.
    const bool empty = bytes_.empty();
    if (empty) bytes_.assign(1, '\0');
    file_ = fmemopen(bytes_.data(), bytes_.size(), "rb");
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
    // O_NONBLOCK: a FIFO put in the file's place must not make the open wait.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<unsigned long long>(st.st_size) != size_) {
        close(fd);
        return false;
    }
    file_ = fdopen(fd, "rb");
    if (!file_) close(fd);
    return file_ != nullptr;
}

namespace {

// The first bytes of the open file, up to `count` (fewer at its end or on a
// read error). pread leaves the file offset at 0 for a stream over the file.
std::string ReadStart(int fd, std::size_t count) {
    std::string start(count, '\0');
    std::size_t have = 0;
    while (have < count) {
        const ssize_t n = pread(fd, start.data() + have, count - have, static_cast<off_t>(have));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        have += static_cast<std::size_t>(n);
    }
    start.resize(have);
    return start;
}

}  // namespace

bool TextInput::StreamWhenStartDecides(const std::string& path, std::size_t maxBytes) {
    // O_NONBLOCK: a FIFO put in the file's place must not make the open wait.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    const bool large = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                       static_cast<unsigned long long>(st.st_size) >= kStreamFromFileBytes &&
                       static_cast<unsigned long long>(st.st_size) <= maxBytes;
    if (!large || !StartKeepsWindows1252(ReadStart(fd, kProbeBytes)) ||
        !(file_ = fdopen(fd, "rb"))) {
        close(fd);
        return false;
    }
    status_ = InputStatus::Read;
    error_ = 0;
    size_ = static_cast<std::size_t>(st.st_size);
    return true;
}

void TextInput::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    bytes_.clear();
    size_ = 0;
    conversion_ = {};
}

void ShowConversionNotice(UiPort& ui, const std::string& path, const Cp1252Conversion& c) {
    if (c.source == Cp1252Conversion::Source::Windows1252 || c.unmappable == 0) return;
    const char* encoding =
        c.source == Cp1252Conversion::Source::Utf16 ? msg::kEncodingUtf16 : msg::kEncodingUtf8;
    ShowPlain(ui, Format(msg::kTextConverted, path.c_str(), encoding, c.unmappable));
}

}  // namespace belvaron
