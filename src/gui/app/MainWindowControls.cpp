#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/app/CorePath.h"
#include "gui/app/MainWindow.h"
#include "gui/app/ReplaceTextEdit.h"
#include "gui/app/StepDigit.h"
#include "gui/app/WindowSettings.h"

// The controls of the main window, built top to bottom in the order of the
// work steps (which is also the keyboard's tab order).
namespace belvaron::gui {

namespace {

QLabel* WrappedLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// One numbered step: its digit picture beside the step's content.
QWidget* Step(int digit, QWidget* content, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    auto* picture = new StepDigit(digit, row);
    picture->setObjectName(QStringLiteral("step%1").arg(digit));
    layout->addWidget(picture, 0, Qt::AlignTop);
    layout->addWidget(content, 1);
    return row;
}

}  // namespace

QPushButton* MainWindow::MakeButton(const QString& caption, const char* name,
                                    void (MainWindow::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    // Enter in a field never presses a step's button.
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, handler] {
        (this->*handler)();
        ShowMembers();
    });
    return button;
}

QWidget* MainWindow::BuildStepsOneToThree() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    layout->addWidget(Step(
        1,
        WrappedLabel(QStringLiteral(
                         "Erstellen Sie unter Quickbooks ein Journal (Menu: "
                         "Bericht->Buchhaltung&Steuern->Journal) als TAB-Datei (Drucken in Datei) "
                         "abgespeichert mit folg. Spalten: Buchungs-Nr, Datum, Beleg-Nr., Name, "
                         "Verw.-Zweck, Konto, Splitt, MwSt-Satz, Soll, Haben"),
                     "step1Text", box),
        box));

    auto* currency = new QWidget(box);
    auto* currencyRow = new QHBoxLayout(currency);
    currencyRow->setContentsMargins(0, 0, 0, 0);
    currencyRow->addWidget(new QLabel(QStringLiteral("Währung des Journals:"), currency));
    auto* frame = new QGroupBox(currency);
    frame->setObjectName(QStringLiteral("currencyFrame"));
    auto* frameRow = new QHBoxLayout(frame);
    frameRow->setContentsMargins(10, 4, 10, 4);
    euro_ = new QRadioButton(QStringLiteral("&EURO"), frame);
    euro_->setObjectName(QStringLiteral("currencyEuro"));
    dm_ = new QRadioButton(QStringLiteral("D&M"), frame);
    dm_->setObjectName(QStringLiteral("currencyDm"));
    frameRow->addWidget(euro_);
    frameRow->addSpacing(16);
    frameRow->addWidget(dm_);
    currencyRow->addWidget(frame);
    currencyRow->addStretch(1);
    connect(euro_, &QRadioButton::clicked, this, [this] { workflow_.OnCurrency(Currency::Euro); });
    connect(dm_, &QRadioButton::clicked, this, [this] { workflow_.OnCurrency(Currency::DM); });
    layout->addWidget(Step(2, currency, box));

    auto* journal = new QWidget(box);
    auto* journalRow = new QHBoxLayout(journal);
    journalRow->setContentsMargins(0, 0, 0, 0);
    auto* journalLabel = new QLabel(QStringLiteral("Dateiname des &Journals:"), journal);
    journalField_ = new QLineEdit(journal);
    journalField_->setObjectName(QStringLiteral("journalPath"));
    journalField_->setReadOnly(true);
    journalLabel->setBuddy(journalField_);
    journalRow->addWidget(journalLabel);
    journalRow->addWidget(journalField_, 1);
    journalRow->addWidget(
        MakeButton(QStringLiteral("&Auswahl"), "journalSelect", &MainWindow::OnSelectJournal));
    recent_ = new QToolButton(journal);
    recent_->setObjectName(QStringLiteral("recentJournals"));
    recent_->setText(QStringLiteral("Zuletzt geöffnet"));
    recent_->setToolTip(QStringLiteral("Die fünf zuletzt geöffneten Journale"));
    recent_->setPopupMode(QToolButton::InstantPopup);
    recent_->setMenu(new QMenu(recent_));
    journalRow->addWidget(recent_);
    journalState_ = WrappedLabel(QString(), "journalState", journal);
    auto* journalStep = new QWidget(box);
    auto* journalColumn = new QVBoxLayout(journalStep);
    journalColumn->setContentsMargins(0, 0, 0, 0);
    journalColumn->addWidget(journal);
    journalColumn->addWidget(journalState_);
    layout->addWidget(Step(3, journalStep, box));
    return box;
}

