#pragma once

#include <string>
#include <utility>
#include <vector>

namespace belvaron {

// A message an operation has for the user, as data: the operation collects
// its messages in the order it meets them and returns them with its outcome;
// the workflow shows them. Texts are UTF-8, final as shown.
enum class NoticeKind {
    Plain,        // an OK box without icon: errors, warnings, reports
    Information,  // an OK box with the information icon: a success
};

struct Notice {
    NoticeKind kind = NoticeKind::Plain;
    std::string text;

    friend bool operator==(const Notice&, const Notice&) = default;
};

// The messages of one operation, in order.
class Notices {
public:
    void Plain(std::string text) { items_.push_back({NoticeKind::Plain, std::move(text)}); }
    void Information(std::string text) {
        items_.push_back({NoticeKind::Information, std::move(text)});
    }
    void Append(const Notices& other) {
        items_.insert(items_.end(), other.items_.begin(), other.items_.end());
    }

    bool empty() const { return items_.empty(); }
    const std::vector<Notice>& items() const { return items_; }

private:
    std::vector<Notice> items_;
};

}  // namespace belvaron
