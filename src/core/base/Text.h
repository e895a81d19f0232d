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

// Splits off the part of `rest` before the first `separator` and returns it;
// `rest` keeps what follows the separator. Without a separator the whole of
// `rest` is returned and `rest` becomes empty; an empty rest gives an empty
// part. The parts view the caller's text.
std::string_view SplitOff(std::string_view& rest, char separator);

// The lines of a text: the parts between LF bytes, a CR directly before an
// LF dropped (a lone CR stays). A text ending with LF has no empty line
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
