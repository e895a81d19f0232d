#include "gui/app/MainWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSessionManager>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/base/CodePage.h"
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

QString FromLocal(const std::string& path) { return QFile::decodeName(path.c_str()); }
std::string ToLocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

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

void MainWindow::FitInto(const QRect& available) {
    // A roomy first size for the list, within the screen's free area less
    // the window frame.
    const QFontMetrics fm = fontMetrics();
    const QSize wanted(qMax(content_->sizeHint().width(), fm.averageCharWidth() * 150),
                       qMax(content_->sizeHint().height(), fm.lineSpacing() * 48));
    const QSize frame(16, 48);
    resize(wanted.boundedTo(available.size() - frame));
}

QWidget* MainWindow::BuildLedger() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Suchen:"), box);
    filter_ = new QLineEdit(box);
    filter_->setObjectName(QStringLiteral("bookingFilter"));
    filter_->setPlaceholderText(QStringLiteral("Beleg, Text oder Konto"));
    filter_->setClearButtonEnabled(true);
    label->setBuddy(filter_);
    show_ = new QComboBox(box);
    show_->setObjectName(QStringLiteral("bookingShow"));
    show_->addItems({QStringLiteral("alle Buchungen"), QStringLiteral("nur Konto 0"),
                     QStringLiteral("nur umdatierte")});
    row->addWidget(label);
    row->addWidget(filter_, 1);
    row->addWidget(show_);
    layout->addLayout(row);

    model_ = new BookingListModel(this);
    list_ = new BookingListView(box);
    list_->setObjectName(QStringLiteral("bookingList"));
    list_->SetBookingModel(model_);
    // The list gives way first when the screen is small.
    list_->setMinimumHeight(list_->verticalHeader()->defaultSectionSize() * 4 +
                            list_->horizontalHeader()->sizeHint().height());
    list_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(list_, &BookingListView::editRequested, this, &MainWindow::OnEditRequested);
    layout->addWidget(list_, 1);

    listStatus_ = new QLabel(box);
    listStatus_->setObjectName(QStringLiteral("bookingStatus"));
    listStatus_->setTextFormat(Qt::PlainText);
    layout->addWidget(listStatus_);

    // Typing narrows the list after a short pause, not at every key.
    filterTimer_ = new QTimer(this);
    filterTimer_->setSingleShot(true);
    filterTimer_->setInterval(200);
    connect(filterTimer_, &QTimer::timeout, this, &MainWindow::ApplyFilter);
    connect(filter_, &QLineEdit::textChanged, filterTimer_, qOverload<>(&QTimer::start));
    connect(show_, &QComboBox::currentIndexChanged, this, &MainWindow::ApplyFilter);
    connect(model_, &QAbstractItemModel::modelReset, this, &MainWindow::ShowListStatus);
    ShowListStatus();
    return box;
}

void MainWindow::ApplyFilter() {
    filterTimer_->stop();
    const int storeIndex = model_->StoreIndex(list_->currentIndex().row());
    const BookingListModel::Show shows[] = {BookingListModel::Show::All,
                                            BookingListModel::Show::ZeroAccount,
                                            BookingListModel::Show::Redated};
    model_->SetFilter(filter_->text(), shows[qBound(0, show_->currentIndex(), 2)]);
    if (storeIndex >= 0) list_->ShowBooking(storeIndex);
}

void MainWindow::ShowListStatus() {
    listStatus_->setText(model_->rowCount() > 0 || model_->totals().storeRows > 0
                             ? model_->StatusText()
                             : QStringLiteral("keine Buchungen"));
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    ui_.AttachWindow(nullptr);
    if (remembering_) settings_->SetGeometry(saveGeometry());
}

void MainWindow::Initialise(const std::string& programFolder) {
    workflow_.OnInitDialog(programFolder);
    aboutText_ = Workflow::TitleText();
    setWindowTitle(QString::fromStdString(aboutText_));
    ApplyRemembered();
    ShowMembers();
}

