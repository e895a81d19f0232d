// The dialogs and window components on their own.
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <tuple>

#include "GuiTestSupport.h"
#include "TempDir.h"
#include "core/base/FixedText.h"
#include "core/bookings/BookingRecord.h"
#include "gui/app/Translations.h"
#include "gui/bookings/BookingEditDialog.h"
#include "gui/ui/HelpDialog.h"
#include "gui/ui/Label.h"
#include "gui/ui/ProgressDialog.h"

using namespace belvaron;
using namespace belvaron::gui;

namespace {

// Centred up to the width of a window frame, which is known only once shown.
bool Centred(const QWidget& window, const QWidget& over) {
    return (window.frameGeometry().center() - over.frameGeometry().center()).manhattanLength() <= 8;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::RecordingUi> rec_;
    BookingRecord booking_{};  // the booking the editor opens
    std::unique_ptr<QTemporaryDir> folder_;

    Profile TempProfile() { return Profile(folder_->filePath("belvaron.ini").toStdString()); }

private slots:
    void init() {
        rec_ = std::make_unique<test::RecordingUi>();
        folder_ = std::make_unique<QTemporaryDir>();
        booking_ = BookingRecord{};
        booking_.bookingNo = 17;
        SetField(booking_.date, "15.01.2013");
        SetField(booking_.beleg, "R-1");
        SetField(booking_.name, "Meier");
        SetField(booking_.purpose, "Miete");
        booking_.sollAccount = 4210;
        booking_.habenAccount = 1200;
        SetField(booking_.amount, "500,00");
        SetField(booking_.currency, "EUR");
    }

    // A wrong text, typed: its problem, naming the field, stands under that
    // field, "Änderungen speichern" is disabled, nothing pops up; correcting
    // it clears the problem and enables saving again.
    void editorChecksWhileTyping_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("corrected");
        QTest::newRow("Datum") << int(EditorField::Date) << QStringLiteral("31.02.2025")
                               << QStringLiteral(
                                      "Datum: Geben Sie ein Datum ein, das es im "
                                      "Kalender gibt (TT.MM.JJJJ).")
                               << QStringLiteral("28.02.2025");
        QTest::newRow("Betrag") << int(EditorField::Amount) << QStringLiteral("84,3O")
                                << QStringLiteral(
                                       "Betrag: Geben Sie einen Betrag wie -1.234,56 "
                                       "ein.")
                                << QStringLiteral("84,30");
        QTest::newRow("HABEN-Konto")
            << int(EditorField::HabenAccount) << QStringLiteral("12a")
            << QStringLiteral("HABEN-Konto: Geben Sie eine ganze Zahl ein.")
            << QStringLiteral("12");
    }
    void editorChecksWhileTyping() {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, problem);
        QFETCH(QString, corrected);
        const auto f = static_cast<EditorField>(field);
        const BookingRecord before = booking_;
        BookingEditDialog editor(nullptr, rec_->ui, booking_);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QVERIFY(editor.SaveButton()->isEnabled());
        QLineEdit* edit = editor.Field(f);
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), typed);
        QCOMPARE(editor.ProblemLabel(f)->text(), problem);
        QVERIFY(editor.ProblemLabel(f)->isVisible());
        // Beside its own field: directly below it, within its columns.
        const QRect fieldRect = edit->geometry();
        const QRect labelRect = editor.ProblemLabel(f)->geometry();
        QVERIFY(labelRect.top() >= fieldRect.bottom());
        QVERIFY(labelRect.top() - fieldRect.bottom() < fieldRect.height());
        QCOMPARE(labelRect.left(), fieldRect.left());
        for (const auto& info : kEditorFields) {
            if (info.field != f) QVERIFY(!editor.ProblemLabel(info.field)->isVisible());
        }
        QVERIFY(!editor.SaveButton()->isEnabled());
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(editor.isVisible());
        QVERIFY(rec_->messages.empty());
        QVERIFY(std::memcmp(&editor.booking(), &before, sizeof before) == 0);

        edit->selectAll();
        QTest::keyClicks(edit, corrected);
        QVERIFY(!editor.ProblemLabel(f)->isVisible());
        QVERIFY(editor.ProblemLabel(f)->text().isEmpty());
        QVERIFY(editor.SaveButton()->isEnabled());
        QTest::mouseClick(editor.SaveButton(), Qt::LeftButton);
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QVERIFY(rec_->messages.empty());
    }

    // Two fields wrong: saving stays off until both are right.
    void editorSaveWaitsForEveryField() {
        BookingEditDialog editor(nullptr, rec_->ui, booking_);
        editor.Field(EditorField::Date)->setText(QStringLiteral("31.02.2025"));
        editor.Field(EditorField::Amount)->setText(QStringLiteral("84,3O"));
        QVERIFY(!editor.SaveButton()->isEnabled());
        editor.Field(EditorField::Date)->setText(QStringLiteral("01.03.2025"));
        QVERIFY(!editor.SaveButton()->isEnabled());
        QVERIFY(!editor.ProblemLabel(EditorField::Amount)->text().isEmpty());
        editor.Field(EditorField::Amount)->setText(QStringLiteral("84,30"));
        QVERIFY(editor.SaveButton()->isEnabled());
    }

    // "Zurücksetzen" puts back every text the window opened with, clears
    // the problems and leaves the booking and the window as they were.
    void editorResetRestoresTheOpeningValues() {
        const BookingRecord before = booking_;
        BookingEditDialog editor(nullptr, rec_->ui, booking_);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QCOMPARE(editor.ResetButton()->text(), QStringLiteral("Zurücksetzen"));
        QStringList opened;
        for (const auto& info : kEditorFields) opened << editor.Field(info.field)->text();
        for (const auto& info : kEditorFields) {
            editor.Field(info.field)->selectAll();
            QTest::keyClicks(editor.Field(info.field), QStringLiteral("x"));
        }
        QVERIFY(!editor.SaveButton()->isEnabled());
        QTest::mouseClick(editor.ResetButton(), Qt::LeftButton);
        QStringList now;
        for (const auto& info : kEditorFields) now << editor.Field(info.field)->text();
        QCOMPARE(now, opened);
        QCOMPARE(editor.Field(EditorField::Name)->text(), QStringLiteral("Meier"));
        for (const auto& info : kEditorFields) {
            QVERIFY(editor.ProblemLabel(info.field)->text().isEmpty());
        }
        QVERIFY(editor.SaveButton()->isEnabled());
        QVERIFY(editor.isVisible());
        QVERIFY(std::memcmp(&editor.booking(), &before, sizeof before) == 0);
        QVERIFY(rec_->messages.empty());
    }

    // A booking that was read with an impossible date opens with its problem
    // shown and saving off.
    void editorShowsProblemsOfTheOpenedBooking() {
        SetField(booking_.date, "31.02.2013");
        BookingEditDialog editor(nullptr, rec_->ui, booking_);
        QVERIFY(!editor.ProblemLabel(EditorField::Date)->text().isEmpty());
        QVERIFY(!editor.SaveButton()->isEnabled());
    }

    // Text fields take no more than their width while typing.
    void editorLimitsTyping_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("limit");
        QTest::newRow("Belegnummer") << int(EditorField::Beleg) << 10;
        QTest::newRow("Betrag") << int(EditorField::Amount) << 30;
        QTest::newRow("Datum") << int(EditorField::Date) << 20;
        QTest::newRow("Name") << int(EditorField::Name) << 40;
        QTest::newRow("Währung") << int(EditorField::Currency) << 10;
        QTest::newRow("Zweck") << int(EditorField::Purpose) << 40;
    }
    void editorLimitsTyping() {
        QFETCH(int, field);
        QFETCH(int, limit);
        BookingEditDialog editor(nullptr, rec_->ui, booking_);
        QLineEdit* edit = editor.Field(static_cast<EditorField>(field));
        edit->clear();
        QTest::keyClicks(edit, QString(limit + 5, QLatin1Char('x')));
        QCOMPARE(edit->text().size(), limit);
    }

    // A full-width document number is stored completely, without terminator;
    // the date is stored in the form the sort and the writers read.
    void editorStoresFullField() {
        BookingEditDialog editor(nullptr, rec_->ui, booking_);
        editor.Field(EditorField::Beleg)->setText(QStringLiteral("0123456789"));
        editor.Field(EditorField::Date)->setText(QStringLiteral("1.2.05"));
        editor.Field(EditorField::Amount)->setText(QStringLiteral("84,3"));
        QTest::mouseClick(editor.SaveButton(), Qt::LeftButton);
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QVERIFY(rec_->messages.empty());
        QCOMPARE(std::string(editor.booking().beleg, 10), std::string("0123456789"));
        QCOMPARE(std::string(FieldText(editor.booking().date)), std::string("01.02.2005"));
        QCOMPARE(std::string(FieldText(editor.booking().amount)), std::string("84,30"));
        QCOMPARE(std::string(FieldText(editor.booking().name)), std::string("Meier"));
    }

    // Caption "<title> [<n>%]", changed only when the percentage changes.
    void progressCaption() {
        ProgressDialog wnd(nullptr, QStringLiteral("Update wird heruntergeladen "), TempProfile());
        QVERIFY(wnd.isVisible());
        QVERIFY(wnd.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!wnd.isModal());
        QCOMPARE(wnd.cancelButton()->text(), QStringLiteral(" Abbruch "));
        wnd.SetProgressRange(0, 100, 1);
        QCOMPARE(wnd.SetProgress(0), 0);
        QCOMPARE(wnd.windowTitle(), QStringLiteral("Update wird heruntergeladen "));
        QCOMPARE(wnd.SetProgress(42), 0);
        QCOMPARE(wnd.windowTitle(), QStringLiteral("Update wird heruntergeladen  [42%]"));
        wnd.SetProgressRange(0, 2000, 1);
        QCOMPARE(wnd.SetProgress(1000), 42);
        QCOMPARE(wnd.windowTitle(), QStringLiteral("Update wird heruntergeladen  [50%]"));
        QCOMPARE(std::make_tuple(wnd.lower(), wnd.upper(), wnd.step(), wnd.position()),
                 std::make_tuple(0, 2000, 1, 1000));
        wnd.SetStatusText("%d kByte", 1000);
        QCOMPARE(wnd.textControl()->text(), QStringLiteral("1000 kByte"));
    }

    void progressCancelButton() {
        ProgressDialog wnd(nullptr, QStringLiteral("Test"), TempProfile());
        QTest::mouseClick(wnd.cancelButton(), Qt::LeftButton);
        QVERIFY(wnd.cancelled());
        QVERIFY(!wnd.isVisible());
        wnd.ShowIfHidden();  // a cancel stays
        QVERIFY(wnd.cancelled());
    }

    // Escape typed into any window of the program cancels while pumping.
    void progressEscapeWhilePumping() {
        QWidget other;
        other.show();
        ProgressDialog wnd(&other, QStringLiteral("Test"), TempProfile());
        wnd.PumpMessages(true);
        QVERIFY(!wnd.cancelled());
        QCoreApplication::postEvent(&other, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
        wnd.PumpMessages(true);
        QVERIFY(wnd.cancelled());
        QVERIFY(!wnd.isVisible());
    }

    // Width 300 and one line: client area 320 wide; margins of 10; the bar
    // ends 10 pixels before the button, which ends at the text's right edge.
    void progressFitLayout() {
        ProgressDialog wnd(nullptr, QStringLiteral("Test"), TempProfile());
        wnd.FitLayout(1, 300);
        QCOMPARE(wnd.width(), 320);
        const QRect text = wnd.textControl()->geometry();
        const QRect button = wnd.cancelButton()->geometry();
        const QRect bar = wnd.progressControl()->geometry();
        QCOMPARE(text.left(), 10);
        QCOMPARE(text.top(), 10);
        QCOMPARE(button.right() + 1, 310);
        QCOMPARE(button.top(), text.bottom() + 1 + 10);
        QCOMPARE(bar.left(), 10);
        QCOMPARE(bar.right() + 1, button.left() - 10);
        QCOMPARE(wnd.height(), button.bottom() + 1 + 10);
    }

    // The stored position is used when on a screen; else the window is
    // centred over its owner. The position is stored when the window goes.
    void progressPosition() {
        Profile profile = TempProfile();
        const QRect screen = QApplication::primaryScreen()->virtualGeometry();
        QWidget owner;
        owner.setGeometry(screen.left() + 40, screen.top() + 40, 400, 300);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        {
            ProgressDialog wnd(&owner, QStringLiteral("Test"), profile);
            QVERIFY(Centred(wnd, owner));
            wnd.move(screen.left() + 7, screen.top() + 9);
        }
        QCOMPARE(profile.GetInt("Settings", "X", -1), screen.left() + 7);
        QCOMPARE(profile.GetInt("Settings", "Y", -1), screen.top() + 9);
        {
            ProgressDialog wnd(&owner, QStringLiteral("Test"), profile);
            QCOMPARE(wnd.frameGeometry().topLeft(), QPoint(screen.left() + 7, screen.top() + 9));
        }
        profile.SetInt("Settings", "X", screen.right() + 100);
        ProgressDialog wnd(&owner, QStringLiteral("Test"), profile);
        QVERIFY(Centred(wnd, owner));
    }

    // Height and weight change independently; colour starts as window text.
    void labelSetters() {
        Label label(QStringLiteral("Programmupdate"));
        QCOMPARE(label.textColour(), QApplication::palette().color(QPalette::WindowText));
        QCOMPARE(label.font(), QApplication::font());
        label.SetCharHeight(14);
        label.SetBold(true);
        QCOMPARE(label.font().pixelSize(), 14);
        QCOMPARE(label.font().weight(), QFont::Bold);
        label.SetCharHeight(20);
        QCOMPARE(label.font().weight(), QFont::Bold);
        label.SetBold(false);
        QCOMPARE(label.font().pixelSize(), 20);
        QCOMPARE(label.font().weight(), QFont::Normal);
        label.SetTextColour(QColor(0, 100, 0));
        QCOMPARE(label.palette().color(QPalette::WindowText), QColor(0, 100, 0));
    }

    void helpMissingFile() {
        HelpDialog help;
        help.helpFolder = folder_->path().toStdString() + "/";
        help.Load();
        QCOMPARE(help.windowTitle(), QStringLiteral("Hilfe"));
        QCOMPARE(help.lines()->count(), 1);
        QCOMPARE(help.lines()->item(0)->text(),
                 QStringLiteral("Die Datei HILFE.TXT konnte nicht geöffnet werden!"));
    }

    // Lines in file order (not sorted), umlauts shown, a long line does not
    // stop the rest.
    void helpLinesInFileOrder() {
        test::TempDir dir;
        dir.Write("hilfe.txt", "Zweite Zeile\r\n" + std::string(300, 'a') + "\r\nAbschlu\xdf\r\n");
        HelpDialog help;
        help.helpFolder = dir.path() + "/";
        help.Load();
        QStringList lines;
        for (int i = 0; i < help.lines()->count(); ++i) lines << help.lines()->item(i)->text();
        QCOMPARE(lines, (QStringList{QStringLiteral("Zweite Zeile"), QString(254, 'a'),
                                     QString(46, 'a'), QStringLiteral("Abschluß"), QString()}));
    }

    // The save-as dialog gets the filter, default extension and initial
    // name of the request; the chosen path comes back.
    void saveAsDialog() {
        FileDialogRequest request;
        request.saveAs = true;
        request.defaultExtension = "DATEV";
        request.initialName = folder_->filePath("ED0001").toStdString();
        request.filter = "DATEV-Files (ED00001)|ED00001|ALL-Files (*.*)|*.*|";
        request.overwritePrompt = true;
        request.pathMustExist = true;
        QStringList filters;
        QString suffix;
        bool confirmOverwrite = false;
        test::OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            filters = dialog->nameFilters();
            suffix = dialog->defaultSuffix();
            confirmOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QString lastFolder;
        const auto chosen = QtUi::ShowFileDialog(nullptr, request, lastFolder);
        QCOMPARE(filters, (QStringList{QStringLiteral("DATEV-Files (ED00001)"),
                                       QStringLiteral("ALL-Files (*)")}));
        QCOMPARE(suffix, QStringLiteral("DATEV"));
        QVERIFY(confirmOverwrite);
        QVERIFY(chosen);
        QCOMPARE(QString::fromStdString(*chosen), folder_->filePath("ED0001.DATEV"));
        QCOMPARE(lastFolder, folder_->path());
    }

    // The real message box: exact text, icon and German buttons.
    void messageBoxButtons() {
        QString text;
        QStringList buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        test::OnNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            text = box->text();
            icon = box->icon();
            for (QAbstractButton* b : box->buttons()) buttons << b->text();
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == QStringLiteral("Ja")) QTest::mouseClick(b, Qt::LeftButton);
            }
        });
        const MessageAnswer answer = QtUi::ShowMessageBox(
            nullptr, QStringLiteral("Änderungen in der REPLACE-Liste speichern?"),
            MessageIcon::Question, MessageButtons::YesNo);
        QCOMPARE(text, QStringLiteral("Änderungen in der REPLACE-Liste speichern?"));
        QCOMPARE(icon, QMessageBox::Question);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{QStringLiteral("Ja"), QStringLiteral("Nein")}));
        QCOMPARE(answer, MessageAnswer::Yes);

        test::OnNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            icon = box->icon();
            buttons.clear();
            for (QAbstractButton* b : box->buttons()) buttons << b->text();
            box->buttons().constFirst()->click();
        });
        QtUi::ShowMessageBox(nullptr, QStringLiteral("(E:102)\nBitte"), MessageIcon::None,
                             MessageButtons::Ok);
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(buttons, QStringList{QStringLiteral("OK")});
    }
};

// Qt's own texts read German once the program installs its translations
// (the test data of the system package).
class TranslationsTest : public QObject {
    Q_OBJECT
private slots:
    void qtTextsAreGerman() {
        QVERIFY(gui::InstallGermanQtTranslations(*QCoreApplication::instance()));
        QCOMPARE(QKeySequence(Qt::CTRL | Qt::Key_F1).toString(QKeySequence::NativeText),
                 QStringLiteral("Strg+F1"));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DialogsTest dialogs;
    TranslationsTest translations;  // last: it changes the texts for good
    return QTest::qExec(&dialogs, argc, argv) | QTest::qExec(&translations, argc, argv);
}
#include "DialogsTest.moc"
