#pragma once

#include <string>
#include <vector>

#include "core/base/Notices.h"

namespace belvaron::test {

// The texts of an operation's notices, in order.
inline std::vector<std::string> Texts(const Notices& notices) {
    std::vector<std::string> texts;
    for (const Notice& notice : notices.items()) texts.push_back(notice.text);
    return texts;
}

// The last notice; there must be one.
inline const Notice& Last(const Notices& notices) { return notices.items().back(); }

}  // namespace belvaron::test