void MainWindow::ApplyRemembered() {
    using Key = WindowSettings::Key;
    const QByteArray geometry = settings_->Geometry();
    if (!geometry.isEmpty()) restoreGeometry(geometry);
    ui_.SetLastFolder(settings_->Text(Key::JournalFolder));
    const std::string datev = ToLocalPath(settings_->Text(Key::DatevTarget));
    if (!datev.empty()) workflow_.OnDatevTargetEdited(datev);
    const std::string lexware = ToLocalPath(settings_->Text(Key::LexwareTarget));
    if (!lexware.empty()) workflow_.OnLexwareTargetEdited(lexware);
    const std::string chart = ToLocalPath(settings_->Text(Key::Chart));
    const auto& charts = workflow_.chartFiles();
    if (std::find(charts.begin(), charts.end(), chart) != charts.end()) workflow_.UseChart(chart);
    if (settings_->Text(Key::Taxation) == QLatin1String("IST")) workflow_.OnTaxationIst();
    ShowRecentJournals();
    remembering_ = true;
}

void MainWindow::RememberTargets() {
    if (!remembering_) return;
    settings_->SetText(WindowSettings::Key::DatevTarget, FromLocal(workflow_.datevTargetPath()));
    settings_->SetText(WindowSettings::Key::LexwareTarget,
                       FromLocal(workflow_.lexwareTargetPath()));
}

void MainWindow::RememberJournal() {
    if (!remembering_ || !workflow_.journalLoaded()) return;
    const QString path = QFileInfo(FromLocal(workflow_.journalPath())).absoluteFilePath();
    settings_->AddRecentJournal(path);
    settings_->SetText(WindowSettings::Key::JournalFolder, QFileInfo(path).absolutePath());
    ui_.SetLastFolder(QFileInfo(path).absolutePath());
    ShowRecentJournals();
}

void MainWindow::ShowRecentJournals() {
    QMenu* menu = recent_->menu();
    menu->clear();
    for (const QString& path : settings_->RecentJournals()) {
        QAction* action = menu->addAction(path);
        connect(action, &QAction::triggered, this, [this, path] { OpenJournal(path); });
    }
    recent_->setEnabled(!menu->isEmpty());
}

void MainWindow::OpenJournal(const QString& path) {
    if (workflow_.OnOpenJournal(ToLocalPath(path))) RememberJournal();
    ShowMembers();
}

void MainWindow::ClearBookings() {
    savedRows_ = model_->totals().storeRows;
    savedScroll_ = list_->verticalScrollBar()->value();
    savedCurrent_ = model_->StoreIndex(list_->currentIndex().row());
    model_->Clear();
}

void MainWindow::ShowBookings(const BookingStore& store, std::span<const int> marked) {
    model_->Refill(store, marked);
    // A refill of the same bookings keeps the place the user was looking at;
    // the caret goes to the first marked booking.
    if (savedRows_ == model_->totals().storeRows && savedRows_ > 0) {
        if (savedCurrent_ >= 0 && model_->RowOf(savedCurrent_) >= 0) {
            list_->selectionModel()->setCurrentIndex(model_->index(model_->RowOf(savedCurrent_), 0),
                                                     QItemSelectionModel::NoUpdate);
        }
        list_->verticalScrollBar()->setValue(savedScroll_);
    }
    if (!marked.empty()) list_->ShowBooking(marked.front());
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
    // The chart may follow the DATEV dialog: the one shown is the one kept.
    if (remembering_) settings_->SetText(WindowSettings::Key::Chart, charts_->currentText());
    if (w.replaceText() != shownReplaceText_) {
        replaceBox_->SetTextQuietly(ReplaceTextForBox(w.replaceText()));
        shownReplaceText_ = w.replaceText();
    }
    SetTextIfDifferent(datevField_, FromLocal(w.datevTargetPath()));
    SetTextIfDifferent(lexwareField_, FromLocal(w.lexwareTargetPath()));
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

// A drop of one local file anywhere on the window: the path.
bool MainWindow::IsJournalDrop(const QEvent* event, QString* path) const {
    const auto* drop = static_cast<const QDropEvent*>(event);
    const QMimeData* mime = drop->mimeData();
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return false;
    const QUrl url = mime->urls().constFirst();
    if (!url.isLocalFile()) return false;
    if (path) *path = url.toLocalFile();
    return true;
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
