#include "core/update/Tool.h"

namespace belvaron {

std::string CTool::Split(std::string& rest, char separator) {
    const auto at = rest.find(separator);
    if (at == std::string::npos) {
        std::string part = std::move(rest);
        rest.clear();
        return part;
    }
    std::string part = rest.substr(0, at);
    rest.erase(0, at + 1);
    return part;
}

}  // namespace belvaron
