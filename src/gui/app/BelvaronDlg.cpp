#include "app/BelvaronDlg.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "app/CodePage.h"
#include "app/ProgramIcon.h"
#include "app/QtUi.h"
#include "app/ReplaceTextEdit.h"
#include "app/StepDigit.h"
#include "bookings/BookingListModel.h"
#include "bookings/BookingListView.h"
#include "ui/AboutDlg.h"
#include "ui/HelpDlg.h"

namespace belvaron::gui {

namespace {

QString FromLocal(const std::string& path) { return QFile::decodeName(path.c_str()); }
std::string ToLocal(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The REPLACE text: Windows-1252 bytes with CR LF in the file, UTF-8 with LF
// in the box.
QString ReplaceTextForBox(const std::string& bytes) {
    QString text = QString::fromStdString(Cp1252ToUtf8(bytes));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
std::string ReplaceTextFromBox(QString text) {
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return Utf8ToCp1252(text.toStdString());
}

void SetTextIfDifferent(QLineEdit* field, const QString& text) {
    if (field->text() != text) field->setText(text);
}

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

CBelvaronDlg::CBelvaronDlg(QtUi& ui, QWidget* parent)
    : QDialog(parent, Qt::Window), ui_(ui), workflow_(ui) {
    setObjectName(QStringLiteral("CBelvaronDlg"));
    setWindowIcon(ProgramIcon());
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    layout->addWidget(BuildStepsOneToThree());

    model_ = new BookingListModel(this);
    list_ = new BookingListView(this);
    list_->setObjectName(QStringLiteral("bookingList"));
    list_->setModel(model_);
    list_->setMinimumHeight(list_->fontMetrics().lineSpacing() * 8);
    list_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(list_, &BookingListView::editRequested, this, &CBelvaronDlg::OnEditRequested);
    layout->addWidget(list_, 1);

    layout->addWidget(Step(4, BuildTaxationGroup(), this));
    layout->addWidget(Step(5, BuildAccountsGroup(), this));
    layout->addWidget(Step(6, BuildExportGroups(), this));

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(MakeButton(QStringLiteral("U&pdates?"), "updates", &CBelvaronDlg::OnUpdates));
    bottom->addWidget(MakeButton(QStringLiteral("Programm &beenden"), "quit", &CBelvaronDlg::reject));
    layout->addLayout(bottom);

    BuildActions();
    // A roomy first size for the list, within the screen.
    const QFontMetrics fm = fontMetrics();
    QSize size(qMax(sizeHint().width(), fm.averageCharWidth() * 150),
               qMax(sizeHint().height(), fm.lineSpacing() * 48));
    if (const QScreen* screen = QApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    }
    resize(size);
    qApp->installEventFilter(this);
    ui_.AttachWindow(this);
}

CBelvaronDlg::~CBelvaronDlg() {
    qApp->removeEventFilter(this);
    ui_.AttachWindow(nullptr);
}

QPushButton* CBelvaronDlg::MakeButton(const QString& caption, const char* name,
                                      void (CBelvaronDlg::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    connect(button, &QPushButton::clicked, this, [this, handler] {
        (this->*handler)();
        ShowMembers();
    });
    return button;
}

QWidget* CBelvaronDlg::BuildStepsOneToThree() {
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
    connect(euro_, &QRadioButton::clicked, this, [this] { workflow_.currencyChoice = 0; });
    connect(dm_, &QRadioButton::clicked, this, [this] { workflow_.currencyChoice = 1; });
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
    journalRow->addWidget(MakeButton(QStringLiteral("&Auswahl"), "journalSelect",
                                     &CBelvaronDlg::OnSelectJournal));
    layout->addWidget(Step(3, journal, box));
    return box;
}

QWidget* CBelvaronDlg::BuildTaxationGroup() {
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
    vatSelect_ = MakeButton(QStringLiteral("Aus&wahl"), "vatSelect", &CBelvaronDlg::OnSelectVatReport);
    row->addWidget(vatSelect_);
    layout->addLayout(row);
    layout->addStretch(1);
    connect(soll_, &QRadioButton::clicked, this, [this] {
        workflow_.OnTaxationSoll();
        ShowMembers();
    });
    connect(ist_, &QRadioButton::clicked, this, [this] {
        workflow_.OnTaxationIst();
        ShowMembers();
    });
    return group;
}

QWidget* CBelvaronDlg::BuildAccountsGroup() {
    auto* group = new QGroupBox(QStringLiteral("Bearbeitung der Konte&n"), this);
    group->setObjectName(QStringLiteral("accountsGroup"));
    auto* layout = new QGridLayout(group);
    auto* top = new QHBoxLayout;
    charts_ = new QComboBox(group);
    charts_->setObjectName(QStringLiteral("chartFiles"));
    charts_->setMinimumContentsLength(14);
    charts_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(charts_, &QComboBox::activated, this,
            [this](int index) { workflow_.chartFileIndex = index; });
    top->addWidget(charts_, 1);
    checkButton_ = MakeButton(QStringLiteral("Konten übe&rprüfen"), "checkAccounts",
                              &CBelvaronDlg::OnKontenUeberpruefen);
    top->addWidget(checkButton_);
    top->addWidget(MakeButton(QStringLiteral("&Liste löschen"), "clearReplaceList",
                              &CBelvaronDlg::OnClearReplaceList));
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
    connect(replaceBox_, &ReplaceTextEdit::userEdited, this, &CBelvaronDlg::OnReplaceEdited);
    connect(replaceBox_, &ReplaceTextEdit::focusLeft, this, &CBelvaronDlg::OnReplaceFocusLeft);
    layout->addWidget(replaceBox_, 2, 0);

    auto* side = new QVBoxLayout;
    replaceButton_ = MakeButton(QStringLiteral("&Konten ersetzen"), "replaceAccounts",
                                &CBelvaronDlg::OnReplaceAccounts);
    side->addWidget(replaceButton_);
    side->addWidget(MakeButton(QStringLiteral("'&0' Buch. löschen"), "deleteZero",
                               &CBelvaronDlg::OnDeleteZeroBookings));
    side->addStretch(1);
    layout->addLayout(side, 2, 1);
    layout->setColumnStretch(0, 1);
    return group;
}

QWidget* CBelvaronDlg::BuildExportGroups() {
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);

    auto makeGroup = [this, box](const QString& title, const char* groupName,
                                 QLineEdit*& field, const char* fieldName,
                                 const QString& select, const char* selectName,
                                 void (CBelvaronDlg::*onSelect)(), const QString& run,
                                 const char* runName, void (CBelvaronDlg::*onRun)()) {
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
                                &CBelvaronDlg::OnDatevAuswahl,
                                QStringLiteral("DA&TEN EXPORTIEREN"), "datevExport",
                                &CBelvaronDlg::OnDatenExportieren),
                      1);
    auto* oder = new QLabel(QStringLiteral("oder"), box);
    oder->setObjectName(QStringLiteral("oder"));
    layout->addWidget(oder);
    layout->addWidget(makeGroup(QStringLiteral("Export zum Le&xware-Buchhalter:"), "lexwareGroup",
                                lexwareField_, "lexwareTarget", QStringLiteral("Auswa&hl"),
                                "lexwareSelect", &CBelvaronDlg::OnSelectLexwareFile,
                                QStringLiteral("Daten exp&ortieren"), "lexwareExport",
                                &CBelvaronDlg::OnExportLexware),
                      1);
    connect(datevField_, &QLineEdit::textEdited, this,
            [this](const QString& text) { workflow_.datevTargetPath = ToLocal(text); });
    connect(lexwareField_, &QLineEdit::textEdited, this,
            [this](const QString& text) { workflow_.lexwareTargetPath = ToLocal(text); });
    return box;
}

// Help (F1) and About have no system menu to live in everywhere: they are
// the window's context menu (right click, or the menu key) and shortcuts.
void CBelvaronDlg::BuildActions() {
    auto* help = new QAction(QStringLiteral("&Hilfe"), this);
    help->setObjectName(QStringLiteral("helpAction"));
    help->setShortcut(QKeySequence::HelpContents);
    help->setShortcutContext(Qt::WindowShortcut);
    connect(help, &QAction::triggered, this, &CBelvaronDlg::ShowHelp);
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    auto* about = new QAction(QStringLiteral("Inf&o über Belvaron..."), this);
    about->setObjectName(QStringLiteral("aboutAction"));
    about->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    about->setShortcutContext(Qt::WindowShortcut);
    connect(about, &QAction::triggered, this, &CBelvaronDlg::ShowAbout);
    addActions({help, separator, about});
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CBelvaronDlg::Initialise(const std::string& programFolder) {
    workflow_.OnInitDialog(programFolder);
    aboutText_ = Workflow::TitleText();
    setWindowTitle(QString::fromStdString(aboutText_));
    ShowMembers();
}

void CBelvaronDlg::ClearBookings() {
    savedRows_ = model_->rowCount();
    savedScroll_ = list_->verticalScrollBar()->value();
    savedCurrent_ = list_->currentIndex().row();
    model_->Clear();
}

void CBelvaronDlg::ShowBookings(const CDataSet& store, std::span<const int> marked) {
    model_->Refill(store);
    list_->SetMarks(marked);
    // A refill of the same bookings keeps the place the user was looking at.
    if (savedRows_ == model_->rowCount() && savedRows_ > 0) {
        if (savedCurrent_ >= 0) {
            list_->selectionModel()->setCurrentIndex(model_->index(savedCurrent_, 0),
                                                     QItemSelectionModel::NoUpdate);
        }
        list_->verticalScrollBar()->setValue(savedScroll_);
    }
    savedRows_ = -1;
}

void CBelvaronDlg::ShowMembers() {
    const Workflow& w = workflow_;
    euro_->setChecked(w.currencyChoice == 0);
    dm_->setChecked(w.currencyChoice == 1);
    SetTextIfDifferent(journalField_, FromLocal(w.journalPath));
    soll_->setChecked(w.taxationChoice == 0);
    ist_->setChecked(w.taxationChoice == 1);
    SetTextIfDifferent(vatField_, FromLocal(w.vatReportPath));
    if (!chartsShown_ || shownCharts_ != w.chartFiles) {
        charts_->clear();
        for (const std::string& name : w.chartFiles) charts_->addItem(FromLocal(name));
        shownCharts_ = w.chartFiles;
        chartsShown_ = true;
    }
    charts_->setCurrentIndex(w.chartFileIndex < charts_->count() ? w.chartFileIndex : -1);
    if (w.replaceText != shownReplaceText_) {
        replaceBox_->SetTextQuietly(ReplaceTextForBox(w.replaceText));
        shownReplaceText_ = w.replaceText;
    }
    SetTextIfDifferent(datevField_, FromLocal(w.datevTargetPath));
    SetTextIfDifferent(lexwareField_, FromLocal(w.lexwareTargetPath));
}

void CBelvaronDlg::SetVatControlsEnabled(bool enabled) {
    vatHint_->setEnabled(enabled);
    vatField_->setEnabled(enabled);
    vatSelect_->setEnabled(enabled);
}

void CBelvaronDlg::reject() {
    if (workflow_.OnCancel()) QDialog::reject();
}

void CBelvaronDlg::ShowHelp() {
    CHelp help(this);
    help.helpFolder = workflow_.HelpFolder();
    help.exec();
}

void CBelvaronDlg::ShowAbout() {
    if (!about_) about_ = std::make_unique<CAboutDlg>(this);
    about_->SetAboutText(QString::fromStdString(aboutText_));
    about_->exec();
}

void CBelvaronDlg::OnUpdates() {
    if (updateHandler_) updateHandler_();
}

void CBelvaronDlg::OnSelectJournal() { workflow_.OnSelectJournal(); }
void CBelvaronDlg::OnDeleteZeroBookings() { workflow_.OnDeleteZeroBookings(); }
void CBelvaronDlg::OnSelectVatReport() { workflow_.OnSelectVatReport(); }
void CBelvaronDlg::OnKontenUeberpruefen() { workflow_.OnKontenUeberpruefen(); }
void CBelvaronDlg::OnClearReplaceList() { workflow_.OnClearReplaceList(); }
void CBelvaronDlg::OnReplaceAccounts() { workflow_.OnReplaceAccounts(); }
void CBelvaronDlg::OnDatevAuswahl() { workflow_.OnDatevAuswahl(); }
void CBelvaronDlg::OnDatenExportieren() { workflow_.OnDatenExportieren(); }
void CBelvaronDlg::OnSelectLexwareFile() { workflow_.OnSelectLexwareFile(); }
void CBelvaronDlg::OnExportLexware() { workflow_.OnExportLexware(); }

void CBelvaronDlg::OnEditRequested(int row) {
    workflow_.OnListDoubleClick(row);
    ShowMembers();
}

void CBelvaronDlg::OnReplaceEdited() {
    workflow_.replaceText = ReplaceTextFromBox(replaceBox_->toPlainText());
    shownReplaceText_ = workflow_.replaceText;
    workflow_.OnReplaceTextChange();
}

void CBelvaronDlg::OnReplaceFocusLeft(Qt::FocusReason reason) {
    // Another window taking the focus (a message box, another program) is
    // no leaving of the box: the user comes back to it.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    const QWidget* next = QApplication::focusWidget();
    const bool toFileButton = next == replaceButton_ || next == checkButton_ ||
                              replaceButton_->isDown() || checkButton_->isDown();
    emit replaceTextLeft(toFileButton);
    const int messagesBefore = ui_.MessagesShown();
    workflow_.OnReplaceTextKillFocus(toFileButton);
    ShowMembers();
    // A click that moved the focus and met a message box on the way is
    // spent: the press that follows is not delivered.
    if (reason == Qt::MouseFocusReason && ui_.MessagesShown() != messagesBefore) {
        swallowPress_ = true;
        QTimer::singleShot(0, this, [this] { swallowPress_ = false; });
    }
}

bool CBelvaronDlg::eventFilter(QObject* watched, QEvent* event) {
    if (swallowPress_ && (event->type() == QEvent::MouseButtonPress ||
                          event->type() == QEvent::MouseButtonDblClick)) {
        swallowPress_ = false;
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace belvaron::gui
