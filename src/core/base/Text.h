#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace belvaron {

// The most characters the readers keep of one line, cell or field of an
// input file (255-byte buffers: these characters and a terminator).
inline constexpr std::size_t kMaxFieldChars = 254;

// A decimal digit '0'..'9' (no locale).
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Blank sets for Trim, as the readers differ in what they call blank.
inline constexpr std::string_view kSpace = " ";
inline constexpr std::string_view kSpaceTab = " \t";
inline constexpr std::string_view kLineBlanks = " \t\r\n";
inline constexpr std::string_view kWhitespace = " \t\r\n\v\f";  // isspace in the "C" locale

// `text` without its leading and trailing characters of `blanks`; empty when
// it has no other. The result views the caller's text.
std::string_view Trim(std::string_view text, std::string_view blanks);

// `text` with every LF preceded by a CR (an LF already after a CR gets one
// more), as the report files and the update dialog's history have them.
std::string LfToCrLf(std::string_view text);

// Splits off the part of `rest` before the first `separator` and returns it;
// `rest` keeps what follows the separator. Without a separator the whole of
// `rest` is returned and `rest` becomes empty; an empty rest gives an empty
// part. The parts view the caller's text.
std::string_view SplitOff(std::string_view& rest, char separator);

// The line-end rule of every line splitter (SplitOffLine, SplitLines,
// LineReader): a line ends at LF; a CR directly before the LF belongs to the
// break, a lone CR is an ordinary character; the last line counts without a
// break. This gives the length of a line's text from the `length` bytes
// before its break, the last of them `last`, and whether an LF ended it.
constexpr std::size_t LineTextLength(std::size_t length, char last, bool broken) {
    return broken && length > 0 && last == '\r' ? length - 1 : length;
}

// Splits off the first line of `rest` by that rule and returns its text;
// `rest` keeps what follows the line's break. An empty rest gives an empty
// line. The line views the caller's text.
std::string_view SplitOffLine(std::string_view& rest);

// The lines of a text (SplitOffLine). A text ending with LF has no empty line
// after it; an empty text has no lines. The lines view the caller's text.
std::vector<std::string_view> SplitLines(std::string_view text);

// `text` with its first `marker` (e.g. "%1") replaced by `value`; unchanged
// when the marker is missing.
std::string ReplaceMarker(std::string text, std::string_view marker, std::string_view value);

// A count with German thousands dots: 1000000 -> "1.000.000".
std::string GroupedThousands(std::uint64_t n);

// The first `limit` of `numbers` in decimal, each followed by ','; when there
// are more, then `more` with its "%1" replaced by the count left out
// (GroupedThousands). Takes time in proportion to the numbers shown.
std::string CappedNumberList(std::span<const std::int32_t> numbers, std::size_t limit,
                             std::string_view more);

}  // namespace belvaron
