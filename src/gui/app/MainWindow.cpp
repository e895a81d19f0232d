#include "gui/app/MainWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSessionManager>
#include <QTimer>
#include <QVBoxLayout>

#include "core/base/CodePage.h"
#include "gui/app/ProgramIcon.h"
#include "gui/app/QtUi.h"
#include "gui/app/ReplaceTextEdit.h"
#include "gui/bookings/BookingListModel.h"
#include "gui/bookings/BookingListView.h"
#include "gui/ui/AboutDialog.h"
#include "gui/ui/HelpDialog.h"

namespace belvaron::gui {

namespace {

QString FromLocal(const std::string& path) { return QFile::decodeName(path.c_str()); }

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

}  // namespace

MainWindow::MainWindow(QtUi& ui, QWidget* parent)
    : QDialog(parent, Qt::Window), ui_(ui), workflow_(ui) {
    setObjectName(QStringLiteral("MainWindow"));
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
    connect(list_, &BookingListView::editRequested, this, &MainWindow::OnEditRequested);
    layout->addWidget(list_, 1);

    layout->addWidget(BuildTaxationGroup());
    layout->addWidget(BuildAccountsGroup());
    layout->addWidget(BuildExportGroups());

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(MakeButton(QStringLiteral("U&pdates?"), "updates", &MainWindow::OnUpdates));
    bottom->addWidget(MakeButton(QStringLiteral("Programm &beenden"), "quit", &MainWindow::reject));
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
    // The end of the desktop session closes the window without a question:
    // the REPLACE box's edits are saved.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
        workflow_.OnSessionEnd();
        ShowMembers();
    });
    ui_.AttachWindow(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    ui_.AttachWindow(nullptr);
}

void MainWindow::Initialise(const std::string& programFolder) {
    workflow_.OnInitDialog(programFolder);
    aboutText_ = Workflow::TitleText();
    setWindowTitle(QString::fromStdString(aboutText_));
    ShowMembers();
}

void MainWindow::ClearBookings() {
    savedRows_ = model_->rowCount();
    savedScroll_ = list_->verticalScrollBar()->value();
    savedCurrent_ = list_->currentIndex().row();
    model_->Clear();
}

void MainWindow::ShowBookings(const BookingStore& store, std::span<const int> marked) {
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

void MainWindow::ShowMembers() {
    const Workflow& w = workflow_;
    euro_->setChecked(w.currency() == Currency::Euro);
    dm_->setChecked(w.currency() == Currency::DM);
    SetTextIfDifferent(journalField_, FromLocal(w.journalPath()));
    soll_->setChecked(w.taxation() == Taxation::Soll);
    ist_->setChecked(w.taxation() == Taxation::Ist);
    SetTextIfDifferent(vatField_, FromLocal(w.vatReportPath()));
    if (!chartsShown_ || shownCharts_ != w.chartFiles()) {
        charts_->clear();
        for (const std::string& name : w.chartFiles()) charts_->addItem(FromLocal(name));
        shownCharts_ = w.chartFiles();
        chartsShown_ = true;
    }
    charts_->setCurrentIndex(w.chartFileIndex() < charts_->count() ? w.chartFileIndex() : -1);
    if (w.replaceText() != shownReplaceText_) {
        replaceBox_->SetTextQuietly(ReplaceTextForBox(w.replaceText()));
        shownReplaceText_ = w.replaceText();
    }
    SetTextIfDifferent(datevField_, FromLocal(w.datevTargetPath()));
    SetTextIfDifferent(lexwareField_, FromLocal(w.lexwareTargetPath()));
    ShowReplaceMarker();
    const StepStates states = w.Describe();
    const std::pair<QLabel*, const std::string*> labels[] = {
        {journalState_, &states.journal},
        {taxationState_, &states.taxation},
        {accountsState_, &states.accounts},
        {exportState_, &states.exported},
    };
    for (const auto& [label, text] : labels) {
        label->setText(QString::fromStdString(*text));
        label->setVisible(!text->empty());
    }
}

void MainWindow::ShowReplaceMarker() {
    const QString title =
        workflow_.replaceTextModified()
            ? QStringLiteral("Bearbeitung der Konte&n (REPLACE-Liste ungespeichert)")
            : QStringLiteral("Bearbeitung der Konte&n");
    if (accountsGroup_->title() != title) accountsGroup_->setTitle(title);
}

void MainWindow::SetVatControlsEnabled(bool enabled) {
    vatHint_->setEnabled(enabled);
    vatField_->setEnabled(enabled);
    vatSelect_->setEnabled(enabled);
}

void MainWindow::reject() {
    if (workflow_.OnCancel()) {
        QDialog::reject();
    } else {
        ShowMembers();
    }
}

void MainWindow::ShowHelp() {
    HelpDialog help(this);
    help.helpFolder = workflow_.HelpFolder();
    help.exec();
}

void MainWindow::ShowAbout() {
    if (!about_) about_ = std::make_unique<AboutDialog>(this);
    about_->SetAboutText(QString::fromStdString(aboutText_));
    about_->exec();
}

void MainWindow::OnUpdates() {
    if (updateHandler_) {
        updateHandler_();
    } else {
        workflow_.OnUpdates();
    }
}

void MainWindow::OnSelectJournal() { workflow_.OnSelectJournal(); }
void MainWindow::OnDeleteZeroBookings() { workflow_.OnDeleteZeroBookings(); }
void MainWindow::OnSelectVatReport() { workflow_.OnSelectVatReport(); }
void MainWindow::OnKontenUeberpruefen() { workflow_.OnKontenUeberpruefen(); }
void MainWindow::OnClearReplaceList() { workflow_.OnClearReplaceList(); }
void MainWindow::OnReplaceAccounts() { workflow_.OnReplaceAccounts(); }
void MainWindow::OnDatevAuswahl() { workflow_.OnDatevAuswahl(); }
void MainWindow::OnDatenExportieren() { workflow_.OnDatenExportieren(); }
void MainWindow::OnSelectLexwareFile() { workflow_.OnSelectLexwareFile(); }
void MainWindow::OnExportLexware() { workflow_.OnExportLexware(); }

void MainWindow::OnEditRequested(int row) {
    workflow_.OnListDoubleClick(row);
    ShowMembers();
}

void MainWindow::OnReplaceEdited() {
    workflow_.OnReplaceTextChange(ReplaceTextFromBox(replaceBox_->toPlainText()));
    shownReplaceText_ = workflow_.replaceText();
    ShowReplaceMarker();
}

void MainWindow::OnReplaceFocusLeft(Qt::FocusReason reason) {
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

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (swallowPress_ && (event->type() == QEvent::MouseButtonPress ||
                          event->type() == QEvent::MouseButtonDblClick)) {
        swallowPress_ = false;
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace belvaron::gui
