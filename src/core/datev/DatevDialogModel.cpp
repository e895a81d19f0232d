#include "core/datev/DatevDialogModel.h"

#include <algorithm>

#include "core/base/CodePage.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/StrictInt.h"
#include "core/base/Text.h"
#include "core/bookings/BookingMessages.h"
#include "core/bookings/Dates.h"
#include "core/datev/AccountCheck.h"
#include "core/datev/DatevMessages.h"
#include "core/datev/DatevRange.h"

namespace belvaron {

namespace {

// The checked values, before they are stored.
struct Values {
    int32_t beraternummer = 0;
    std::string beratername;  // Windows-1252
    int32_t mandantennummer = 0;
    std::string passwort;
    std::string dfvKennzeichen;
    int32_t datentraegernummer = 0;
    int32_t abrechnungsnummer = 0;
    bool erweiterung = true;
    int32_t kontonummernlaenge = 0;
    std::string dateFrom;
    std::string dateTo;
    int32_t wjBeginnTag = 0;
    int32_t wjBeginnMonat = 0;
};

// Reads the fields in order and stops at the first failure.
class FieldReader {
public:
    std::optional<DatevDialogError> error;

    // An integer: blanks around it, one optional sign, digits only.
    int32_t Integer(DatevDialogField field, std::string_view text, int32_t low, int32_t high) {
        if (error) return 0;
        const StrictInt read = ReadStrictInt(text, low, high);
        if (read.status == StrictInt::Status::NotAnInteger) {
            error = DatevDialogError{field, msg::kNotAnInteger};
            return 0;
        }
        if (!read.ok()) {
            error = DatevDialogError{
                field, ReplaceMarker(ReplaceMarker(msg::kIntegerRange, "%1", std::to_string(low)),
                                     "%2", std::to_string(high))};
            return 0;
        }
        return static_cast<int32_t>(read.value);
    }

