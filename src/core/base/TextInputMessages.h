#pragma once

// Messages of the input text conversion.
namespace belvaron::msg {

// %s the file, %s its encoding, %d the characters replaced.
inline constexpr const char* kTextConverted =
    "Die Datei %s ist als %s gespeichert und wurde in Windows-1252 umgewandelt.\n"
    "%d Zeichen ohne Entsprechung in Windows-1252 wurden durch \"?\" ersetzt; bitte prüfen "
    "Sie die betroffenen Texte.";
inline constexpr const char* kEncodingUtf8 = "UTF-8";
inline constexpr const char* kEncodingUtf16 = "UTF-16";

}  // namespace belvaron::msg
