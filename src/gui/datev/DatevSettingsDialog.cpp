#include "gui/datev/DatevSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

namespace belvaron {

namespace {

// Accepts no more than `max` characters while typing. Unlike a maximum
// length it leaves a longer text set by the program as it is, so that the
// check on "OK" reports it instead of cutting it silently.
class MaxCharsValidator : public QValidator {
public:
    MaxCharsValidator(int max, QObject* parent) : QValidator(parent), max_(max) {}
    State validate(QString& input, int&) const override {
        return input.size() > max_ ? Invalid : Acceptable;
    }

private:
    int max_;
};

QLineEdit* TextEdit(QWidget* parent, int maxChars) {
    auto* edit = new QLineEdit(parent);
    if (maxChars > 0) edit->setValidator(new MaxCharsValidator(maxChars, edit));
    return edit;
}

// Shows the limit of a box: a tooltip and a placeholder always, and a
// counter "n/max" when given; a keystroke the limit refuses turns the
// counter red and says why, so nothing is refused silently.
void ShowLimit(QLineEdit* edit, int max, QLabel* counter) {
    const QString limit = QStringLiteral("höchstens %1 Zeichen").arg(max);
    edit->setToolTip(limit);
    if (edit->placeholderText().isEmpty()) {
        edit->setPlaceholderText(QStringLiteral("max. %1 Zeichen").arg(max));
    }
    if (!counter) return;
    counter->setObjectName(edit->objectName() + QStringLiteral("Counter"));
    // The count of the accepted text: while a refused keystroke is
    // reported, the box may still hold it.
    const auto count = [counter, max](const QString& text) {
        counter->setStyleSheet(QString());
        counter->setProperty("chars", text.size());
        counter->setText(QStringLiteral("%1/%2").arg(text.size()).arg(max));
    };
    QObject::connect(edit, &QLineEdit::textChanged, counter, count);
    QObject::connect(edit, &QLineEdit::inputRejected, counter, [counter, max, limit] {
        counter->setStyleSheet(QStringLiteral("color: #b00000"));
        counter->setText(QStringLiteral("%1/%2 – %3")
                             .arg(counter->property("chars").toInt())
                             .arg(max)
                             .arg(limit));
    });
    count(edit->text());
}

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string S(const QLineEdit* edit) { return edit->text().toStdString(); }

QLabel* Explanation(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setWordWrap(true);
    // Wide enough for the longest explanation in two or three lines; the
    // width follows the font, so it scales with the screen.
    label->setMinimumWidth(label->fontMetrics().averageCharWidth() * 48);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::MinimumExpanding);
    return label;
}

}  // namespace

