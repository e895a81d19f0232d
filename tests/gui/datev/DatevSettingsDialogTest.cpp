// The wiring of the "DATEV-Angaben" dialog: controls show the settings,
// "OK" checks and stores through the model, "Abbrechen" changes nothing.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/base/FixedText.h"
#include "core/datev/DatevSettingsFile.h"
#include "gui/datev/DatevSettingsDialog.h"

using belvaron::DatevSettingsDialog;
using F = belvaron::DatevDialogField;

class DatevDialogTest : public QObject {
    Q_OBJECT

    struct Setup {
        belvaron::DatevSettings settings = belvaron::DefaultDatevSettings();
        belvaron::DatevRange range{"01.01.2005", "31.12.2005"};
        Setup() { belvaron::SetField(settings.beratername, "Abc       "); }
    };

    static QLineEdit* Edit(DatevSettingsDialog& d, F field) {
        return qobject_cast<QLineEdit*>(d.Control(field));
    }
    static QPushButton* Button(DatevSettingsDialog& d, const QString& text) {
        for (auto* b : d.findChildren<QPushButton*>()) {
            if (b->text() == text) return b;
        }
        return nullptr;
    }

private slots:
    void showsTheSettingsTrimmed() {
        Setup s;
        DatevSettingsDialog d(nullptr, s.settings, s.range, "DATEV_SK4.kon");
        QCOMPARE(d.windowTitle(), QStringLiteral("DATEV-Angaben"));
        QCOMPARE(Edit(d, F::Beratername)->text(), QStringLiteral("Abc"));
        QCOMPARE(Edit(d, F::Abrechnungsnummer)->text(), QStringLiteral("1"));
        QCOMPARE(Edit(d, F::DateFrom)->text(), QStringLiteral("01.01.2005"));
        QVERIFY(Edit(d, F::Kontonummernlaenge)->isEnabled());
    }

    void checkBoxSwitchesTheLengthBox() {
        Setup s;
        DatevSettingsDialog d(nullptr, s.settings, s.range);
        d.show();
        QTest::mouseClick(d.Control(F::Erweiterung), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!qobject_cast<QCheckBox*>(d.Control(F::Erweiterung))->isChecked());
        QVERIFY(!Edit(d, F::Kontonummernlaenge)->isEnabled());
    }

    void typingStopsAtTheLimit() {
        Setup s;
        DatevSettingsDialog d(nullptr, s.settings, s.range);
        QLineEdit* name = Edit(d, F::Beratername);
        name->clear();
        QTest::keyClicks(name, QStringLiteral("ABCDEFGHIJKL"));
        QCOMPARE(name->text(), QStringLiteral("ABCDEFGHI"));
    }

    void okWithAWrongFieldKeepsTheDialogOpen() {
        Setup s;
        DatevSettingsDialog d(nullptr, s.settings, s.range);
        QStringList messages;
        d.showMessage = [&](const QString& m) { messages << m; };
        d.show();
        Edit(d, F::Abrechnungsnummer)->setText(QStringLiteral("0"));
        QTest::mouseClick(Button(d, QStringLiteral("OK")), Qt::LeftButton);
        QCOMPARE(messages,
                 QStringList{QStringLiteral("Geben Sie eine ganze Zahl zwischen 1 und 9999 ein.")});
        QCOMPARE(d.focusWidget(), d.Control(F::Abrechnungsnummer));
        QVERIFY(d.isVisible());
        QCOMPARE(s.settings.abrechnungsnummer, 1);
    }

    void okStoresAndNormalisesTheDates() {
        Setup s;
        DatevSettingsDialog d(nullptr, s.settings, s.range);
        d.show();
        Edit(d, F::Beratername)->setText(QStringLiteral("Müller"));
        Edit(d, F::DateFrom)->setText(QStringLiteral("1.2.05"));
        QTest::mouseClick(Button(d, QStringLiteral("OK")), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(QByteArray(s.settings.beratername), QByteArray("M\xFCller    "));
        QCOMPARE(QByteArray(s.range.from.c_str()), QByteArray("01.02.2005"));
    }

    void stapelShowsAndStoresTheBatchPeriod() {
        Setup s;
        s.settings.batchPeriod = belvaron::DatevBatchPeriod::Month;
        DatevSettingsDialog d(nullptr, s.settings, s.range);
        auto* stapel = qobject_cast<QComboBox*>(d.Control(F::BatchPeriod));
        QVERIFY(stapel);
        QCOMPARE(stapel->currentText(), QStringLiteral("je Monat"));
        d.show();
        stapel->setCurrentIndex(0);
        QTest::mouseClick(Button(d, QStringLiteral("OK")), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(s.settings.batchPeriod == belvaron::DatevBatchPeriod::FiscalYear);
    }

    void abbrechenChangesNothing() {
        Setup s;
        DatevSettingsDialog d(nullptr, s.settings, s.range);
        d.show();
        Edit(d, F::Beratername)->setText(QStringLiteral("Neu"));
        QTest::mouseClick(Button(d, QStringLiteral("Abbrechen")), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(QByteArray(s.settings.beratername), QByteArray("Abc       "));
    }
};

QTEST_MAIN(DatevDialogTest)
#include "DatevSettingsDialogTest.moc"
