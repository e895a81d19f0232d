#include <gtest/gtest.h>

#include <limits>

#include "core/base/StrictInt.h"

namespace belvaron {
namespace {

using Status = StrictInt::Status;
constexpr int64_t kMin64 = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax64 = std::numeric_limits<int64_t>::max();

struct Case {
    const char* text;
    int64_t low;
    int64_t high;
    Status status;
    int64_t value;  // when Ok
};

class StrictIntTest : public ::testing::TestWithParam<Case> {};

TEST_P(StrictIntTest, ReadsTheWholeText) {
    const Case& c = GetParam();
    const StrictInt read = ReadStrictInt(c.text, c.low, c.high);
    EXPECT_EQ(read.status, c.status) << '"' << c.text << '"';
    if (c.status == Status::Ok) {
        EXPECT_EQ(read.value, c.value) << '"' << c.text << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrictIntTest,
    ::testing::Values(
        Case{"42", 0, 99, Status::Ok, 42}, Case{" \t-7\t ", -10, 10, Status::Ok, -7},
        Case{"+0", 0, 0, Status::Ok, 0}, Case{"007", 0, 9, Status::Ok, 7},
        // Not a number: nothing, a lone sign, inner blanks, other characters,
        // line breaks (blanks are space and TAB only).
        Case{"", 0, 9, Status::NotAnInteger, 0}, Case{"  ", 0, 9, Status::NotAnInteger, 0},
        Case{"-", 0, 9, Status::NotAnInteger, 0}, Case{"- 4", -9, 9, Status::NotAnInteger, 0},
        Case{"1 2", 0, 99, Status::NotAnInteger, 0}, Case{"12a", 0, 99, Status::NotAnInteger, 0},
        Case{"0x1", 0, 99, Status::NotAnInteger, 0}, Case{"1,5", 0, 99, Status::NotAnInteger, 0},
        Case{"++1", 0, 9, Status::NotAnInteger, 0}, Case{"5\r\n", 0, 9, Status::NotAnInteger, 0},
        // The bounds are inclusive; a number of any length outside them is
        // out of range, also one beyond 64 bits.
        Case{"1", 1, 9999, Status::Ok, 1}, Case{"9999", 1, 9999, Status::Ok, 9999},
        Case{"0", 1, 9999, Status::OutOfRange, 0}, Case{"10000", 1, 9999, Status::OutOfRange, 0},
        Case{"-1", 0, 9, Status::OutOfRange, 0},
        Case{"99999999999999999999999", kMin64, kMax64, Status::OutOfRange, 0},
        Case{"-99999999999999999999999", kMin64, kMax64, Status::OutOfRange, 0},
        Case{"9223372036854775807", kMin64, kMax64, Status::Ok, kMax64},
        Case{"9223372036854775808", kMin64, kMax64, Status::OutOfRange, 0},
        Case{"-9223372036854775808", kMin64, kMax64, Status::Ok, kMin64},
        Case{"-9223372036854775809", kMin64, kMax64, Status::OutOfRange, 0}));

}  // namespace
}  // namespace belvaron
