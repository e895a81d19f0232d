// The progress windows of the update check: their cancel button reaches the
// transfer that the core waits on.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "GuiTestSupport.h"
#include "LocalHttpServer.h"
#include "TempDir.h"
#include "core/update/CurlTransport.h"
#include "core/update/UpdateChecker.h"
#include "core/update/UpdateMessages.h"
#include "core/workflow/WorkflowUpdate.h"
#include "gui/ui/ProgressDialog.h"
#include "gui/update/UpdateDialog.h"

namespace belvaron::gui {

class UpdateCancelTest : public QObject {
    Q_OBJECT

private:
    // Confirms the update dialog (`offered`) and clicks the cancel button of
    // the visible progress window titled `title` as soon as one appears
    // (`clicked`).
    static std::unique_ptr<QTimer> ClickCancelOf(const QString& title, bool& clicked,
                                                 bool& offered) {
        auto timer = std::make_unique<QTimer>();
        timer->setInterval(20);
        QObject::connect(timer.get(), &QTimer::timeout, [title, &clicked, &offered] {
            if (auto* dialog = qobject_cast<UpdateDialog*>(QApplication::activeModalWidget())) {
                offered = true;
                dialog->accept();
                return;
            }
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<ProgressDialog*>(w);
                if (!clicked && progress && progress->isVisible() && progress->title() == title) {
                    clicked = true;
                    QTest::mouseClick(progress->cancelButton(), Qt::LeftButton);
                }
            }
        });
        timer->start();
        return timer;
    }

private slots:
    void init() {
        for (const char* v :
             {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"}) {
            unsetenv(v);
        }
    }

    // A server that never answers: " Abbruch " of the window ends the check
    // at once (the time limits are far away) with its message.
    void cancelEndsTheCheck_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("silentInformation");
        QTest::addColumn<QString>("message");
        QTest::newRow("information") << QString::fromUtf8(msg::kUpdCheckProgressTitle) << true
                                     << QString::fromUtf8(msg::kUpdCheckCancelled);
        QTest::newRow("installer") << QString::fromUtf8(msg::kUpdProgressTitle) << false
                                   << QString::fromUtf8(msg::kUpdDownloadCancelled);
    }
    void cancelEndsTheCheck() {
        QFETCH(QString, window);
        QFETCH(bool, silentInformation);
        QFETCH(QString, message);
        test::LocalHttpServer server;
        test::LocalHttpServer::Reply silent;
        silent.silent = true;
        test::LocalHttpServer::Reply info;
        info.body = test::ReadFile(std::string(BELVARON_TEST_DATA) + "/update/readme_newer.txt");
        server.Serve("/updates/Belvaron/ReadMe.txt", silentInformation ? silent : info);
        server.Serve("/setup_belvaron.exe", silent);

        test::RecordingUi rec;
        test::TempDir temp;
        UpdateChecker updater(std::make_unique<CurlTransport>(TransportTimeouts{20000, 20000}));
        updater.tempFolder = temp.path();
        bool offered = false;
        bool clicked = false;
        const auto timer = ClickCancelOf(window, clicked, offered);
        const auto start = std::chrono::steady_clock::now();
        const UpdateRun run = RunUpdateCheck(
            rec.ui, updater,
            {"Belvaron", server.Url(), "updates/Belvaron/ReadMe.txt", "setup_belvaron.exe"});
        QVERIFY(!run.ok);
        QVERIFY(clicked);
        QVERIFY(std::chrono::steady_clock::now() - start < std::chrono::seconds(3));
        QCOMPARE(rec.Texts(), QStringList{message});
        QCOMPARE(offered, !silentInformation);
        QCOMPARE(run.installerPid, 0);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<ProgressDialog*>(w)) QVERIFY(!w->isVisible());
        }
    }
};

}  // namespace belvaron::gui

QTEST_MAIN(belvaron::gui::UpdateCancelTest)
#include "UpdateCancelTest.moc"
