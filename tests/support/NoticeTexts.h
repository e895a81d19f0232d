#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/base/Notices.h"

namespace belvaron {

// A notice in a test's failure message: its kind and text.
inline void PrintTo(const Notice& notice, std::ostream* out) {
    *out << (notice.kind == NoticeKind::Information ? "Information: " : "Plain: ") << notice.text;
}

namespace test {

// The texts of an operation's messages, in order.
inline std::vector<std::string> Texts(const Notices& notices) {
    std::vector<std::string> texts;
    for (const Notice& notice : notices.items()) texts.push_back(notice.text);
    return texts;
}

// The last notice; there must be one.
inline const Notice& Last(const Notices& notices) { return notices.items().back(); }

}  // namespace test
}  // namespace belvaron
