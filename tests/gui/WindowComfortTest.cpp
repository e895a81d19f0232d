// The main window as a bookkeeper meets it day to day: it fits small and
// scaled screens, remembers the last choices, opens a journal named on the
// command line or dropped on it, and answers --help and --version.
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <memory>

#include "GuiTestSupport.h"
#include "gui/app/CommandLine.h"
#include "gui/app/MainWindow.h"
#include "gui/bookings/BookingListView.h"

using namespace belvaron;
using namespace belvaron::gui;

class WindowComfortTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<test::RecordingUi> rec_;
    std::unique_ptr<MainWindow> window_;

    void OpenWindow() {
        rec_ = std::make_unique<test::RecordingUi>();
        window_ = test::OpenWindowIn(*folder_, rec_->ui);
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    template <typename T>
    T* Child(const char* name) {
        return test::NamedChild<T>(window_.get(), name);
    }
    static QString Journal() {
        return QStringLiteral(BELVARON_TEST_DATA "/gui/journal_zero_accounts.txt");
    }

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        test::KeepSettingsIn(*folder_);
        OpenWindow();
    }
    void cleanup() {
        window_.reset();
        rec_.reset();
        folder_.reset();
    }

    void fitsTheScreen_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<qreal>("scale");
        QTest::newRow("1366x768 at 100 %") << QSize(1366, 768) << 1.0;
        QTest::newRow("1920x1080 at 150 %") << QSize(1920, 1080) << 1.5;
    }
    // On the screen less a panel of 40 device pixels, the window with its
    // frame fits, and every step down to the quit buttons is shown without
    // scrolling: the list is what gave way.
    void fitsTheScreen() {
        QFETCH(QSize, screen);
        QFETCH(qreal, scale);
        const QRect available(QPoint(0, 0), QSize(qRound(screen.width() / scale),
                                                  qRound((screen.height() - 40) / scale)));
        window_->FitInto(available);
        QVERIFY(window_->width() <= available.width());
        QVERIFY(window_->height() + 32 <= available.height());  // a title bar
        QCoreApplication::processEvents();
        QScrollArea* scroll = window_->contentScroll();
        QCOMPARE(scroll->verticalScrollBar()->maximum(), 0);
        QWidget* quit = Child<QWidget>("quit");
        const QRect quitRect(quit->mapTo(window_.get(), QPoint(0, 0)), quit->size());
        QVERIFY(window_->rect().contains(quitRect));
        QVERIFY(window_->bookingList()->height() >= window_->bookingList()->minimumHeight());
    }

    // Window size and place, the journal folder, the targets, the chart and
    // the taxation choice reach the next window; the five last journals
    // are offered, newest first.
    void remembersAcrossRuns() {
        const QStringList charts = {QStringLiteral("SK3_DATEV.kon"),
                                    QStringLiteral("SK4_DATEV.kon")};
        QDir().mkpath(folder_->path() + QStringLiteral("/data"));
        for (const QString& chart : charts) {
            QFile file(folder_->path() + QStringLiteral("/data/") + chart);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        window_.reset();
        OpenWindow();
        auto* chartBox = Child<QComboBox>("chartFiles");
        QCOMPARE(chartBox->count(), 2);
        window_->setGeometry(40, 50, 1000, 700);
        auto* datev = Child<QLineEdit>("datevTarget");
        datev->setFocus();
        datev->selectAll();
        QTest::keyClicks(datev, QStringLiteral("/tmp/stapel"));
        rec_->files.push_back(std::string("/tmp/lexware.txt"));
        QTest::mouseClick(Child<QPushButton>("lexwareSelect"), Qt::LeftButton);
        chartBox->setCurrentIndex(0);
        emit chartBox->activated(0);
        QTest::mouseClick(Child<QRadioButton>("taxationIst"), Qt::LeftButton, {}, QPoint(5, 5));
        QTemporaryDir journals;
        for (int i = 1; i <= 6; ++i) {
            const QString path = journals.path() + QStringLiteral("/j%1.txt").arg(i);
            QVERIFY(QFile::copy(Journal(), path));
            window_->OpenJournal(path);
        }
        QCOMPARE(window_->workflow().store().bookingCount, 4);
        const QRect geometry = window_->geometry();

        window_.reset();
        OpenWindow();
        const Workflow& flow = window_->workflow();
        QCOMPARE(window_->geometry(), geometry);
        QCOMPARE(flow.datevTargetPath(), std::string("/tmp/stapel"));
        QCOMPARE(flow.lexwareTargetPath(), std::string("/tmp/lexware.txt"));
        QCOMPARE(flow.SelectedChartName(), std::string("SK3_DATEV.kon"));
        QVERIFY(flow.taxation() == Taxation::Ist);
        QVERIFY(Child<QRadioButton>("taxationIst")->isChecked());
        QCOMPARE(rec_->ui.lastFolder(), journals.path());
        QStringList recent;
        for (QAction* action : Child<QToolButton>("recentJournals")->menu()->actions()) {
            recent << action->text();
        }
        QCOMPARE(recent.size(), 5);
        QCOMPARE(recent.first(), journals.path() + QStringLiteral("/j6.txt"));
        QCOMPARE(recent.last(), journals.path() + QStringLiteral("/j2.txt"));
        // Choosing one opens it.
        Child<QToolButton>("recentJournals")->menu()->actions().at(2)->trigger();
        QCOMPARE(flow.journalPath(), (journals.path() + QStringLiteral("/j4.txt")).toStdString());
        QCOMPARE(flow.store().bookingCount, 4);
    }

    // A journal dropped anywhere on the window, even on a text field, is
    // loaded as "Auswahl" would load it, and the field keeps its text. With
    // work on the loaded journal the reload asks first; "Nein" keeps it.
    void dropLoadsTheJournal() {
        auto* datev = Child<QLineEdit>("datevTarget");
        const auto drop = [datev](const QString& path) {
            QMimeData mime;
            mime.setUrls({QUrl::fromLocalFile(path)});
            mime.setText(path);
            const QPoint at = datev->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(datev, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(datev, &dropped);
            QVERIFY(dropped.isAccepted());
        };
        drop(Journal());
        QTRY_COMPARE(window_->workflow().store().bookingCount, 4);
        QCOMPARE(window_->workflow().journalPath(), Journal().toStdString());
        QCOMPARE(datev->text(), QString::fromStdString(window_->workflow().datevTargetPath()));
        QCOMPARE(window_->bookingList()->model()->rowCount(), 4);

        window_->workflow().OnDeleteZeroBookings();
        QCOMPARE(window_->workflow().store().bookingCount, 2);
        rec_->messages.clear();
        drop(Journal());
        QTRY_COMPARE(rec_->messages.size(), std::size_t{1});
        QVERIFY(rec_->messages.front().defaultNo);
        QCOMPARE(window_->workflow().store().bookingCount, 2);
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("journal");
        using A = CommandLine::Action;
        QTest::newRow("none") << QStringList{} << int(A::Run) << QString();
        QTest::newRow("file") << QStringList{"/x/j.txt"} << int(A::Run) << "/x/j.txt";
        QTest::newRow("--help") << QStringList{"--help", "/x/j.txt"} << int(A::Help) << QString();
        QTest::newRow("-h") << QStringList{"-h"} << int(A::Help) << QString();
        QTest::newRow("--version") << QStringList{"--version"} << int(A::Version) << QString();
        QTest::newRow("unknown option") << QStringList{"--bogus"} << int(A::Error) << QString();
        QTest::newRow("two files") << QStringList{"a.txt", "b.txt"} << int(A::Error) << "a.txt";
        QTest::newRow("file after --") << QStringList{"--", "-j.txt"} << int(A::Run) << "-j.txt";
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(int, action);
        QFETCH(QString, journal);
        std::vector<std::string> bytes{"belvaron"};
        for (const QString& a : args) bytes.push_back(a.toStdString());
        std::vector<const char*> argv;
        for (const std::string& b : bytes) argv.push_back(b.c_str());
        const CommandLine line = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
        QCOMPARE(int(line.action), action);
        QCOMPARE(QString::fromStdString(line.journal), journal);
        QCOMPARE(line.error.empty(), line.action != CommandLine::Action::Error);
    }

    // The program prints its help and version without opening a window (no
    // display needed) and ends with 0; a wrong option ends with 2.
    void helpAndVersionExitZero_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("start");
        QTest::newRow("--help") << "--help" << 0 << "Aufruf: belvaron [OPTION] [DATEI]\n";
        QTest::newRow("--version") << "--version" << 0 << "belvaron " BELVARON_VERSION "\n";
        QTest::newRow("--bogus") << "--bogus" << 2 << "belvaron: Unbekannte Option: --bogus\n";
    }
    void helpAndVersionExitZero() {
        QFETCH(QString, option);
        QFETCH(int, code);
        QFETCH(QString, start);
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(BELVARON_PROGRAM), {option});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), code);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QString err = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2((code == 0 ? out : err).startsWith(start), qPrintable(out + err));
        QVERIFY((code == 0 ? err : out).isEmpty());
        if (option == QLatin1String("--help")) QVERIFY(out.contains(QStringLiteral("diese Hilfe")));
    }
};

QTEST_MAIN(WindowComfortTest)
#include "WindowComfortTest.moc"