QWidget* MainWindow::BuildTaxationGroup() {
    auto* group = new QGroupBox(QStringLiteral("Besteuerungsart"), this);
    group->setObjectName(QStringLiteral("taxationGroup"));
    auto* layout = new QVBoxLayout(group);
    soll_ = new QRadioButton(
        QStringLiteral("&SOLL-Besteuerung (Rechnungsdatum ist relevant; bei GmbH's und grösseren "
                       "Betrieben)"),
        group);
    soll_->setObjectName(QStringLiteral("taxationSoll"));
    ist_ = new QRadioButton(
        QStringLiteral("&IST-Besteuerung (Zahlungs-Datum ist relevant; bei kleineren Betrieben "
                       "und Freiberuflern)"),
        group);
    ist_->setObjectName(QStringLiteral("taxationIst"));
    layout->addWidget(soll_);
    layout->addWidget(ist_);
    vatHint_ = WrappedLabel(
        QStringLiteral("Nur für die IST-Besteuerung ist zusätzlich der MWST-EINZELWERTE-Bericht "
                       "nötig (TAB-Datei abgespeichert) mit mindestens folgenden Spalten: "
                       "Buchungs-Nr, Datum, Konto, Zahlbetrag"),
        "vatHint", group);
    layout->addWidget(vatHint_);
    auto* row = new QHBoxLayout;
    vatField_ = new QLineEdit(group);
    vatField_->setObjectName(QStringLiteral("vatReportPath"));
    vatField_->setReadOnly(true);
    row->addWidget(vatField_, 1);
    vatSelect_ =
        MakeButton(QStringLiteral("Aus&wahl"), "vatSelect", &MainWindow::OnSelectVatReport);
    row->addWidget(vatSelect_);
    layout->addLayout(row);
    taxationState_ = WrappedLabel(QString(), "taxationState", group);
    layout->addWidget(taxationState_);
    layout->addStretch(1);
    connect(soll_, &QRadioButton::clicked, this, [this] {
        workflow_.OnTaxationSoll();
        settings_->SetText(WindowSettings::Key::Taxation, QStringLiteral("SOLL"));
        ShowMembers();
    });
    connect(ist_, &QRadioButton::clicked, this, [this] {
        workflow_.OnTaxationIst();
        settings_->SetText(WindowSettings::Key::Taxation, QStringLiteral("IST"));
        ShowMembers();
    });
    return Step(4, group, this);
}

