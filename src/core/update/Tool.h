#pragma once

#include <string>

namespace belvaron {

// String tools.
class CTool {
public:
    // Splits off the text before the first `separator`: returns it and leaves
    // the text after the separator in `rest`. Without a separator the whole
    // rest is returned and `rest` becomes empty; an empty rest gives an empty
    // part.
    static std::string Split(std::string& rest, char separator);
};

}  // namespace belvaron
