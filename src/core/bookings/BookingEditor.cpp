#include "core/bookings/BookingEditor.h"

#include <cstring>
#include <limits>

#include "core/base/FixedText.h"
#include "core/base/StrictInt.h"
#include "core/base/Text.h"
#include "core/bookings/BookingMessages.h"
#include "core/bookings/Dates.h"

namespace belvaron {

const std::array<EditorFieldInfo, kEditorFieldCount> kEditorFields = {{
    {EditorField::Beleg, "Belegnummer:", 10},
    {EditorField::Amount, "Betrag:", 30},
    {EditorField::DatevKey, "DATEV-Schlüssel:", 0},
    {EditorField::BookingNo, "Buchungsnummer:", 0},
    {EditorField::Date, "Datum:", 20},
    {EditorField::HabenAccount, "HABEN-Konto:", 0},
    {EditorField::VatRate, "MwSt.-Satz:", 0},
    {EditorField::Name, "Name:", 40},
    {EditorField::SollAccount, "SOLL-Konto:", 0},
    {EditorField::Currency, "Währung:", 10},
    {EditorField::Purpose, "Zweck:", 40},
}};

namespace {

// The limits of each text field follow the booking's field widths.
static_assert(sizeof(BookingRecord::beleg) == 10 && sizeof(BookingRecord::amount) == 30 &&
              sizeof(BookingRecord::date) == 20 && sizeof(BookingRecord::name) == 40 &&
              sizeof(BookingRecord::currency) == 10 && sizeof(BookingRecord::purpose) == 40);

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

// The count of digits at the start of `t`.
std::size_t LeadingDigits(std::string_view t) {
    std::size_t n = 0;
    while (n < t.size() && IsDigit(t[n])) ++n;
    return n;
}

// The date as DD.MM.YYYY when `text` is a real day in one of the editor's
// forms (see CheckEditorField).
std::optional<std::string> ReadEditorDate(std::string_view text) {
    std::string_view rest = Trim(text, kSpaceTab);
    const std::string_view day = SplitOff(rest, '.');
    const std::string_view month = SplitOff(rest, '.');
    const std::string_view year = rest;
    const auto digits = [](std::string_view part, std::size_t low, std::size_t high) {
        return part.size() >= low && part.size() <= high && LeadingDigits(part) == part.size();
    };
    if (!digits(day, 1, 2) || !digits(month, 1, 2) || !digits(year, 2, 4) || year.size() == 3) {
        return std::nullopt;
    }
    char field[sizeof(BookingRecord::date)] = {};
    const std::string_view trimmed = Trim(text, kSpaceTab);
    std::memcpy(field, trimmed.data(), trimmed.size());
    NormalizeDate(field);
    if (!IsRealDay(DateKey(field))) return std::nullopt;
    return std::string(FieldText(field));
}

// The amount with exactly two decimals when `text` is a German amount (see
// CheckEditorField): the sign kept when it is '-', digits and dots as
// entered, the decimals filled up with zeros.
std::optional<std::string> ReadEditorAmount(std::string_view text) {
    const std::string_view t = Trim(text, kSpaceTab);
    std::string out;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') out += '-';
        ++i;
    }
    const std::size_t start = i;
    const std::size_t lead = LeadingDigits(t.substr(i));
    if (lead == 0) return std::nullopt;
    i += lead;
    if (i < t.size() && t[i] == '.' && lead > 3) return std::nullopt;
    while (i < t.size() && t[i] == '.') {
        if (LeadingDigits(t.substr(i + 1)) != 3) return std::nullopt;
        i += 4;
    }
    out.append(t.substr(start, i - start));
    out += ',';
    std::size_t decimals = 0;
    if (i < t.size() && t[i] == ',') {
        decimals = LeadingDigits(t.substr(i + 1));
        if (decimals > 2) return std::nullopt;
        out.append(t.substr(i + 1, decimals));
        i += 1 + decimals;
    }
    out.append(2 - decimals, '0');
    if (i != t.size() || out.size() > sizeof(BookingRecord::amount)) return std::nullopt;
    return out;
}

int32_t* NumberOf(BookingRecord& b, EditorField f) {
    switch (f) {
        case EditorField::DatevKey:
            return &b.datevKey;
        case EditorField::BookingNo:
            return &b.bookingNo;
        case EditorField::HabenAccount:
            return &b.habenAccount;
        case EditorField::VatRate:
            return &b.vatRate;
        case EditorField::SollAccount:
            return &b.sollAccount;
        default:
            return nullptr;
    }
}

}  // namespace

