#pragma once

#include <cstdint>
#include <string_view>

namespace belvaron {

// The whole of a text read as one decimal integer: optional blanks (space,
// TAB), one optional sign, at least one digit, optional blanks, nothing
// else. A number outside [low, high] is OutOfRange however many digits it
// has; value is set only when the status is Ok.
struct StrictInt {
    enum class Status { Ok, NotAnInteger, OutOfRange };
    Status status = Status::NotAnInteger;
    int64_t value = 0;

    bool ok() const { return status == Status::Ok; }
};

StrictInt ReadStrictInt(std::string_view text, int64_t low, int64_t high);

}  // namespace belvaron