    // A text of at most `limit` characters, as Windows-1252 bytes. A text
    // with a control character (a pasted line break, a TAB) is refused, not
    // cleaned: the settings file holds one field per line.
    std::string Text(DatevDialogField field, std::string_view utf8, int limit) {
        if (error) return {};
        std::string text = Utf8ToCp1252(utf8);
        const auto control = [](unsigned char c) { return c < 0x20 || c == 0x7F; };
        if (std::any_of(text.begin(), text.end(), control)) {
            error = DatevDialogError{field, msg::kDatevControlChars};
            return {};
        }
        if (text.size() > static_cast<std::size_t>(limit)) {
            error =
                DatevDialogError{field, ReplaceMarker(msg::kMaxChars, "%1", std::to_string(limit))};
            return {};
        }
        return text;
    }
};

std::optional<DatevDialogError> ReadValues(const DatevDialogFields& f, Values& v) {
    using F = DatevDialogField;
    using L = DatevDialogLimits;
    FieldReader r;
    v.abrechnungsnummer = r.Integer(F::Abrechnungsnummer, f.abrechnungsnummer, 1, 9999);
    v.beratername = r.Text(F::Beratername, f.beratername, L::kBeratername);
    v.beraternummer = r.Integer(F::Beraternummer, f.beraternummer, 0, 9999999);
    v.datentraegernummer = r.Integer(F::Datentraegernummer, f.datentraegernummer, 1, 999999);
    v.dfvKennzeichen = r.Text(F::DfvKennzeichen, f.dfvKennzeichen, L::kDfvKennzeichen);
    v.mandantennummer = r.Integer(F::Mandantennummer, f.mandantennummer, 0, 99999);
    v.dateTo = r.Text(F::DateTo, f.dateTo, L::kDate);
    v.dateFrom = r.Text(F::DateFrom, f.dateFrom, L::kDate);
    v.erweiterung = f.erweiterung;
    v.kontonummernlaenge = r.Integer(F::Kontonummernlaenge, f.kontonummernlaenge, 4, 8);
    v.passwort = r.Text(F::Passwort, f.passwort, L::kPasswort);
    v.wjBeginnTag = r.Integer(F::WjBeginnTag, f.wjBeginnTag, 1, 31);
    v.wjBeginnMonat = r.Integer(F::WjBeginnMonat, f.wjBeginnMonat, 1, 12);
    if (!r.error && !IsRealDayOfAnyYear(v.wjBeginnTag, v.wjBeginnMonat)) {
        r.error = DatevDialogError{F::WjBeginnTag,
                                   Format(msg::kNoSuchDay, v.wjBeginnTag, v.wjBeginnMonat)};
    }
    return r.error;
}

std::string TrimmedUtf8(std::string_view cp1252) {
    const auto end = cp1252.find_last_not_of(" \t\r\n");
    return Cp1252ToUtf8(cp1252.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

}  // namespace

DatevDialogFields DatevDialogModel::Initial(std::string_view chartName) const {
    const DatevSettings& s = settings_;
    DatevDialogFields f;
    f.abrechnungsnummer = std::to_string(s.abrechnungsnummer);
    f.beraternummer = std::to_string(s.beraternummer);
    f.datentraegernummer = std::to_string(s.datentraegernummer);
    f.mandantennummer = std::to_string(s.mandantennummer);
    f.erweiterung = s.kontonummernerweiterung != 0;
    f.kontonummernlaenge = std::to_string(s.kontonummernlaenge);
    f.beratername = TrimmedUtf8(FieldText(s.beratername));
    f.dfvKennzeichen = TrimmedUtf8(FieldText(s.dfvKennzeichen));
    f.passwort = TrimmedUtf8(FieldText(s.passwort));
    f.dateFrom = Cp1252ToUtf8(range_.from);
    f.dateTo = Cp1252ToUtf8(range_.to);
    f.exportFormat = s.exportFormat;
    f.wjBeginnTag = std::to_string(s.wjBeginnTag);
    f.wjBeginnMonat = std::to_string(s.wjBeginnMonat);
    if (const ChartVariant variant = ChartVariantOf(chartName); variant != ChartVariant::None) {
        f.sachkontenrahmen = SachkontenrahmenOf(variant);
    } else {
        f.sachkontenrahmen = FieldText(s.sachkontenrahmen) == "04" ? "04" : "03";
    }
    f.festschreibung = s.festschreibung != 0;
    f.batchPeriod = s.batchPeriod;
    return f;
}

std::optional<DatevDialogError> DatevDialogModel::Check(const DatevDialogFields& fields) const {
    Values values;
    return ReadValues(fields, values);
}

std::optional<DatevDialogError> DatevDialogModel::Reread(DatevDialogFields& fields) const {
    Values v;
    if (auto error = ReadValues(fields, v)) return error;
    fields.abrechnungsnummer = std::to_string(v.abrechnungsnummer);
    fields.beraternummer = std::to_string(v.beraternummer);
    fields.datentraegernummer = std::to_string(v.datentraegernummer);
    fields.mandantennummer = std::to_string(v.mandantennummer);
    fields.kontonummernlaenge = std::to_string(v.kontonummernlaenge);
    fields.wjBeginnTag = std::to_string(v.wjBeginnTag);
    fields.wjBeginnMonat = std::to_string(v.wjBeginnMonat);
    return std::nullopt;
}

std::optional<DatevDialogError> DatevDialogModel::Accept(const DatevDialogFields& fields) {
    Values v;
    if (auto error = ReadValues(fields, v)) return error;
    DatevSettings& s = settings_;
    s.beraternummer = v.beraternummer;
    SetField(s.beratername, Padded(v.beratername, 10));
    s.mandantennummer = v.mandantennummer;
    SetField(s.dfvKennzeichen, Padded(v.dfvKennzeichen, 2));
    s.datentraegernummer = v.datentraegernummer;
    s.abrechnungsnummer = v.abrechnungsnummer;
    SetField(s.passwort, Padded(v.passwort, 4));
    s.kontonummernerweiterung = v.erweiterung ? 1 : 0;
    s.kontonummernlaenge = v.kontonummernlaenge;
    s.exportFormat = fields.exportFormat;
    s.wjBeginnTag = v.wjBeginnTag;
    s.wjBeginnMonat = v.wjBeginnMonat;
    SetField(s.sachkontenrahmen, fields.sachkontenrahmen == "04" ? "04" : "03");
    s.festschreibung = fields.festschreibung ? 1 : 0;
    s.batchPeriod = fields.batchPeriod;
    range_.from = NormalizedRangeDate(v.dateFrom);
    range_.to = NormalizedRangeDate(v.dateTo);
    return std::nullopt;
}

int DatevDialogModel::MaxChars(DatevDialogField field) {
    using F = DatevDialogField;
    using L = DatevDialogLimits;
    switch (field) {
        case F::Beratername:
            return L::kBeratername;
        case F::Passwort:
            return L::kPasswort;
        case F::DfvKennzeichen:
            return L::kDfvKennzeichen;
        case F::DateFrom:
        case F::DateTo:
            return L::kDate;
        case F::WjBeginnTag:
        case F::WjBeginnMonat:
            return L::kWjBeginn;
        default:
            return 0;
    }
}

bool DatevDialogModel::PostversandOnly(DatevDialogField field) {
    using F = DatevDialogField;
    switch (field) {
        case F::Beratername:
        case F::Passwort:
        case F::Datentraegernummer:
        case F::Abrechnungsnummer:
        case F::Erweiterung:
            return true;
        default:
            return false;
    }
}

}  // namespace belvaron
