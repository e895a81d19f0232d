#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "gui/ui/Label.h"
#include "gui/update/UpdateDialog.h"

namespace belvaron::gui {

class UpdateDialogTest : public QObject {
    Q_OBJECT

private:
    static void Fill(UpdateDialog& dlg) {
        dlg.titleText = QStringLiteral("Für Belvaron ist ein neues Update (V2.4) verfügbar!");
        dlg.historyText = QStringLiteral("Version: Belvaron V2.4: 15.03.2027\r\n- ") +
                          QString(300, QLatin1Char('x')) + QStringLiteral("\r\n\r\n");
        dlg.propertiesText = QStringLiteral("Das Update ist für Sie kostenlos verfügbar.");
        dlg.propertiesColour = Rgb(0, 100, 0);
    }

    // Shows the dialog modally without blocking, does `act`, and returns
    // the result it finished with (-1: still open).
    template <typename Act>
    static int FinishWith(Act act) {
        UpdateDialog dlg;
        Fill(dlg);
        QSignalSpy finished(&dlg, &QDialog::finished);
        dlg.open();
        act(dlg);
        return finished.isEmpty() ? -1 : finished.first().first().toInt();
    }

private slots:
    void showsTheTextsStyled() {
        UpdateDialog dlg;
        Fill(dlg);
        dlg.open();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Programmupdate:"));
        QCOMPARE(dlg.titleLabel()->text(), dlg.titleText);
        QCOMPARE(dlg.titleLabel()->font().pixelSize(), 14);
        QVERIFY(dlg.titleLabel()->font().bold());
        QCOMPARE(dlg.historyEdit()->toPlainText(),
                 QStringLiteral("Version: Belvaron V2.4: 15.03.2027\n- ") +
                     QString(300, QLatin1Char('x')) + QStringLiteral("\n\n"));
        QCOMPARE(dlg.historyEdit()->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(dlg.historyEdit()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(dlg.historyEdit()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(!dlg.historyEdit()->isReadOnly());
        QCOMPARE(dlg.propertiesLabel()->text(), dlg.propertiesText);
        QCOMPARE(dlg.propertiesLabel()->palette().color(QPalette::WindowText), QColor(0, 100, 0));
        QCOMPARE(dlg.focusWidget(), dlg.okButton());
        QVERIFY(dlg.okButton()->isDefault());
        QStringList texts;
        for (const QLabel* label : dlg.findChildren<QLabel*>()) texts << label->text();
        QVERIFY(texts.contains(
            QStringLiteral("Folgende Änderungen sind gegenüber der bestehenden Version erfolgt:")));
        QVERIFY(texts.contains(
            QStringLiteral("Wollen Sie das Update jetzt herunterladen und installieren?")));
        QCOMPARE(dlg.cancelButton()->text(), QStringLiteral("Abbrechen"));
    }

    void emptyHistoryStillOffersTheUpdate() {
        UpdateDialog dlg;
        dlg.open();
        QVERIFY(dlg.historyEdit()->toPlainText().isEmpty());
        QVERIFY(dlg.okButton()->isEnabled());
    }

    void okAndEnterConfirm() {
        QCOMPARE(
            FinishWith([](UpdateDialog& d) { QTest::mouseClick(d.okButton(), Qt::LeftButton); }),
            int(QDialog::Accepted));
        QCOMPARE(FinishWith([](UpdateDialog& d) { QTest::keyClick(&d, Qt::Key_Return); }),
                 int(QDialog::Accepted));
    }

    void abbrechenEscapeAndCloseCancel() {
        QCOMPARE(FinishWith(
                     [](UpdateDialog& d) { QTest::mouseClick(d.cancelButton(), Qt::LeftButton); }),
                 int(QDialog::Rejected));
        QCOMPARE(FinishWith([](UpdateDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }),
                 int(QDialog::Rejected));
        QCOMPARE(FinishWith([](UpdateDialog& d) { d.close(); }), int(QDialog::Rejected));
    }
};

}  // namespace belvaron::gui

QTEST_MAIN(belvaron::gui::UpdateDialogTest)
#include "UpdateDialogTest.moc"
