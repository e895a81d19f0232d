#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/bookings/BookingRecord.h"

namespace belvaron {

// The booking editor's fields, in the order in which they are exchanged and
// checked when the values are read back.
enum class EditorField {
    Beleg,
    Amount,
    DatevKey,
    BookingNo,
    Date,
    HabenAccount,
    VatRate,
    Name,
    SollAccount,
    Currency,
    Purpose,
};
inline constexpr std::size_t kEditorFieldCount = 11;

struct EditorFieldInfo {
    EditorField field;
    const char* label;  // UTF-8, as the editor shows it
    int maxChars;       // text fields: the field's width; 0 for a whole number
};

// Every field, in check order.
extern const std::array<EditorFieldInfo, kEditorFieldCount> kEditorFields;

const EditorFieldInfo& EditorFieldFor(EditorField field);

// The texts of the eleven fields (Windows-1252 bytes), indexed by EditorField.
using EditorTexts = std::array<std::string, kEditorFieldCount>;

inline std::string& At(EditorTexts& texts, EditorField f) {
    return texts[static_cast<std::size_t>(f)];
}
inline const std::string& At(const EditorTexts& texts, EditorField f) {
    return texts[static_cast<std::size_t>(f)];
}

// The booking's values as the editor shows them: each text up to its
// terminator and at most its field's width, each number in decimal.
EditorTexts ReadEditorTexts(const BookingRecord& booking);

// The outcome of checking the texts: ok, or the first failing field and the
// message to show (UTF-8).
struct EditorCheck {
    bool ok = true;
    EditorField field = EditorField::Beleg;
    std::string message;
};

// Checks the texts in the exchange order. A number must be optional blanks,
// an optional sign, decimal digits and optional blanks, within the 32-bit
// range; a text must not be longer than its field.
EditorCheck CheckEditorTexts(const EditorTexts& texts);

// Checks the texts and, when all are valid, writes them into the booking as
// entered: texts cut to their width and zero-filled when shorter, numbers as
// read. Nothing is normalised; `redated` keeps its value. On a failed check
// the booking is left unchanged.
EditorCheck WriteEditorTexts(const EditorTexts& texts, BookingRecord& booking);

}  // namespace belvaron
