#pragma once

#include <cstdint>
#include <string>

namespace belvaron {

// The texts of the update dialog ("Programmupdate:"), UTF-8: composed by the
// update check, shown by the UI port.
struct UpdateDialogTexts {
    std::string titleText;                 // the title line, large and bold
    std::string historyText;               // the change history; lines end with CR LF
    std::string propertiesText;            // the properties line, in propertiesColour
    uint32_t propertiesColour = 0xFFFFFF;  // 0x00BBGGRR, as Rgb() builds it
};

// A colour value: red in the low byte, then green, then blue.
constexpr uint32_t Rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint32_t>(red) | (static_cast<uint32_t>(green) << 8) |
           (static_cast<uint32_t>(blue) << 16);
}

}  // namespace belvaron
