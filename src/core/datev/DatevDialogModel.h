#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/datev/DatevRange.h"
#include "core/datev/DatevSettings.h"

namespace belvaron {

// The controls of the "DATEV-Angaben" dialog, in the order in which they
// are read and checked.
enum class DatevDialogField {
    Abrechnungsnummer,
    Beratername,
    Beraternummer,
    Datentraegernummer,
    DfvKennzeichen,
    Mandantennummer,
    DateTo,
    DateFrom,
    Erweiterung,
    Kontonummernlaenge,
    Passwort,
    ExportFormat,
    WjBeginnTag,
    WjBeginnMonat,
    Sachkontenrahmen,
    Festschreibung,
    BatchPeriod,
};

// What the controls show, as UTF-8 texts (the edit boxes) and choices.
struct DatevDialogFields {
    std::string beraternummer;
    std::string beratername;
    std::string mandantennummer;
    std::string passwort;
    std::string dfvKennzeichen;
    std::string datentraegernummer;
    std::string abrechnungsnummer;
    bool erweiterung = true;  // check box "ja"
    std::string kontonummernlaenge;
    std::string dateFrom;  // "Buchungen:     vom"
    std::string dateTo;    // "bis"
    DatevExportFormat exportFormat = DatevExportFormat::Csv;
    std::string wjBeginnTag;
    std::string wjBeginnMonat;
    std::string sachkontenrahmen = "03";  // "03" or "04"
    bool festschreibung = false;
    DatevBatchPeriod batchPeriod = DatevBatchPeriod::FiscalYear;
};

// A field that failed its check: the message to show and the field that
// gets the focus.
struct DatevDialogError {
    DatevDialogField field;
    std::string message;
};

// The most characters each text box accepts while typing.
struct DatevDialogLimits {
    static constexpr int kBeratername = 9;
    static constexpr int kPasswort = 4;
    static constexpr int kDfvKennzeichen = 2;
    static constexpr int kDate = 10;
    static constexpr int kWjBeginn = 2;
};

// The logic of the "DATEV-Angaben" dialog, shared by the desktop dialog and
// the command line: the start values of the controls, the checks in their
// order with the framework's German messages, and storing on "OK" into the
// settings and the export range it was made for (both outlive the model).
// Saving the settings file is the caller's step.
class DatevDialogModel {
public:
    DatevDialogModel(DatevSettings& settings, DatevRange& range)
        : settings_(settings), range_(range) {}

    // The controls at the dialog's start: numbers in decimal, texts without
    // trailing white space, the export range. The chart of accounts is
    // preselected from `chartName` (the chart file chosen in the main
    // window) when the name says "SK3" or "SK4", else from the settings.
    DatevDialogFields Initial(std::string_view chartName = {}) const;

    // Reads and checks every field in order; the first failure, or nullopt.
    std::optional<DatevDialogError> Check(const DatevDialogFields& fields) const;

    // The check box "ja" was clicked: checks like "OK" and, when all fields
    // pass, writes the values back as the controls show them (numbers in
    // plain decimal). Nothing is stored.
    std::optional<DatevDialogError> Reread(DatevDialogFields& fields) const;

    // "OK": checks; on success pads the texts, stores every value into the
    // settings and stores and normalises the two dates of the range. On a
    // failure nothing is stored.
    std::optional<DatevDialogError> Accept(const DatevDialogFields& fields);

    // Whether the length box is enabled: only while "ja" is set.
    static bool LengthEnabled(const DatevDialogFields& fields) { return fields.erweiterung; }

    // The most characters a text box takes while typing (DatevDialogLimits),
    // 0 for a box without such a limit.
    static int MaxChars(DatevDialogField field);
    // The fields only the Postversand files carry; the DATEV-Format (CSV)
    // leaves them out, so the dialog greys them out while it is chosen.
    static bool PostversandOnly(DatevDialogField field);

private:
    DatevSettings& settings_;
    DatevRange& range_;
};

}  // namespace belvaron
