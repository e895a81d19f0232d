#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <string>

#include "core/datev/DatevDialogModel.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

namespace belvaron {

// The modal "DATEV-Angaben" dialog: shows the DATEV settings and the export
// range, checks the fields on "OK" (first failing field: its message, the
// focus goes there, the dialog stays open), then stores them; saving the
// settings file is the caller's step. "Abbrechen" changes nothing. The logic lives in
// DatevDialogModel.
class DatevSettingsDialog : public QDialog {
    Q_OBJECT

public:
    // `chartName`: the chart file chosen in the main window; a name with
    // "SK3" or "SK4" preselects the chart of accounts.
    DatevSettingsDialog(QWidget* parent, DatevSettings& settings, DatevRange& range,
                        const std::string& chartName = {});

    // Shows a check's message; a message box unless replaced (tests).
    std::function<void(const QString&)> showMessage;

    // The control of a field (for focus and tests).
    QWidget* Control(DatevDialogField field) const;

    void accept() override;

private:
    void OnClickedErweiterung();
    // The Postversand-only fields and their captions, enabled only while
    // the Postversand format is chosen.
    void ShowFormatFields();
    DatevDialogFields ReadControls() const;
    void WriteControls(const DatevDialogFields& fields);
    void ShowError(const DatevDialogError& error);

    DatevDialogModel model_;
    std::map<DatevDialogField, QWidget*> controls_;
    std::map<DatevDialogField, QWidget*> captions_;
    QLineEdit* beraternummer_ = nullptr;
    QLineEdit* beratername_ = nullptr;
    QLineEdit* mandantennummer_ = nullptr;
    QLineEdit* passwort_ = nullptr;
    QLineEdit* dfvKennzeichen_ = nullptr;
    QLineEdit* datentraegernummer_ = nullptr;
    QLineEdit* abrechnungsnummer_ = nullptr;
    QCheckBox* erweiterung_ = nullptr;
    QLineEdit* kontonummernlaenge_ = nullptr;
    QLineEdit* dateFrom_ = nullptr;
    QLineEdit* dateTo_ = nullptr;
    QComboBox* exportFormat_ = nullptr;
    QLineEdit* wjBeginnTag_ = nullptr;
    QLineEdit* wjBeginnMonat_ = nullptr;
    QComboBox* sachkontenrahmen_ = nullptr;
    QCheckBox* festschreibung_ = nullptr;
    QComboBox* batchPeriod_ = nullptr;
};

// Runs the dialog modally; true when the user confirmed with "OK" (the
// settings and the range are then stored).
bool RunDatevDialog(QWidget* parent, DatevSettings& settings, DatevRange& range,
                    const std::string& chartName = {});

}  // namespace belvaron
