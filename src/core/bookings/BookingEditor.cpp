#include "core/bookings/BookingEditor.h"

#include <limits>

#include "core/base/FixedText.h"
#include "core/base/StrictInt.h"
#include "core/base/Text.h"
#include "core/bookings/BookingMessages.h"

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

EditorCheck CheckEditorTexts(const EditorTexts& texts) {
    for (const auto& info : kEditorFields) {
        const std::string& text = At(texts, info.field);
        EditorCheck failed{false, info.field, {}};
        if (info.maxChars > 0) {
            if (text.size() <= static_cast<std::size_t>(info.maxChars)) continue;
            failed.message = ReplaceMarker(msg::kMaxChars, "%1", std::to_string(info.maxChars));
            return failed;
        }
        const StrictInt read = ReadStrictInt(text, kInt32Min, kInt32Max);
        if (read.ok()) continue;
        if (read.status == StrictInt::Status::OutOfRange) {
            failed.message =
                ReplaceMarker(ReplaceMarker(msg::kIntegerRange, "%1", std::to_string(kInt32Min)),
                              "%2", std::to_string(kInt32Max));
        } else {
            failed.message = msg::kNotAnInteger;
        }
        return failed;
    }
    return {};
}

EditorCheck WriteEditorTexts(const EditorTexts& texts, BookingRecord& b) {
    EditorCheck check = CheckEditorTexts(texts);
    if (!check.ok) return check;
    SetField(b.beleg, At(texts, EditorField::Beleg));
    SetField(b.amount, At(texts, EditorField::Amount));
    SetField(b.date, At(texts, EditorField::Date));
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