QWidget* MainWindow::BuildAccountsGroup() {
    auto* group = new QGroupBox(QStringLiteral("Bearbeitung der Konte&n"), this);
    group->setObjectName(QStringLiteral("accountsGroup"));
    accountsGroup_ = group;
    auto* layout = new QGridLayout(group);
    auto* top = new QHBoxLayout;
    charts_ = new QComboBox(group);
    charts_->setObjectName(QStringLiteral("chartFiles"));
    charts_->setMinimumContentsLength(14);
    charts_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(charts_, &QComboBox::activated, this, [this](int index) {
        workflow_.OnChartSelected(index);
        settings_->SetText(WindowSettings::Key::Chart, charts_->itemText(index));
    });
    top->addWidget(charts_, 1);
    checkButton_ = MakeButton(QStringLiteral("Konten übe&rprüfen"), "checkAccounts",
                              &MainWindow::OnKontenUeberpruefen);
    top->addWidget(checkButton_);
    top->addWidget(MakeButton(QStringLiteral("&Liste löschen"), "clearReplaceList",
                              &MainWindow::OnClearReplaceList));
    layout->addLayout(top, 0, 0, 1, 2);

    auto* label = new QLabel(
        QStringLiteral("&QB-Konto, MwSt, SOLL, HABEN-Konto, Datev-Schlüssel, Vorbedingungs-Konto"),
        group);
    label->setObjectName(QStringLiteral("replaceLabel"));
    layout->addWidget(label, 1, 0, 1, 2);
    replaceBox_ = new ReplaceTextEdit(group);
    replaceBox_->setObjectName(QStringLiteral("replaceText"));
    replaceBox_->setMinimumHeight(replaceBox_->fontMetrics().lineSpacing() * 4);
    label->setBuddy(replaceBox_);
    connect(replaceBox_, &ReplaceTextEdit::userEdited, this, &MainWindow::OnReplaceEdited);
    connect(replaceBox_, &ReplaceTextEdit::focusLeft, this, &MainWindow::OnReplaceFocusLeft);
    layout->addWidget(replaceBox_, 2, 0);

    auto* side = new QVBoxLayout;
    replaceButton_ = MakeButton(QStringLiteral("&Konten ersetzen"), "replaceAccounts",
                                &MainWindow::OnReplaceAccounts);
    side->addWidget(replaceButton_);
    side->addWidget(MakeButton(QStringLiteral("'&0' Buch. löschen"), "deleteZero",
                               &MainWindow::OnDeleteZeroBookings));
    side->addStretch(1);
    layout->addLayout(side, 2, 1);
    accountsState_ = WrappedLabel(QString(), "accountsState", group);
    layout->addWidget(accountsState_, 3, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    return Step(5, group, this);
}

QWidget* MainWindow::BuildExportGroups() {
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);

    auto makeGroup = [this, box](const QString& title, const char* groupName, QLineEdit*& field,
                                 const char* fieldName, const QString& select,
                                 const char* selectName, void (MainWindow::*onSelect)(),
                                 const QString& run, const char* runName,
                                 void (MainWindow::*onRun)()) {
        auto* group = new QGroupBox(title, box);
        group->setObjectName(QLatin1String(groupName));
        auto* grid = new QGridLayout(group);
        field = new QLineEdit(group);
        field->setObjectName(QLatin1String(fieldName));
        grid->addWidget(field, 0, 0);
        QPushButton* small = MakeButton(select, selectName, onSelect);
        small->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
        grid->addWidget(small, 0, 1);
        grid->addWidget(MakeButton(run, runName, onRun), 1, 0, 1, 2);
        grid->setColumnStretch(0, 1);
        return group;
    };
    layout->addWidget(makeGroup(QStringLiteral("DATE&V-Export"), "datevGroup", datevField_,
                                "datevTarget", QStringLiteral("A&uswahl"), "datevSelect",
                                &MainWindow::OnDatevAuswahl, QStringLiteral("DA&TEN EXPORTIEREN"),
                                "datevExport", &MainWindow::OnDatenExportieren),
                      1);
    auto* oder = new QLabel(QStringLiteral("oder"), box);
    oder->setObjectName(QStringLiteral("oder"));
    layout->addWidget(oder);
    layout->addWidget(
        makeGroup(QStringLiteral("Export zum Le&xware-Buchhalter:"), "lexwareGroup", lexwareField_,
                  "lexwareTarget", QStringLiteral("Auswa&hl"), "lexwareSelect",
                  &MainWindow::OnSelectLexwareFile, QStringLiteral("Daten exp&ortieren"),
                  "lexwareExport", &MainWindow::OnExportLexware),
        1);
    auto* column = new QWidget(this);
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    columnLayout->addWidget(box);
    exportState_ = WrappedLabel(QString(), "exportState", column);
    columnLayout->addWidget(exportState_);
    connect(datevField_, &QLineEdit::textEdited, this, [this](const QString& text) {
        workflow_.OnDatevTargetEdited(CorePath(text));
        RememberTargets();
    });
    connect(lexwareField_, &QLineEdit::textEdited, this, [this](const QString& text) {
        workflow_.OnLexwareTargetEdited(CorePath(text));
        RememberTargets();
    });
    return Step(6, column, this);
}

// Help (F1) and About have no system menu to live in everywhere: they are
// the window's context menu (right click, or the menu key) and shortcuts.
void MainWindow::BuildActions() {
    auto* help = new QAction(QStringLiteral("&Hilfe"), this);
    help->setObjectName(QStringLiteral("helpAction"));
    help->setShortcut(QKeySequence::HelpContents);
    help->setShortcutContext(Qt::WindowShortcut);
    connect(help, &QAction::triggered, this, &MainWindow::ShowHelp);
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    auto* about = new QAction(QStringLiteral("Inf&o über Belvaron..."), this);
    about->setObjectName(QStringLiteral("aboutAction"));
    about->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    about->setShortcutContext(Qt::WindowShortcut);
    connect(about, &QAction::triggered, this, &MainWindow::ShowAbout);
    addActions({help, separator, about});
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

}  // namespace belvaron::gui