const EditorFieldInfo& EditorFieldFor(EditorField field) {
    for (const auto& info : kEditorFields) {
        if (info.field == field) return info;
    }
    return kEditorFields[0];
}

EditorTexts ReadEditorTexts(const BookingRecord& b) {
    EditorTexts t;
    At(t, EditorField::Beleg) = FieldText(b.beleg);
    At(t, EditorField::Amount) = FieldText(b.amount);
    At(t, EditorField::DatevKey) = std::to_string(b.datevKey);
    At(t, EditorField::BookingNo) = std::to_string(b.bookingNo);
    At(t, EditorField::Date) = FieldText(b.date);
    At(t, EditorField::HabenAccount) = std::to_string(b.habenAccount);
    At(t, EditorField::VatRate) = std::to_string(b.vatRate);
    At(t, EditorField::Name) = FieldText(b.name);
    At(t, EditorField::SollAccount) = std::to_string(b.sollAccount);
    At(t, EditorField::Currency) = FieldText(b.currency);
    At(t, EditorField::Purpose) = FieldText(b.purpose);
    return t;
}

std::optional<EditorProblem> CheckEditorField(EditorField field, std::string_view text) {
    const EditorFieldInfo& info = EditorFieldFor(field);
    const char* problem = nullptr;
    std::string limits;
    if (info.maxChars > 0 && text.size() > static_cast<std::size_t>(info.maxChars)) {
        limits = ReplaceMarker(msg::kMaxChars, "%1", std::to_string(info.maxChars));
    } else if (field == EditorField::Date) {
        if (!ReadEditorDate(text)) problem = msg::kNotADate;
    } else if (field == EditorField::Amount) {
        if (!ReadEditorAmount(text)) problem = msg::kNotAnAmount;
    } else if (info.maxChars == 0) {
        const StrictInt read = ReadStrictInt(text, kInt32Min, kInt32Max);
        if (read.status == StrictInt::Status::OutOfRange) {
            limits =
                ReplaceMarker(ReplaceMarker(msg::kIntegerRange, "%1", std::to_string(kInt32Min)),
                              "%2", std::to_string(kInt32Max));
        } else if (!read.ok()) {
            problem = msg::kNotAnInteger;
        }
    }
    if (!problem && limits.empty()) return std::nullopt;
    std::string message = info.label;
    message += ' ';
    message += problem ? std::string(problem) : limits;
    return EditorProblem{field, std::move(message)};
}

std::vector<EditorProblem> CheckEditorFields(const EditorTexts& texts) {
    std::vector<EditorProblem> problems;
    for (const auto& info : kEditorFields) {
        if (auto problem = CheckEditorField(info.field, At(texts, info.field))) {
            problems.push_back(std::move(*problem));
        }
    }
    return problems;
}

EditorCheck CheckEditorTexts(const EditorTexts& texts) {
    for (const auto& info : kEditorFields) {
        if (auto problem = CheckEditorField(info.field, At(texts, info.field))) {
            return {false, problem->field, std::move(problem->message)};
        }
    }
    return {};
}

EditorCheck WriteEditorTexts(const EditorTexts& texts, BookingRecord& b) {
    EditorCheck check = CheckEditorTexts(texts);
    if (!check.ok) return check;
    SetField(b.beleg, At(texts, EditorField::Beleg));
    SetField(b.amount, *ReadEditorAmount(At(texts, EditorField::Amount)));
    SetField(b.date, *ReadEditorDate(At(texts, EditorField::Date)));
    SetField(b.name, At(texts, EditorField::Name));
    SetField(b.currency, At(texts, EditorField::Currency));
    SetField(b.purpose, At(texts, EditorField::Purpose));
    for (const auto& info : kEditorFields) {
        int32_t* number = NumberOf(b, info.field);
        if (!number) continue;
        const StrictInt read = ReadStrictInt(At(texts, info.field), kInt32Min, kInt32Max);
        *number = static_cast<int32_t>(read.value);
    }
    return check;
}

}  // namespace belvaron
