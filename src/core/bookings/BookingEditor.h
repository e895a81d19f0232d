#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// One field whose text is not valid. `message` (UTF-8) begins with the
// field's label, so it can stand alone: "Datum: Geben Sie ...".
struct EditorProblem {
    EditorField field;
    std::string message;
};

// The problem of one field's text, or none. The rules:
// - a number: optional blanks, an optional sign, decimal digits and optional
//   blanks, within the 32-bit range;
// - the date: a real calendar day written D.M.YY or DD.MM.YYYY (one or two
//   digits for day and month, two or four for the year, a two-digit year
//   read as the journal import reads it), blanks around it allowed;
// - the amount: a German amount such as "-1.234,56": an optional sign,
//   digits (thousands dots only between groups of three), an optional comma
//   with up to two decimals, blanks around it allowed;
// - every text field: no longer than its field.
std::optional<EditorProblem> CheckEditorField(EditorField field, std::string_view text);

// The problems of all fields, in check order; empty when every field is valid.
std::vector<EditorProblem> CheckEditorFields(const EditorTexts& texts);

// The outcome of checking the texts: ok, or the first failing field and its
// message (as CheckEditorField gives it).
struct EditorCheck {
    bool ok = true;
    EditorField field = EditorField::Beleg;
    std::string message;
};

EditorCheck CheckEditorTexts(const EditorTexts& texts);

// Checks the texts and, when all are valid, writes them into the booking:
// texts cut to their width and zero-filled when shorter, numbers as read,
// the date as DD.MM.YYYY (the form the sort and the writers read) and the
// amount with its sign, its digits and thousands dots as entered and exactly
// two decimals ("84,3" -> "84,30", "+5" -> "5,00"), since the writers read
// an amount's digits as cents. `redated` keeps its value. On a failed check
// the booking is left unchanged.
EditorCheck WriteEditorTexts(const EditorTexts& texts, BookingRecord& booking);

}  // namespace belvaron
