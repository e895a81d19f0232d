// The main window's wiring: clicks reach the workflow, its messages and list
// refills reach the screen.
#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "FakeUi.h"
#include "GuiTestSupport.h"
#include "WorkflowTestAccess.h"
#include "core/base/FixedText.h"
#include "gui/app/FileFilter.h"
#include "gui/app/MainWindow.h"
#include "gui/app/ReplaceTextEdit.h"
#include "gui/bookings/BookingEditDialog.h"
#include "gui/bookings/BookingListModel.h"
#include "gui/bookings/BookingListView.h"
#include "gui/bookings/SortDialog.h"
#include "gui/ui/AboutDialog.h"
#include "gui/ui/HelpDialog.h"

using namespace belvaron;
using namespace belvaron::gui;

namespace {

void AddBooking(BookingStore& store, int no, int soll, int haben) {
    BookingRecord* b = store.AppendRoom();
    QVERIFY(b);
    *b = BookingRecord{};
    b->bookingNo = no;
    SetField(b->date, "02.01.2025");
    SetField(b->beleg, "RE-1");
    SetField(b->name, "M\xfcller GmbH");  // Windows-1252 ü
    SetField(b->purpose, "Wartung");
    b->sollAccount = soll;
    b->habenAccount = haben;
    b->vatRate = 19;
    SetField(b->amount, "1.190,00");
    SetField(b->currency, "EUR");
    ++store.bookingCount;
}

QString Plain(QString caption) { return caption.remove(QLatin1Char('&')); }

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<test::RecordingUi> rec_;
    std::unique_ptr<MainWindow> window_;

    template <typename T>
    T* Child(const char* name) {
        return test::NamedChild<T>(window_.get(), name);
    }
    void Click(const char* name) {
        QTest::mouseClick(Child<QAbstractButton>(name), Qt::LeftButton);
    }
    // Bookings 0..4; 1 and 3 have an account 0. The list shows them with
    // those marks, as after a journal load.
    void LoadFiveBookings() {
        BookingStore& store = WorkflowTestAccess::Store(window_->workflow());
        AddBooking(store, 1, 1400, 8400);
        AddBooking(store, 2, 0, 8400);
        AddBooking(store, 3, 1200, 1400);
        AddBooking(store, 4, 4210, 0);
        AddBooking(store, 5, 4210, 1200);
        store.journalLoaded = 1;
        const int marked[] = {1, 3};
        rec_->ui.ListCleared();
        rec_->ui.ListRefilled(store, marked);
    }
    QRect LineRect(int row) {
        BookingListView* list = window_->bookingList();
        return list->visualRect(list->model()->index(row, 0));
    }

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        // Remembered choices of one test stay in its own folder.
        test::KeepSettingsIn(*folder_);
        rec_ = std::make_unique<test::RecordingUi>();
        window_ = test::OpenWindowIn(*folder_, rec_->ui);
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() {
        window_.reset();
        rec_.reset();
        folder_.reset();
    }

