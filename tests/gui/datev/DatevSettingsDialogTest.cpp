// The wiring of the "DATEV-Angaben" dialog: controls show the settings,
// "OK" checks and stores through the model, "Abbrechen" changes nothing.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
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
        s.settings.exportFormat = belvaron::DatevExportFormat::Postversand;
        DatevSettingsDialog d(nullptr, s.settings, s.range);
        d.show();
        QTest::mouseClick(d.Control(F::Erweiterung), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!qobject_cast<QCheckBox*>(d.Control(F::Erweiterung))->isChecked());
        QVERIFY(!Edit(d, F::Kontonummernlaenge)->isEnabled());
    }

    void typingStopsAtTheLimit() {
        Setup s;
        s.settings.exportFormat = belvaron::DatevExportFormat::Postversand;
        DatevSettingsDialog d(nullptr, s.settings, s.range);
        QLineEdit* name = Edit(d, F::Beratername);
        name->clear();
        QTest::keyClicks(name, QStringLiteral("ABCDEFGHIJKL"));
        QCOMPARE(name->text(), QStringLiteral("ABCDEFGHI"));
    }

    // Each limited box says its limit; a refused keystroke shows in the
    // counter beside it.
    void limitsAreShown_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("counter");
        QTest::newRow("Beratername") << int(F::Beratername) << 9 << true;
        QTest::newRow("Passwort") << int(F::Passwort) << 4 << true;
        QTest::newRow("DFV-Kennzeichen") << int(F::DfvKennzeichen) << 2 << true;
        QTest::newRow("vom") << int(F::DateFrom) << 10 << false;
        QTest::newRow("WJ-Beginn Monat") << int(F::WjBeginnMonat) << 2 << false;
    }
    void limitsAreShown() {
        QFETCH(int, field);
        QFETCH(int, limit);
        QFETCH(bool, counter);
        Setup s;
        s.settings.exportFormat = belvaron::DatevExportFormat::Postversand;
        DatevSettingsDialog d(nullptr, s.settings, s.range);
        QLineEdit* edit = Edit(d, static_cast<F>(field));
        QCOMPARE(edit->toolTip(), QStringLiteral("höchstens %1 Zeichen").arg(limit));
        auto* count = d.findChild<QLabel*>(edit->objectName() + QStringLiteral("Counter"));
        QCOMPARE(count != nullptr, counter);
        edit->clear();
        QTest::keyClicks(edit, QString(limit + 1, QLatin1Char('7')));
        QCOMPARE(edit->text().size(), limit);
        if (!count) return;
        QCOMPARE(count->text(), QStringLiteral("%1/%1 – höchstens %1 Zeichen").arg(limit));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(count->text(), QStringLiteral("%1/%2").arg(limit - 1).arg(limit));
    }

    // The fields only Postversand files carry are greyed out while the CSV
    // format is chosen, and come back with Postversand.
    void csvGreysOutPostversandFields() {
        Setup s;
        DatevSettingsDialog d(nullptr, s.settings, s.range);
        auto* format = qobject_cast<QComboBox*>(d.Control(F::ExportFormat));
        QCOMPARE(format->currentIndex(), 0);
        const F postversandOnly[] = {F::Beratername, F::Passwort, F::Datentraegernummer,
                                     F::Abrechnungsnummer, F::Erweiterung};
        const F always[] = {F::Beraternummer,      F::Mandantennummer, F::DfvKennzeichen,
                            F::Kontonummernlaenge, F::DateFrom,        F::WjBeginnTag,
                            F::Sachkontenrahmen,   F::BatchPeriod};
        for (const F f : postversandOnly) QVERIFY(!d.Control(f)->isEnabled());
        for (const F f : always) QVERIFY(d.Control(f)->isEnabled());
        format->setCurrentIndex(1);
        for (const F f : postversandOnly) QVERIFY(d.Control(f)->isEnabled());
        format->setCurrentIndex(0);
        QVERIFY(!d.Control(F::Beratername)->isEnabled());
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
