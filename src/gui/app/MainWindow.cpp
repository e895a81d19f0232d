#include "gui/app/MainWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSessionManager>
#include <QTimer>
#include <QVBoxLayout>

#include "core/base/CodePage.h"
#include "gui/app/CorePath.h"
#include "gui/app/ProgramIcon.h"
#include "gui/app/QtUi.h"
#include "gui/app/ReplaceTextEdit.h"
#include "gui/app/WindowSettings.h"
#include "gui/bookings/BookingListModel.h"
#include "gui/bookings/BookingListView.h"
#include "gui/ui/AboutDialog.h"
#include "gui/ui/HelpDialog.h"

namespace belvaron::gui {

namespace {

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

// The window's content inside its scroll area: for a given width it asks
// only for its minimum height, so the scroll area scrolls only when the
// steps do not fit even with the list at its smallest.
class Content : public QWidget {
public:
    using QWidget::QWidget;
    int heightForWidth(int width) const override {
        return layout() ? layout()->totalMinimumHeightForWidth(width)
                        : QWidget::heightForWidth(width);
    }
};

}  // namespace

MainWindow::MainWindow(QtUi& ui, QWidget* parent)
    : QDialog(parent, Qt::Window),
      ui_(ui),
      workflow_(ui),
      settings_(std::make_unique<WindowSettings>()) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowIcon(ProgramIcon());
    setSizeGripEnabled(true);
    setAcceptDrops(true);

    // Everything lives in a scroll area: on a screen too small for the
    // steps even with the list at its smallest, the window still fits and
    // scrolls.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("contentScroll"));
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    content_ = new Content(scroll_);
    content_->setObjectName(QStringLiteral("content"));
    auto* layout = new QVBoxLayout(content_);
    layout->setSpacing(6);
    layout->addWidget(BuildStepsOneToThree());
    layout->addWidget(BuildLedger(), 1);
    // Steps 4 and 5 side by side: the height goes to the list.
    auto* middle = new QHBoxLayout;
    middle->addWidget(BuildTaxationGroup(), 1);
    middle->addWidget(BuildAccountsGroup(), 1);
    layout->addLayout(middle);
    layout->addWidget(BuildExportGroups());

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(MakeButton(QStringLiteral("U&pdates?"), "updates", &MainWindow::OnUpdates));
    bottom->addWidget(MakeButton(QStringLiteral("Programm &beenden"), "quit", &MainWindow::reject));
    layout->addLayout(bottom);
    scroll_->setWidget(content_);
    outer->addWidget(scroll_);

    BuildActions();
    if (const QScreen* screen = QApplication::primaryScreen()) {
        FitInto(screen->availableGeometry());
    }
    qApp->installEventFilter(this);
    // The end of the desktop session closes the window without a question:
    // the REPLACE box's edits are saved.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
        workflow_.OnSessionEnd();
        ShowMembers();
        settings_->SetGeometry(saveGeometry());
    });
    ui_.AttachWindow(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    ui_.AttachWindow(nullptr);
    if (remembering_) settings_->SetGeometry(saveGeometry());
}

void MainWindow::Initialise(const std::string& programFolder) {
    workflow_.Start(programFolder);
    aboutText_ = Workflow::TitleText();
    setWindowTitle(QString::fromStdString(aboutText_));
    ApplyRemembered();
    ShowMembers();
}

void MainWindow::ShowMembers() {
    const Workflow& w = workflow_;
    euro_->setChecked(w.currency() == Currency::Euro);
    dm_->setChecked(w.currency() == Currency::DM);
    SetTextIfDifferent(journalField_, QtPath(w.journalPath()));
    soll_->setChecked(w.taxation() == Taxation::Soll);
    ist_->setChecked(w.taxation() == Taxation::Ist);
    SetTextIfDifferent(vatField_, QtPath(w.vatReportPath()));
    if (!chartsShown_ || shownCharts_ != w.chartFiles()) {
        charts_->clear();
        for (const std::string& name : w.chartFiles()) charts_->addItem(QtPath(name));
        shownCharts_ = w.chartFiles();
        chartsShown_ = true;
    }
    charts_->setCurrentIndex(w.chartFileIndex() < charts_->count() ? w.chartFileIndex() : -1);
    // The chart may follow the DATEV dialog: the one shown is the one kept.
    if (remembering_) settings_->SetText(WindowSettings::Key::Chart, charts_->currentText());
    if (w.replaceText() != shownReplaceText_) {
        replaceBox_->SetTextQuietly(ReplaceTextForBox(w.replaceText()));
        shownReplaceText_ = w.replaceText();
    }
    SetTextIfDifferent(datevField_, QtPath(w.datevTargetPath()));
    SetTextIfDifferent(lexwareField_, QtPath(w.lexwareTargetPath()));
    ShowReplaceMarker();
    ShowListStatus();
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
    if (workflow_.OnQuit()) {
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

void MainWindow::OnSelectJournal() {
    if (workflow_.OnSelectJournal()) RememberJournal();
}
void MainWindow::OnDeleteZeroBookings() { workflow_.OnDeleteZeroBookings(); }
void MainWindow::OnSelectVatReport() { workflow_.OnSelectVatReport(); }
void MainWindow::OnKontenUeberpruefen() { workflow_.OnKontenUeberpruefen(); }
void MainWindow::OnClearReplaceList() { workflow_.OnClearReplaceList(); }
void MainWindow::OnReplaceAccounts() { workflow_.OnReplaceAccounts(); }
void MainWindow::OnDatevAuswahl() {
    workflow_.OnDatevAuswahl();
    RememberTargets();
}
void MainWindow::OnDatenExportieren() { workflow_.OnDatenExportieren(); }
void MainWindow::OnSelectLexwareFile() {
    workflow_.OnSelectLexwareFile();
    RememberTargets();
}
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
    const int messagesBefore = ui_.MessagesShown();
    workflow_.OnReplaceTextLeft(toFileButton);
    ShowMembers();
    // A click that moved the focus and met a message box on the way is
    // spent: the press that follows is not delivered.
    if (reason == Qt::MouseFocusReason && ui_.MessagesShown() != messagesBefore) {
        swallowPress_ = true;
        QTimer::singleShot(0, this, [this] { swallowPress_ = false; });
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        auto* widget = qobject_cast<QWidget*>(watched);
        QString path;
        // A journal dropped on a field of the window opens the journal; it
        // is not typed into the field.
        if (widget && widget->window() == this && IsJournalDrop(event, &path)) {
            auto* drop = static_cast<QDropEvent*>(event);
            drop->acceptProposedAction();
            if (type == QEvent::Drop) {
                // After the drag has ended: the load may show messages.
                QTimer::singleShot(0, this, [this, path] { OpenJournal(path); });
            }
            return true;
        }
    }
    if (swallowPress_ && (event->type() == QEvent::MouseButtonPress ||
                          event->type() == QEvent::MouseButtonDblClick)) {
        swallowPress_ = false;
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace belvaron::gui
