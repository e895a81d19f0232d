// The progress window of a long step: the step's progress reaches it, the
// main window takes no input meanwhile, and "Abbrechen" cancels a load.
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <memory>

#include "GuiTestSupport.h"
#include "JournalGenerator.h"
#include "gui/app/MainWindow.h"
#include "gui/ui/ProgressDialog.h"

using namespace belvaron;
using namespace belvaron::gui;
using namespace std::chrono_literals;

namespace {

ProgressDialog* VisibleProgressDialog() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<ProgressDialog*>(w); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

// What the step's window showed when the test looked at it.
struct Seen {
    QString title;
    QString button;
    int percent = -1;
    bool modal = false;
};

}  // namespace

class StepProgressTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<test::RecordingUi> rec_;
    std::unique_ptr<MainWindow> window_;
    std::string journal_;

    template <typename T>
    T* Child(const char* name) {
        return test::NamedChild<T>(window_.get(), name);
    }

    // Until a progress window shows: looks at it, then clicks its button.
    void CancelOnceShown(Seen& seen, QTimer& poll) {
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [&seen, &poll] {
            ProgressDialog* dialog = VisibleProgressDialog();
            if (!dialog) return;
            poll.stop();
            seen.title = dialog->windowTitle();
            seen.button = dialog->cancelButton()->text();
            seen.percent = dialog->progressControl()->value();
            seen.modal = QApplication::activeModalWidget() == dialog;
            QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
        });
        poll.start();
    }

private slots:
    void initTestCase() {
        // Large enough that the load ticks many times.
        journal_ = bench::GenerateJournalFile({.records = 30'000, .manyAccounts = false});
        QVERIFY(!journal_.empty());
    }
    void cleanupTestCase() { std::remove(journal_.c_str()); }

    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        rec_ = std::make_unique<test::RecordingUi>();
        // The window at the step's first tick and events at every tick.
        rec_->ui.SetStepTiming(0ms, 0ms);
        window_ = test::OpenWindowIn(*folder_, rec_->ui);
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() {
        window_.reset();
        rec_.reset();
        folder_.reset();
    }

    void cancelledLoadLeavesNoJournal() {
        Seen seen;
        QTimer poll;
        CancelOnceShown(seen, poll);
        rec_->files.push_back(journal_);
        Child<QPushButton>("journalSelect")->click();

        // The step's progress reached its window, which kept the main window
        // from input.
        QVERIFY2(seen.title.startsWith(QStringLiteral("Journal wird geladen [")),
                 qPrintable(seen.title));
        QVERIFY(seen.title.endsWith(QStringLiteral("%]")));
        QCOMPARE(seen.button, QStringLiteral("Abbrechen"));
        QVERIFY2(seen.percent > 0 && seen.percent < 100, qPrintable(QString::number(seen.percent)));
        QVERIFY(seen.modal);

        // Cancelled: no journal, no message, the window gone.
        QVERIFY(!window_->workflow().journalLoaded());
        QCOMPARE(window_->workflow().store().bookingCount, 0);
        QCOMPARE(Child<QLabel>("journalState")->text(), QStringLiteral("kein Journal geladen"));
        QVERIFY2(rec_->messages.empty(), qPrintable(rec_->Texts().join('|')));
        QVERIFY(VisibleProgressDialog() == nullptr);
        QVERIFY(rec_->ui.stepProgress() == nullptr);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void uncancelledLoadClosesItsWindow() {
        rec_->files.push_back(journal_);
        Child<QPushButton>("journalSelect")->click();
        QVERIFY(window_->workflow().journalLoaded());
        QVERIFY(VisibleProgressDialog() == nullptr);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(Child<QLabel>("journalState")->text().startsWith(QStringLiteral("geladen: ")));
    }
};

QTEST_MAIN(StepProgressTest)
#include "StepProgressTest.moc"