DatevSettingsDialog::DatevSettingsDialog(QWidget* parent, DatevSettings& settings,
                                         DatevRange& exportRange, const std::string& chartName)
    : QDialog(parent), model_(settings, exportRange) {
    using F = DatevDialogField;
    using L = DatevDialogLimits;
    setWindowTitle(QStringLiteral("DATEV-Angaben"));
    showMessage = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };

    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const char* label, QWidget* control, const char* explanation, F field) {
        auto* caption = new QLabel(QString::fromUtf8(label), this);
        grid->addWidget(caption, row, 0);
        grid->addWidget(control, row, 1);
        if (explanation) grid->addWidget(Explanation(explanation, this), row, 3);
        controls_[field] = control;
        captions_[field] = caption;
        if (auto* edit = qobject_cast<QLineEdit*>(control);
            edit && DatevDialogModel::MaxChars(field) > 0) {
            auto* counter = new QLabel(this);
            grid->addWidget(counter, row, 2);
            edit->setObjectName(QStringLiteral("field%1").arg(static_cast<int>(field)));
            ShowLimit(edit, DatevDialogModel::MaxChars(field), counter);
        }
        ++row;
    };
    beraternummer_ = TextEdit(this, 0);
    addRow("Beraternummer:", beraternummer_,
           "Nummer des Steuerberaters bei Datev (vom Steuerberater geben lassen).",
           F::Beraternummer);
    beratername_ = TextEdit(this, L::kBeratername);
    addRow("Beratername:", beratername_, "Name des Steuerberaters", F::Beratername);
    mandantennummer_ = TextEdit(this, 0);
    addRow("Mandantennummer:", mandantennummer_,
           "Nummer unter der Sie beim Steuerberater und der Datev geführt sind.",
           F::Mandantennummer);
    passwort_ = TextEdit(this, L::kPasswort);
    addRow("Passwort:", passwort_,
           "(Diese Passwort macht keinen Sinn, da es bei Datev als Klartext abgespeichert wird.)",
           F::Passwort);
    dfvKennzeichen_ = TextEdit(this, L::kDfvKennzeichen);
    addRow("DFV-Kennzeichen:", dfvKennzeichen_, "Zweistelliges Kürzel (z.B. Ihre Initialen)",
           F::DfvKennzeichen);
    datentraegernummer_ = TextEdit(this, 0);
    addRow("Datenträgernummer:", datentraegernummer_, "Fortlaufende Nummer der Exporte.",
           F::Datentraegernummer);
    abrechnungsnummer_ = TextEdit(this, 0);
    addRow("Abrechnungsnummer:", abrechnungsnummer_, "Fortlaufende Datev-Abrechnungs- Nummer ",
           F::Abrechnungsnummer);

    auto* extension = new QWidget(this);
    auto* extensionRow = new QHBoxLayout(extension);
    extensionRow->setContentsMargins(0, 0, 0, 0);
    erweiterung_ = new QCheckBox(QStringLiteral("ja"), extension);
    kontonummernlaenge_ = TextEdit(extension, 0);
    kontonummernlaenge_->setMaximumWidth(40);
    extensionRow->addWidget(erweiterung_);
    extensionRow->addWidget(kontonummernlaenge_);
    extensionRow->addWidget(new QLabel(QStringLiteral("stellig"), extension));
    extensionRow->addStretch();
    addRow("Kontonr-Erweiterung:", extension,
           "Altes (DE001) oder neues (EV00001) erweitertes DATEV Datei-Format.", F::Erweiterung);
    controls_[F::Erweiterung] = erweiterung_;
    controls_[F::Kontonummernlaenge] = kontonummernlaenge_;

    auto* range = new QWidget(this);
    auto* rangeRow = new QHBoxLayout(range);
    rangeRow->setContentsMargins(0, 0, 0, 0);
    dateFrom_ = TextEdit(range, L::kDate);
    dateTo_ = TextEdit(range, L::kDate);
    dateFrom_->setPlaceholderText(QStringLiteral("TT.MM.JJJJ"));
    dateTo_->setPlaceholderText(QStringLiteral("TT.MM.JJJJ"));
    rangeRow->addWidget(dateFrom_);
    rangeRow->addWidget(new QLabel(QStringLiteral("bis"), range));
    rangeRow->addWidget(dateTo_);
    addRow("Buchungen:     vom", range, nullptr, F::DateFrom);
    controls_[F::DateFrom] = dateFrom_;
    controls_[F::DateTo] = dateTo_;

    exportFormat_ = new QComboBox(this);
    exportFormat_->addItem(QStringLiteral("DATEV-Format (CSV)"));
    exportFormat_->addItem(QStringLiteral("Postversand (ED00001/DE001)"));
    addRow("Exportformat:", exportFormat_,
           "DATEV-Format: die CSV-Datei, die DATEV heute einliest. Postversand: die alten "
           "Dateien, alt oder erweitert nach der Kontonr-Erweiterung.",
           F::ExportFormat);

    auto* fiscal = new QWidget(this);
    auto* fiscalRow = new QHBoxLayout(fiscal);
    fiscalRow->setContentsMargins(0, 0, 0, 0);
    wjBeginnTag_ = TextEdit(fiscal, L::kWjBeginn);
    wjBeginnMonat_ = TextEdit(fiscal, L::kWjBeginn);
    wjBeginnTag_->setMaximumWidth(40);
    wjBeginnMonat_->setMaximumWidth(40);
    fiscalRow->addWidget(wjBeginnTag_);
    fiscalRow->addWidget(new QLabel(QStringLiteral("."), fiscal));
    fiscalRow->addWidget(wjBeginnMonat_);
    fiscalRow->addWidget(new QLabel(QStringLiteral("."), fiscal));
    fiscalRow->addStretch();
    addRow("WJ-Beginn:", fiscal, "Beginn des Wirtschaftsjahres (Tag und Monat).", F::WjBeginnTag);
    controls_[F::WjBeginnTag] = wjBeginnTag_;
    controls_[F::WjBeginnMonat] = wjBeginnMonat_;

    sachkontenrahmen_ = new QComboBox(this);
    sachkontenrahmen_->addItem(QStringLiteral("SKR 03"), QStringLiteral("03"));
    sachkontenrahmen_->addItem(QStringLiteral("SKR 04"), QStringLiteral("04"));
    addRow("Sachkontenrahmen:", sachkontenrahmen_, "Kontenrahmen des Mandanten bei Datev.",
           F::Sachkontenrahmen);

    festschreibung_ = new QCheckBox(QStringLiteral("ja"), this);
    addRow("Festschreibung:", festschreibung_,
           "Festgeschriebene Buchungen kann der Steuerberater nicht mehr ändern.",
           F::Festschreibung);

    batchPeriod_ = new QComboBox(this);
    batchPeriod_->addItem(QStringLiteral("je Wirtschaftsjahr"));
    batchPeriod_->addItem(QStringLiteral("je Monat"));
    addRow("Stapel:", batchPeriod_,
           "DATEV-Format: ein Buchungsstapel je Wirtschaftsjahr oder je Monat des Zeitraums.",
           F::BatchPeriod);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &DatevSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DatevSettingsDialog::reject);
    connect(erweiterung_, &QCheckBox::clicked, this, &DatevSettingsDialog::OnClickedErweiterung);

    grid->setColumnStretch(3, 1);
    // The date and fiscal-year boxes show their limits without a counter.
    for (const F field : {F::DateFrom, F::DateTo, F::WjBeginnTag, F::WjBeginnMonat}) {
        ShowLimit(qobject_cast<QLineEdit*>(Control(field)), DatevDialogModel::MaxChars(field),
                  nullptr);
    }
    connect(exportFormat_, &QComboBox::currentIndexChanged, this,
            &DatevSettingsDialog::ShowFormatFields);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    for (auto& [field, control] : controls_) {
        control->setObjectName(QStringLiteral("field%1").arg(static_cast<int>(field)));
    }
    WriteControls(model_.Initial(chartName));
    ShowFormatFields();
}