    void startState() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("Belvaron (V2.3)"));
        QVERIFY(Child<QRadioButton>("currencyEuro")->isChecked());
        QVERIFY(Child<QRadioButton>("taxationSoll")->isChecked());
        for (const char* name : {"vatHint", "vatReportPath", "vatSelect"}) {
            QVERIFY2(!Child<QWidget>(name)->isEnabled(), name);
        }
        QTest::mouseClick(Child<QRadioButton>("taxationIst"), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(window_->workflow().taxation() == Taxation::Ist);
        for (const char* name : {"vatHint", "vatReportPath", "vatSelect"}) {
            QVERIFY2(Child<QWidget>(name)->isEnabled(), name);
        }
        QTest::mouseClick(Child<QRadioButton>("taxationSoll"), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(window_->workflow().taxation() == Taxation::Soll);
        QVERIFY(!Child<QWidget>("vatSelect")->isEnabled());
        QVERIFY(rec_->messages.empty());
    }

    void captions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        const std::pair<const char*, const char*> rows[] = {
            {"currencyEuro", "EURO"},
            {"currencyDm", "DM"},
            {"journalSelect", "Auswahl"},
            {"taxationSoll",
             "SOLL-Besteuerung (Rechnungsdatum ist relevant; bei GmbH's und "
             "grösseren Betrieben)"},
            {"taxationIst",
             "IST-Besteuerung (Zahlungs-Datum ist relevant; bei kleineren "
             "Betrieben und Freiberuflern)"},
            {"vatSelect", "Auswahl"},
            {"checkAccounts", "Konten überprüfen"},
            {"clearReplaceList", "Liste löschen"},
            {"replaceAccounts", "Konten ersetzen"},
            {"deleteZero", "'0' Buch. löschen"},
            {"datevSelect", "Auswahl"},
            {"datevExport", "DATEN EXPORTIEREN"},
            {"lexwareSelect", "Auswahl"},
            {"lexwareExport", "Daten exportieren"},
            {"updates", "Updates?"},
            {"quit", "Programm beenden"},
        };
        for (const auto& [name, caption] : rows) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption);
        }
    }
    void captions() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        auto* button = window_->findChild<QAbstractButton*>(name);
        QVERIFY(button);
        QCOMPARE(Plain(button->text()), caption);
    }

    void gates_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("code");
        QTest::newRow("Konten überprüfen") << QStringLiteral("checkAccounts") << 101;
        QTest::newRow("Konten ersetzen") << QStringLiteral("replaceAccounts") << 102;
        QTest::newRow("DATEN EXPORTIEREN") << QStringLiteral("datevExport") << 103;
        QTest::newRow("Daten exportieren") << QStringLiteral("lexwareExport") << 104;
        QTest::newRow("step 4 Auswahl") << QStringLiteral("vatSelect") << 118;
    }
    // Without a journal each gated button refuses with its own code, and
    // nothing else happens.
    void gates() {
        QFETCH(QString, button);
        QFETCH(int, code);
        const QString expected =
            QStringLiteral("(E:%1)\nBitte laden sie zuerst eine Journal-Datei (Punkt 3).")
                .arg(code);
        // The same handler called without a window refuses the same way.
        {
            test::FakeUi fake;
            Workflow flow(fake);
            if (code == 118) flow.OnTaxationIst();
            if (code == 101) flow.OnKontenUeberpruefen();
            if (code == 102) flow.OnReplaceAccounts();
            if (code == 103) flow.OnDatenExportieren();
            if (code == 104) flow.OnExportLexware();
            if (code == 118) flow.OnSelectVatReport();
            QCOMPARE(fake.Texts(), std::vector<std::string>{expected.toStdString()});
        }
        if (code == 118) {
            QTest::mouseClick(Child<QRadioButton>("taxationIst"), Qt::LeftButton, {}, QPoint(5, 5));
        }
        QTest::mouseClick(window_->findChild<QAbstractButton*>(button), Qt::LeftButton);
        QCOMPARE(rec_->Texts(), QStringList{expected});
        QCOMPARE(rec_->messages.front().icon, MessageIcon::None);
        QCOMPARE(rec_->messages.front().buttons, MessageButtons::Ok);
        QVERIFY(rec_->fileRequests.empty());
    }

    // The journal "Auswahl" asks for a file with the journal filter; cancel
    // leaves everything as it was.
    void journalDialogCancelled() {
        LoadFiveBookings();
        Click("journalSelect");
        QCOMPARE(rec_->fileRequests.size(), std::size_t{1});
        const FileDialogRequest& r = rec_->fileRequests.front();
        QCOMPARE(r.filter, std::string("TXT-Files (*.txt)|*.txt|ALL-Files (*.*)|*.*|"));
        QVERIFY(r.fileMustExist);
        QCOMPARE(window_->bookingList()->model()->rowCount(), 5);
        QCOMPARE(window_->bookingList()->Marks(), (std::vector<int>{1, 3}));
    }

    // Loading a journal marks exactly the bookings with account 0 (here the
    // second, without a SOLL account number, and the fourth, without a
    // HABEN account number); a click leaves the marks.
    void journalLoadMarksZeroAccounts() {
        rec_->files.push_back(std::string(BELVARON_TEST_DATA) + "/gui/journal_zero_accounts.txt");
        Click("journalSelect");
        const BookingStore& store = window_->workflow().store();
        QCOMPARE(store.bookingCount, 4);
        std::vector<int> zero;
        for (int i = 0; i < store.bookingCount; ++i) {
            if (store[i].sollAccount == 0 || store[i].habenAccount == 0) zero.push_back(i);
        }
        QCOMPARE(zero, (std::vector<int>{1, 3}));
        QCOMPARE(window_->bookingList()->model()->rowCount(), store.bookingCount);
        QCOMPARE(window_->bookingList()->Marks(), zero);
        BookingListView* list = window_->bookingList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, LineRect(1).center());
        QCOMPARE(list->Marks(), zero);
        QCOMPARE(list->currentIndex().row(), 1);
        QCOMPARE(Child<QLineEdit>("journalPath")->text(),
                 QString::fromStdString(window_->workflow().journalPath()));
        QCOMPARE(Child<QLabel>("journalState")->text(),
                 QStringLiteral("geladen: 4 Buchungen, 2 mit Konto 0"));
        QVERIFY(!Child<QLabel>("exportState")->isVisible());
    }

    void listShowsLinesAndMarks() {
        LoadFiveBookings();
        BookingListView* list = window_->bookingList();
        QCOMPARE(list->model()->rowCount(), 5);
        QStringList row;
        for (int c = 0; c < BookingListModel::ColumnCount; ++c) {
            row << list->model()->index(1, c).data().toString();
        }
        QCOMPARE(row, (QStringList{"2", "02.01.2025", "RE-1", "0", "8400", "", "19", "1.190,00",
                                   "EUR", QStringLiteral("Müller GmbH, Wartung")}));
        QCOMPARE(list->Marks(), (std::vector<int>{1, 3}));
    }

    // The markers are the model's: clicks, the caret, Ctrl+A and Space
    // select, they never remove a marker or a mark.
    void clickKeepsMarks() {
        LoadFiveBookings();
        BookingListView* list = window_->bookingList();
        const auto zeroRows = [list] {
            std::vector<int> rows;
            for (int r = 0; r < list->model()->rowCount(); ++r) {
                const int flags =
                    list->model()->index(r, 0).data(BookingListModel::FlagsRole).toInt();
                if (flags & BookingListModel::ZeroAccount) rows.push_back(r);
            }
            return rows;
        };
        QCOMPARE(zeroRows(), (std::vector<int>{1, 3}));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, LineRect(3).center());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, LineRect(1).center());
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentIndex().row(), 2);
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(list->Marks(), (std::vector<int>{1, 3}));
        QCOMPARE(zeroRows(), (std::vector<int>{1, 3}));
    }

    // A double click edits the line; saving writes the booking, refills the
    // list and marks the edited line.
    void editorSaveRefillsAndMarks() {
        LoadFiveBookings();
        BookingListView* list = window_->bookingList();
        bool opened = false;
        test::OnNextModal(
            [](QWidget* modal) {
                auto* editor = qobject_cast<BookingEditDialog*>(modal);
                QVERIFY(editor);
                QCOMPARE(editor->windowTitle(), QStringLiteral("Eintrag editieren:"));
                QCOMPARE(editor->Field(EditorField::Name)->text(), QStringLiteral("Müller GmbH"));
                editor->Field(EditorField::SollAccount)->setText(QStringLiteral("4711"));
                editor->Field(EditorField::Name)->setText(QStringLiteral("Bäcker"));
                QTest::mouseClick(editor->SaveButton(), Qt::LeftButton);
            },
            &opened);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, LineRect(2).center());
        QVERIFY(opened);
        const BookingStore& store = window_->workflow().store();
        QCOMPARE(store[2].sollAccount, 4711);
        QCOMPARE(std::string(FieldText(store[2].name)), std::string("B\xe4"
                                                                    "cker"));
        QCOMPARE(list->model()->index(2, BookingListModel::Soll).data().toString(),
                 QStringLiteral("4711"));
        QCOMPARE(list->model()->index(2, BookingListModel::Haben).data().toString(),
                 QStringLiteral("1400"));
        QCOMPARE(list->model()->index(2, BookingListModel::Text).data().toString(),
                 QStringLiteral("Bäcker, Wartung"));
        QCOMPARE(list->Marks(), std::vector<int>{2});
        QVERIFY(rec_->messages.empty());
    }

    // A later date typed in the editor moves the booking to the end of the
    // list (the store stays in date order) and the mark goes with it.
    void editorDateChangeResorts() {
        LoadFiveBookings();
        BookingListView* list = window_->bookingList();
        test::OnNextModal([](QWidget* modal) {
            auto* editor = qobject_cast<BookingEditDialog*>(modal);
            QVERIFY(editor);
            QLineEdit* date = editor->Field(EditorField::Date);
            date->selectAll();
            QTest::keyClicks(date, QStringLiteral("3.1.2025"));
            QTest::mouseClick(editor->SaveButton(), Qt::LeftButton);
        });
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, LineRect(0).center());
        const BookingStore& store = window_->workflow().store();
        std::vector<int> order;
        for (int32_t i = 0; i < store.bookingCount; ++i) order.push_back(store[i].bookingNo);
        QCOMPARE(order, (std::vector<int>{2, 3, 4, 5, 1}));
        QCOMPARE(std::string(FieldText(store[4].date)), std::string("03.01.2025"));
        QCOMPARE(list->Marks(), std::vector<int>{4});
        QVERIFY(rec_->messages.empty());
    }

    // "Abbrechen" changes neither the booking nor the list's marks.
    void editorCancelChangesNothing() {
        LoadFiveBookings();
        BookingListView* list = window_->bookingList();
        list->selectionModel()->setCurrentIndex(list->model()->index(4, 0),
                                                QItemSelectionModel::NoUpdate);
        test::OnNextModal([](QWidget* modal) {
            auto* editor = qobject_cast<BookingEditDialog*>(modal);
            QVERIFY(editor);
            editor->Field(EditorField::SollAccount)->setText(QStringLiteral("1"));
            QTest::mouseClick(editor->CancelButton(), Qt::LeftButton);
        });
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(window_->workflow().store()[4].sollAccount, 4210);
        QCOMPARE(list->Marks(), (std::vector<int>{1, 3}));
    }

    // Filling the REPLACE box by program is no edit; typing is. Leaving the
    // box for "Konten ersetzen" or "Konten überprüfen" (mouse or keyboard)
    // counts as going to a file button, anywhere else not.
    void replaceBoxEditsAndFocus() {
        Workflow& flow = window_->workflow();
        // Saved to replace.dat and shown again as the program shows a file.
        flow.OnReplaceTextChange("1200, 0, 1800, 1600, 0, 0\r\n");
        flow.OnReplaceTextLeft(true);
        window_->ShowMembers();
        ReplaceTextEdit* box = window_->replaceBox();
        QCOMPARE(box->toPlainText(), QStringLiteral("1200, 0, 1800, 1600, 0, 0\n"));
        QCOMPARE(flow.replaceTextModified(), false);

        const QString question = QStringLiteral("Änderungen in der REPLACE-Liste speichern?");
        box->setFocus(Qt::OtherFocusReason);
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, QStringLiteral("9401, 16, 1405, 3805, 0, 0  (MwSt "));
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Adiaeresis, QStringLiteral("\u00e4"),
                            Qt::NoModifier);
        QTest::keyClick(box, Qt::Key_ParenRight, Qt::ShiftModifier);
        QCOMPARE(flow.replaceTextModified(), true);
        QCOMPARE(
            flow.replaceText(),
            std::string("1200, 0, 1800, 1600, 0, 0\r\n9401, 16, 1405, 3805, 0, 0  (MwSt \xe4)"));

        // To a file button the edits are saved without a question.
        QTest::keyClick(box, Qt::Key_Tab);  // the next control is "Konten ersetzen"
        QCOMPARE(QApplication::focusWidget(), Child<QWidget>("replaceAccounts"));
        QCOMPARE(flow.replaceTextModified(), false);
        QCOMPARE(flow.LoadReplaceText(), flow.replaceText());
        QCOMPARE(rec_->Texts().count(question), 0);

        box->setFocus(Qt::OtherFocusReason);
        box->moveCursor(QTextCursor::End);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, QStringLiteral("1400, 0, 1410, 0, 0, 0"));
        QTest::mouseClick(Child<QAbstractButton>("checkAccounts"), Qt::LeftButton);
        QCOMPARE(flow.replaceTextModified(), false);
        QVERIFY(flow.LoadReplaceText().ends_with("\r\n1400, 0, 1410, 0, 0, 0"));
        QCOMPARE(rec_->Texts().count(question), 0);

        // To another control the user is asked first.
        box->setFocus(Qt::OtherFocusReason);
        box->moveCursor(QTextCursor::End);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, QStringLiteral("1600, 0, 1610, 0, 0, 0"));
        QTest::mouseClick(Child<QAbstractButton>("clearReplaceList"), Qt::LeftButton);
        QCOMPARE(rec_->Texts().count(question), 1);
    }

    // Leaving the edited box for another button asks first; the click that
    // met the question is spent, so the other button does not run.
    void replaceBoxQuestionSpendsTheClick() {
        {
            test::FakeUi fake;
            Workflow flow(fake);
            flow.OnReplaceTextChange(flow.replaceText());
            flow.OnReplaceTextLeft(false);
            QCOMPARE(fake.Texts(),
                     std::vector<std::string>{"Änderungen in der REPLACE-Liste speichern?"});
        }
        ReplaceTextEdit* box = window_->replaceBox();
        box->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(box, QStringLiteral("1200, 0, 1800, 1600, 0, 0"));
        QTest::mouseClick(Child<QAbstractButton>("clearReplaceList"), Qt::LeftButton);
        QCOMPARE(rec_->Texts(),
                 QStringList{QStringLiteral("Änderungen in der REPLACE-Liste speichern?")});
        QCOMPARE(window_->workflow().replaceTextModified(), false);
        QCOMPARE(box->toPlainText(), QString());  // No: the file's (empty) text again
        QTest::mouseClick(Child<QAbstractButton>("clearReplaceList"), Qt::LeftButton);
        QCOMPARE(rec_->messages.size(), std::size_t{2});
        QCOMPARE(rec_->messages[1].text,
                 QStringLiteral("Wollen Sie wirklich die gesamte REPLACE-Liste löschen?"));
    }

    // Alt+K presses "Konten ersetzen" without moving the focus: the typed
    // line is saved and applied all the same. The group title marks the
    // unsaved edits until then.
    void mnemonicReplaceAppliesTypedLine() {
        LoadFiveBookings();
        ReplaceTextEdit* box = window_->replaceBox();
        auto* group = Child<QGroupBox>("accountsGroup");
        const QString plainTitle = group->title();
        box->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(box, QStringLiteral("1400, 0, 1410, 1410, 0, 0"));
        QVERIFY(group->title() != plainTitle);
        QTest::keyClick(box, Qt::Key_K, Qt::AltModifier);
        QTRY_COMPARE(window_->workflow().store()[0].sollAccount, 1410);
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(group->title(), plainTitle);
        QVERIFY(!window_->workflow().replaceTextModified());
    }

    // Alt+R checks the typed lines and shows them again, not the old file.
    void mnemonicCheckKeepsTypedLines() {
        LoadFiveBookings();
        ReplaceTextEdit* box = window_->replaceBox();
        box->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(box, QStringLiteral("1400, 0, 1410, 1410, 0, 0"));
        QTest::keyClick(box, Qt::Key_R, Qt::AltModifier);
        QTRY_VERIFY(!rec_->messages.empty());  // the check's report
        QVERIFY(box->toPlainText().startsWith(QStringLiteral("1400, 0, 1410, 1410, 0, 0")));
        QVERIFY(!window_->workflow().replaceTextModified());
    }

    void closePathsSettleTheBox_data() {
        QTest::addColumn<int>("path");
        QTest::newRow("close box") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("Alt+B") << 2;
    }
    // Every way of closing the window asks about the typed lines before it
    // asks about leaving; "Ja" writes them.
    void closePathsSettleTheBox() {
        QFETCH(int, path);
        ReplaceTextEdit* box = window_->replaceBox();
        box->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(box, QStringLiteral("1400, 0, 1410, 1410, 0, 0"));
        rec_->answers = {MessageAnswer::Yes, MessageAnswer::No};
        if (path == 0) window_->close();
        if (path == 1) QTest::keyClick(box, Qt::Key_Escape);
        if (path == 2) QTest::keyClick(box, Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(rec_->messages.size(), std::size_t{2});
        QCOMPARE(rec_->Texts(),
                 (QStringList{QStringLiteral("Änderungen in der REPLACE-Liste speichern?"),
                              QStringLiteral("Wollen Sie das Programm wirklich beenden?")}));
        QFile file(folder_->path() + QStringLiteral("/data/replace.dat"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("1400, 0, 1410, 1410, 0, 0"));
        QVERIFY(window_->isVisible());
    }

    // Enter in a text field presses no step's button: no dialog opens.
    void enterInFieldPressesNothing() {
        LoadFiveBookings();
        for (const char* name : {"datevTarget", "lexwareTarget", "journalPath", "bookingFilter"}) {
            auto* field = Child<QLineEdit>(name);
            field->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(field, Qt::Key_Return);
            QTest::keyClick(field, Qt::Key_Enter);
        }
        QVERIFY(rec_->fileRequests.empty());
        QVERIFY(rec_->messages.empty());
        for (QPushButton* button : window_->findChildren<QPushButton*>()) {
            QVERIFY2(!button->autoDefault() && !button->isDefault(),
                     qPrintable(button->objectName()));
        }
    }

    // "Liste löschen" and leaving with work not exported have "Nein" as the
    // answer of Enter; leaving without such work keeps "Ja".
    void destructiveQuestionsDefaultToNo() {
        Click("clearReplaceList");
        Click("quit");
        LoadFiveBookings();
        window_->workflow().OnDeleteZeroBookings();
        Click("quit");
        QCOMPARE(rec_->messages.size(), std::size_t{4});
        QVERIFY(rec_->messages[0].defaultNo);   // Liste löschen
        QVERIFY(!rec_->messages[1].defaultNo);  // Programm beenden, nothing to lose
        QVERIFY(rec_->messages[3].defaultNo);   // Programm beenden, deletions not exported
        QVERIFY(!rec_->ui.questionDefaultsToNo());
    }

    // "Programm beenden", Escape and the close box ask first; No keeps the
    // window open.
    void quitAsks() {
        Click("quit");
        QTest::keyClick(window_.get(), Qt::Key_Escape);
        window_->close();
        const QString question = QStringLiteral("Wollen Sie das Programm wirklich beenden?");
        QCOMPARE(rec_->Texts(), (QStringList{question, question, question}));
        QCOMPARE(rec_->messages[0].icon, MessageIcon::Question);
        QCOMPARE(rec_->messages[0].buttons, MessageButtons::YesNo);
        QVERIFY(window_->isVisible());
        rec_->answers.push_back(MessageAnswer::Yes);
        Click("quit");
        QVERIFY(!window_->isVisible());
    }

    // F1 opens the help with the program folder's "hilfe.txt" (missing here),
    // Ctrl+F1 the About window.
    void helpAndAboutShortcuts() {
        QStringList helpLines;
        test::OnNextModal([&](QWidget* modal) {
            auto* help = qobject_cast<HelpDialog*>(modal);
            QVERIFY(help);
            for (int i = 0; i < help->lines()->count(); ++i)
                helpLines << help->lines()->item(i)->text();
            modal->close();
        });
        QTest::keyClick(window_.get(), Qt::Key_F1);
        QCOMPARE(helpLines,
                 QStringList{QStringLiteral("Die Datei HILFE.TXT konnte nicht geöffnet werden!")});

        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QString about;
        test::OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<AboutDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Info über Belvaron"));
            about = dialog->aboutText();
            modal->close();
        });
        QTest::keyClick(window_.get(), Qt::Key_F1, Qt::ControlModifier);
        QCOMPARE(about, QStringLiteral("Belvaron (V2.3)"));
    }

    // "Updates?" runs the update action once it is given.
    void updatesButton() {
        Click("updates");
        int runs = 0;
        window_->SetUpdateHandler([&runs] { ++runs; });
        Click("updates");
        QCOMPARE(runs, 1);
    }

    // The sort window exists only while a sort runs.
    void sortWindowWhileSorting() {
        rec_->ui.SortStarted(70000);
        auto* sort = window_->findChild<SortDialog*>();
        QVERIFY(sort);
        QVERIFY(sort->isVisible());
        QCOMPARE(sort->progressBar()->maximum(), 70000);  // beyond 16 bits
        rec_->ui.SortProgress(35000);
        QCOMPARE(sort->progressBar()->value(), 35000);
        rec_->ui.SortFinished();
        QVERIFY(!window_->findChild<SortDialog*>());
    }

    void fileFilters_data() {
        QTest::addColumn<QString>("pipe");
        QTest::addColumn<QString>("qt");
        QTest::newRow("journal") << QStringLiteral("TXT-Files (*.txt)|*.txt|ALL-Files (*.*)|*.*|")
                                 << QStringLiteral("TXT-Files (*.txt);;ALL-Files (*)");
        QTest::newRow("datev") << QStringLiteral(
                                      "DATEV-Files (ED00001)|ED00001|ALL-Files (*.*)|*.*|")
                               << QStringLiteral("DATEV-Files (ED00001);;ALL-Files (*)");
        QTest::newRow("several") << QStringLiteral("Text|*.txt;*.csv|")
                                 << QStringLiteral("Text (*.txt *.csv)");
    }
    void fileFilters() {
        QFETCH(QString, pipe);
        QFETCH(QString, qt);
        QCOMPARE(QtFileFilter(pipe.toStdString()), qt);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