void DatevSettingsDialog::ShowFormatFields() {
    const bool postversand = exportFormat_->currentIndex() == 1;
    for (auto& [field, control] : controls_) {
        if (!DatevDialogModel::PostversandOnly(field)) continue;
        control->setEnabled(postversand);
        const auto caption = captions_.find(field);
        if (caption != captions_.end()) caption->second->setEnabled(postversand);
    }
}

QWidget* DatevSettingsDialog::Control(DatevDialogField field) const {
    const auto it = controls_.find(field);
    return it == controls_.end() ? nullptr : it->second;
}

DatevDialogFields DatevSettingsDialog::ReadControls() const {
    DatevDialogFields f;
    f.beraternummer = S(beraternummer_);
    f.beratername = S(beratername_);
    f.mandantennummer = S(mandantennummer_);
    f.passwort = S(passwort_);
    f.dfvKennzeichen = S(dfvKennzeichen_);
    f.datentraegernummer = S(datentraegernummer_);
    f.abrechnungsnummer = S(abrechnungsnummer_);
    f.erweiterung = erweiterung_->isChecked();
    f.kontonummernlaenge = S(kontonummernlaenge_);
    f.dateFrom = S(dateFrom_);
    f.dateTo = S(dateTo_);
    f.exportFormat = exportFormat_->currentIndex() == 1 ? DatevExportFormat::Postversand
                                                        : DatevExportFormat::Csv;
    f.wjBeginnTag = S(wjBeginnTag_);
    f.wjBeginnMonat = S(wjBeginnMonat_);
    f.sachkontenrahmen = sachkontenrahmen_->currentData().toString().toStdString();
    f.festschreibung = festschreibung_->isChecked();
    f.batchPeriod =
        batchPeriod_->currentIndex() == 1 ? DatevBatchPeriod::Month : DatevBatchPeriod::FiscalYear;
    return f;
}

void DatevSettingsDialog::WriteControls(const DatevDialogFields& f) {
    beraternummer_->setText(Q(f.beraternummer));
    beratername_->setText(Q(f.beratername));
    mandantennummer_->setText(Q(f.mandantennummer));
    passwort_->setText(Q(f.passwort));
    dfvKennzeichen_->setText(Q(f.dfvKennzeichen));
    datentraegernummer_->setText(Q(f.datentraegernummer));
    abrechnungsnummer_->setText(Q(f.abrechnungsnummer));
    erweiterung_->setChecked(f.erweiterung);
    kontonummernlaenge_->setText(Q(f.kontonummernlaenge));
    kontonummernlaenge_->setEnabled(DatevDialogModel::LengthEnabled(f));
    dateFrom_->setText(Q(f.dateFrom));
    dateTo_->setText(Q(f.dateTo));
    exportFormat_->setCurrentIndex(f.exportFormat == DatevExportFormat::Postversand ? 1 : 0);
    wjBeginnTag_->setText(Q(f.wjBeginnTag));
    wjBeginnMonat_->setText(Q(f.wjBeginnMonat));
    sachkontenrahmen_->setCurrentIndex(f.sachkontenrahmen == "04" ? 1 : 0);
    festschreibung_->setChecked(f.festschreibung);
    batchPeriod_->setCurrentIndex(f.batchPeriod == DatevBatchPeriod::Month ? 1 : 0);
}

void DatevSettingsDialog::ShowError(const DatevDialogError& error) {
    showMessage(Q(error.message));
    if (QWidget* control = Control(error.field)) {
        // A greyed-out field that fails its check is opened for the fix.
        if (!control->isEnabled() && DatevDialogModel::PostversandOnly(error.field)) {
            control->setEnabled(true);
            if (const auto caption = captions_.find(error.field); caption != captions_.end()) {
                caption->second->setEnabled(true);
            }
        }
        control->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
    }
}

void DatevSettingsDialog::OnClickedErweiterung() {
    DatevDialogFields fields = ReadControls();
    if (const auto error = model_.Reread(fields)) {
        ShowError(*error);
        kontonummernlaenge_->setEnabled(erweiterung_->isChecked());
        return;
    }
    WriteControls(fields);
}

void DatevSettingsDialog::accept() {
    if (const auto error = model_.Accept(ReadControls())) {
        ShowError(*error);
        return;
    }
    QDialog::accept();
}

bool RunDatevDialog(QWidget* parent, DatevSettings& settings, DatevRange& range,
                    const std::string& chartName) {
    DatevSettingsDialog dialog(parent, settings, range, chartName);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace belvaron
