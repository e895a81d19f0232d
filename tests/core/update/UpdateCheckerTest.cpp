#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "FakeUi.h"
#include "LocalHttpServer.h"
#include "TempDir.h"
#include "core/base/Format.h"
#include "core/base/Sha256.h"
#include "core/update/CurlTransport.h"
#include "core/update/UpdateChecker.h"
#include "core/update/UpdateMessages.h"
#include "core/workflow/WorkflowUpdate.h"

namespace belvaron {
namespace {

using test::LocalHttpServer;

constexpr const char* kInfoPath = "/updates/Belvaron/ReadMe.txt";
constexpr const char* kSetupPath = "/setup_belvaron.exe";
// An installer the system can start: it ends with exit status 7.
const std::string kInstaller = "#!/bin/sh\nexit 7\n";

std::string Fixture(const std::string& name) {
    return test::ReadFile(std::string(BELVARON_TEST_DATA) + "/update/" + name);
}

using Reply = LocalHttpServer::Reply;

Reply Page(std::string body, int status = 200) {
    Reply r;
    r.status = status;
    r.body = std::move(body);
    return r;
}
// The body, then the end of the connection (or a wait) before `announced` bytes.
Reply Truncated(std::string body, std::size_t announced, bool holdOpen = false) {
    Reply r = Page(std::move(body));
    r.announcedLength = announced;
    r.holdOpen = holdOpen;
    return r;
}
Reply Silent() {
    Reply r;
    r.silent = true;
    return r;
}

std::string WithCode(const char* message, int code) {
    return message + Format(msg::kUpdErrorCode, code);
}

// An installer script of exactly `size` bytes.
std::string LargeInstaller(std::size_t size) {
    std::string s = kInstaller + "#";
    s.resize(size - 1, 'x');
    return s + "\n";
}

// The fake UI, with the cancel of one progress window only: the window
// titled `cancelTitle` cancels itself in its PumpMessages call number
// cancelAfterPumps; the others never cancel.
class UpdateUi : public test::FakeUi {
public:
    std::string cancelTitle;

    std::unique_ptr<ProgressWindow> OpenProgressWindow(const std::string& title) override {
        const int cancelAfter = cancelAfterPumps;
        if (title != cancelTitle) cancelAfterPumps = 0;
        auto window = FakeUi::OpenProgressWindow(title);
        cancelAfterPumps = cancelAfter;
        return window;
    }
};

class UpdateCheck : public testing::Test {
protected:
    void SetUp() override {
        for (const char* v :
             {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"}) {
            unsetenv(v);
        }
    }

    static UpdateSource Source(const std::string& baseUrl,
                               const std::string& productName = "Belvaron",
                               const std::string& setupFileName = "setup_belvaron.exe") {
        return {productName, baseUrl, "updates/" + productName + "/ReadMe.txt", setupFileName};
    }
    // "Updates?" with `updater`, as the window runs it.
    bool Run(UpdateChecker& updater, const UpdateSource& source) {
        const UpdateRun run = RunUpdateCheck(ui, updater, source);
        installerPid = run.installerPid;
        return run.ok;
    }
    bool Check(const std::string& baseUrl, TransportTimeouts timeouts = {2000, 400}) {
        UpdateChecker updater(std::make_unique<CurlTransport>(timeouts));
        updater.tempFolder = temp.path();
        return Run(updater, Source(baseUrl));
    }
    bool Check() { return Check(server.Url()); }

    void ServeInfo(const std::string& fixture) { server.Serve(kInfoPath, Page(Fixture(fixture))); }
    // Offers the newer version and confirms the dialog.
    void ConfirmNewer() {
        ServeInfo("readme_newer.txt");
        ui.updateDialogAnswers.push_back(true);
    }

    // The progress windows titled `title`, in the order they were opened.
    std::vector<const test::FakeUi::ProgressLog*> Windows(const char* title) const {
        std::vector<const test::FakeUi::ProgressLog*> found;
        for (const auto& w : ui.progressWindows) {
            if (w->title == title) found.push_back(w.get());
        }
        return found;
    }
    std::vector<const test::FakeUi::ProgressLog*> DownloadWindows() const {
        return Windows(msg::kUpdProgressTitle);
    }

    // The files in the temporary folder.
    std::vector<std::filesystem::path> TempFiles() const {
        std::vector<std::filesystem::path> files;
        for (const auto& e : std::filesystem::directory_iterator(temp.path()))
            files.push_back(e.path());
        return files;
    }
    static unsigned Mode(const std::filesystem::path& p) {
        struct stat st {};
        stat(p.c_str(), &st);
        return st.st_mode & 07777u;
    }
    // The exit status of the started installer.
    int InstallerExitStatus() const {
        int status = -1;
        if (waitpid(installerPid, &status, 0) != installerPid || !WIFEXITED(status)) return -1;
        return WEXITSTATUS(status);
    }

    LocalHttpServer server;
    UpdateUi ui;
    test::TempDir temp;
    pid_t installerPid = 0;
};

// ---- The version comparison -------------------------------------------------

struct CompareCase {
    const char* name;
    const char* fixture;
    bool result;
    std::string message;  // "" when the dialog is expected instead
    std::string dialogTitle;
    std::string history;
};
void PrintTo(const CompareCase& c, std::ostream* os) { *os << c.name; }

class VersionCompare : public UpdateCheck, public testing::WithParamInterface<CompareCase> {};

TEST_P(VersionCompare, ReportsOrOffersTheServerVersion) {
    const CompareCase& c = GetParam();
    ServeInfo(c.fixture);
    EXPECT_EQ(Check(), c.result);
    if (c.message.empty()) {
        EXPECT_TRUE(ui.messages.empty());
        ASSERT_EQ(ui.updateDialogs.size(), 1u);
        EXPECT_EQ(ui.updateDialogs[0].titleText, c.dialogTitle);
        EXPECT_EQ(ui.updateDialogs[0].historyText, c.history);
        EXPECT_EQ(ui.updateDialogs[0].propertiesText,
                  "Das Update ist für Sie kostenlos verfügbar.");
        EXPECT_EQ(ui.updateDialogs[0].propertiesColour, 0x006400u);
    } else {
        EXPECT_TRUE(ui.updateDialogs.empty());
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    }
    // The fetch of the information had its window, closed before anything
    // was shown; nothing was downloaded.
    ASSERT_EQ(ui.progressWindows.size(), 1u);
    EXPECT_EQ(ui.progressWindows[0]->title, "Suche nach Updates ");
    EXPECT_TRUE(ui.progressWindows[0]->escapeCancels);
    EXPECT_TRUE(ui.progressWindows[0]->closed);
    EXPECT_TRUE(TempFiles().empty());
}

// The operation itself shows nothing: its outcome carries the message or
// the dialog's texts.
TEST_P(VersionCompare, OutcomeCarriesTheMessageOrTheDialog) {
    const CompareCase& c = GetParam();
    ServeInfo(c.fixture);
    UpdateChecker updater(std::make_unique<CurlTransport>(TransportTimeouts{2000, 400}));
    const UpdateOffer offer = updater.FindUpdate(Source(server.Url()));
    EXPECT_EQ(offer.result == UpdateOffer::Result::Offered, c.message.empty());
    if (c.message.empty()) {
        EXPECT_TRUE(offer.notices.empty());
        EXPECT_EQ(offer.dialog.titleText, c.dialogTitle);
        EXPECT_EQ(offer.dialog.historyText, c.history);
        EXPECT_EQ(offer.digest.state, InstallerDigest::State::Absent);
    } else {
        EXPECT_EQ(offer.notices.items(),
                  (std::vector<Notice>{{NoticeKind::Information, c.message}}));
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.progressWindows.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionCompare,
    testing::Values(
        CompareCase{
            "Equal", "readme_same.txt", true,
            "Das Programm ist auf dem neuesten Stand.\nEs sind keine neuen Updates verfügbar.", "",
            ""},
        CompareCase{"ServerOlder", "readme_older.txt", true,
                    "Das Programm ist auf dem neuesten Stand.\nAuf dem Update-Server befindet sich "
                    "noch die "
                    "Version: V2.2.9",
                    "", ""},
        CompareCase{"Newer", "readme_newer.txt", false, "",
                    "Für Belvaron ist ein neues Update (V2.4) verfügbar!",
                    "Version: Belvaron V2.4: 15.03.2027\r\n- Export nach DATEV im neuen Format\r\n"
                    "- Fehler beim Import behoben\r\n\r\n"},
        // Other text, same number: offered.
        CompareCase{"SameNumber", "readme_same_number.txt", false, "",
                    "Für Belvaron ist ein neues Update (V2.3.0) verfügbar!",
                    "Version: Belvaron V2.3.0: 02.10.2026\r\n- Nachtrag\r\n\r\n"},
        CompareCase{
            "SpillOver", "readme_spill.txt", false, "",
            "Für Belvaron ist ein neues Update (V2.3.150) verfügbar!",
            "Version: Belvaron V2.3.150: 01.02.2027\r\n- Viele kleine Verbesserungen\r\n\r\n"},
        CompareCase{
            "BlanksBeforeColon", "readme_blanks.txt", false, "",
            "Für Belvaron ist ein neues Update (V2.4) verfügbar!",
            "Version: Belvaron   V2.4 \t: 15.03.2027\r\n- Neue Version mit Leerzeichen\r\n\r\n"},
        // Not listed (its entry lacks the V): to nine characters before the end.
        CompareCase{"InstalledNotListed", "readme_unlisted.txt", false, "",
                    "Für Belvaron ist ein neues Update (V2.5) verfügbar!",
                    "Version: Belvaron V2.5: 01.06.2027\r\n- Änderungen für 2027\r\n\r\n"
                    "Version: Belvaron 2.3: 01.10.2026\r\n- Eintra"}),
    [](const testing::TestParamInfo<CompareCase>& i) { return std::string(i.param.name); });

TEST_F(UpdateCheck, AsksTheServerWithoutCacheAndFollowsRedirects) {
    Reply redirect = Page("", 302);
    redirect.location = "/moved/ReadMe.txt";
    server.Serve(kInfoPath, redirect);
    server.Serve("/moved/ReadMe.txt", Page(Fixture("readme_same.txt")));
    EXPECT_TRUE(Check());
    ASSERT_EQ(ui.Texts(), std::vector<std::string>{msg::kUpdUpToDate});
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    requests[0] += "\r\n";
    EXPECT_TRUE(requests[0].starts_with("GET /updates/Belvaron/ReadMe.txt HTTP/1.1\r\n"))
        << requests[0];
    EXPECT_NE(requests[0].find("\r\nUser-Agent: Update_Suche\r\n"), std::string::npos);
    EXPECT_NE(requests[0].find("\r\nCache-Control: no-cache\r\n"), std::string::npos);
    EXPECT_NE(requests[0].find("\r\nPragma: no-cache\r\n"), std::string::npos) << requests[0];
}

// ---- Failures before the dialog ---------------------------------------------

struct InfoFailureCase {
    const char* name;
    LocalHttpServer::Reply reply;
    std::string message;
};
void PrintTo(const InfoFailureCase& c, std::ostream* os) { *os << c.name; }

class InfoFailure : public UpdateCheck, public testing::WithParamInterface<InfoFailureCase> {};

TEST_P(InfoFailure, IsReportedAndOffersNothing) {
    server.Serve(kInfoPath, GetParam().reply);
    EXPECT_FALSE(Check());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{GetParam().message});
    EXPECT_EQ(ui.Last().icon, MessageIcon::Information);
    EXPECT_TRUE(ui.updateDialogs.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, InfoFailure,
    testing::Values(
        // An error page is not the information file, whatever it contains.
        InfoFailureCase{"NotFound", Page("Programmhistory\nVersion: Belvaron V9.9:\n", 404),
                        WithCode(msg::kUpdNoInformation, 404)},
        InfoFailureCase{"ServerError", Page("<html>Fehler</html>", 500),
                        WithCode(msg::kUpdNoInformation, 500)},
        InfoFailureCase{"Truncated", Truncated("Programmhistory\nVersion: Belvaron V2.4:\n", 4000),
                        WithCode(msg::kUpdNoInformation, transport_error::kPartialBody)},
        InfoFailureCase{"TooLarge", Page(std::string(UpdateChecker::kMaxTextSize + 1, 'x')),
                        WithCode(msg::kUpdNoInformation, transport_error::kTooLarge)},
        InfoFailureCase{"NoHistoryWord", Page("<html><body>Startseite</body></html>"),
                        msg::kUpdBadInformation},
        InfoFailureCase{"NeverAnswers", Silent(),
                        WithCode(msg::kUpdNoServer, transport_error::kTimedOut)},
        // The first bytes arrive, then the server stalls.
        InfoFailureCase{"StallsInTheBody", Truncated("Programmhistory\n", 4000, true),
                        WithCode(msg::kUpdNoInformation, transport_error::kTimedOut)}),
    [](const testing::TestParamInfo<InfoFailureCase>& i) { return std::string(i.param.name); });

// A port that is bound but not listening refuses every connection.
TEST_F(UpdateCheck, RefusedConnectionIsReportedWithTheTransportsCode) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len), 0);
    const bool result = Check("http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/");
    close(fd);
    EXPECT_FALSE(result);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{WithCode(msg::kUpdNoServer, 7)});
}

TEST_F(UpdateCheck, HttpsIsNeverAnsweredByPlainHttp) {
    ServeInfo("readme_same.txt");
    EXPECT_FALSE(Check("https://127.0.0.1:" + std::to_string(server.port()) + "/"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.Last().text.starts_with(std::string(msg::kUpdNoServer) + "[")) << ui.Last().text;
}

TEST_F(UpdateCheck, OtherSchemesAreRefused) {
    EXPECT_FALSE(Check("file:///etc/"));
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{WithCode(msg::kUpdNoServer, 1)});
}

TEST_F(UpdateCheck, WithoutTransportThereIsNoInternet) {
    UpdateChecker updater(nullptr);
    EXPECT_FALSE(Run(updater, Source(server.Url(), "Belvaron", "setup.exe")));
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{
                              WithCode(msg::kUpdNoInternet, transport_error::kInitFailed)});
}

TEST_F(UpdateCheck, WithoutInstalledVersionNothingIsAsked) {
    UpdateChecker updater(std::make_unique<CurlTransport>());
    EXPECT_FALSE(Run(updater, Source(server.Url(), "Unbekannt", "setup.exe")));
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{msg::kUpdNoVersion});
    EXPECT_TRUE(server.Requests().empty());
}

// ---- Download and start -----------------------------------------------------

TEST_F(UpdateCheck, StartsTheCompleteInstallerAndKeepsRunningOnNo) {
    ConfirmNewer();
    server.Serve(kSetupPath, Page(kInstaller));
    ui.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(Check());

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().text, msg::kUpdExitQuestion);
    EXPECT_EQ(ui.Last().icon, MessageIcon::None);
    EXPECT_EQ(ui.Last().buttons, MessageButtons::YesNo);
    EXPECT_TRUE(ui.exitCodes.empty());

    const auto files = TempFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files[0].filename().string().starts_with("setup_belvaron-"));
    EXPECT_EQ(files[0].extension(), ".exe");
    EXPECT_EQ(test::ReadFile(files[0]), kInstaller);
    EXPECT_EQ(Mode(files[0]), 0700u);
    EXPECT_EQ(InstallerExitStatus(), 7);

    ASSERT_EQ(DownloadWindows().size(), 1u);
    const auto& progress = *DownloadWindows()[0];
    EXPECT_EQ(progress.title, "Update wird heruntergeladen ");
    EXPECT_EQ(std::tie(progress.lower, progress.upper, progress.step), std::make_tuple(0, 100, 1));
    EXPECT_EQ(std::tie(progress.layoutLines, progress.layoutWidth), std::make_tuple(1, 300));
    EXPECT_EQ(progress.statusTexts, std::vector<std::string>{"0 kByte"});
    EXPECT_EQ(progress.positions, std::vector<int>{100});
    EXPECT_TRUE(progress.escapeCancels);
    EXPECT_TRUE(progress.closed);
}

TEST_F(UpdateCheck, YesEndsTheProgramWithExitCodeOne) {
    ConfirmNewer();
    server.Serve(kSetupPath, Page(kInstaller));
    ui.answers.push_back(MessageAnswer::Yes);
    EXPECT_TRUE(Check());
    EXPECT_EQ(ui.exitCodes, std::vector<int>{1});
    EXPECT_EQ(InstallerExitStatus(), 7);
}

struct ProgressCase {
    const char* name;
    bool sendLength;
    std::vector<int> positions;
    bool started;  // without a length the download cannot be told complete
};
void PrintTo(const ProgressCase& c, std::ostream* os) { *os << c.name; }

class DownloadProgress : public UpdateCheck, public testing::WithParamInterface<ProgressCase> {};

// Blocks of 4096 bytes; 1 kByte = 1000 bytes; without a length the bar stays
// and no file is left. The window also lets input through while it waits.
TEST_P(DownloadProgress, CountsKiloBytesAndPercent) {
    ConfirmNewer();
    const std::string installer = LargeInstaller(10000);
    Reply reply = Page(installer);
    reply.sendLength = GetParam().sendLength;
    server.Serve(kSetupPath, reply);
    EXPECT_EQ(Check(), GetParam().started);
    const auto& progress = *DownloadWindows().at(0);
    EXPECT_EQ(progress.statusTexts, (std::vector<std::string>{"4 kByte", "8 kByte", "10 kByte"}));
    EXPECT_EQ(progress.positions, GetParam().positions);
    EXPECT_GE(progress.pumps, 3);
    if (GetParam().started) {
        EXPECT_EQ(test::ReadFile(TempFiles().at(0)), installer);
        EXPECT_EQ(InstallerExitStatus(), 7);
    } else {
        EXPECT_EQ(installerPid, 0);
        EXPECT_TRUE(TempFiles().empty());
        EXPECT_EQ(ui.Texts(), std::vector<std::string>{WithCode(msg::kUpdDownloadFailed,
                                                                transport_error::kLengthUnknown)});
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, DownloadProgress,
                         testing::Values(ProgressCase{"WithLength", true, {40, 81, 100}, true},
                                         ProgressCase{"WithoutLength", false, {}, false}),
                         [](const testing::TestParamInfo<ProgressCase>& i) {
                             return std::string(i.param.name);
                         });

TEST_F(UpdateCheck, ErrorPageIsNeverSavedNorStarted) {
    ConfirmNewer();
    server.Serve(kSetupPath, Page(kInstaller, 404));
    EXPECT_FALSE(Check());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{WithCode(msg::kUpdDownloadFailed, 404)});
    EXPECT_TRUE(TempFiles().empty());
    ASSERT_EQ(DownloadWindows().size(), 1u);  // open while the server was asked
    EXPECT_TRUE(DownloadWindows()[0]->closed);
    EXPECT_TRUE(DownloadWindows()[0]->statusTexts.empty());
    EXPECT_EQ(installerPid, 0);
}

struct BrokenDownloadCase {
    const char* name;
    LocalHttpServer::Reply reply;
    int code;
};
void PrintTo(const BrokenDownloadCase& c, std::ostream* os) { *os << c.name; }

class BrokenDownload : public UpdateCheck,
                       public testing::WithParamInterface<BrokenDownloadCase> {};

// An incomplete download is removed and nothing is started.
TEST_P(BrokenDownload, LeavesNoFileAndStartsNothing) {
    const BrokenDownloadCase& c = GetParam();
    ConfirmNewer();
    server.Serve(kSetupPath, c.reply);
    EXPECT_FALSE(Check());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{WithCode(msg::kUpdDownloadFailed, c.code)});
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_EQ(installerPid, 0);
    ASSERT_EQ(DownloadWindows().size(), 1u);
    EXPECT_TRUE(DownloadWindows()[0]->closed);
}

INSTANTIATE_TEST_SUITE_P(
    Downloads, BrokenDownload,
    testing::Values(BrokenDownloadCase{"Truncated", Truncated(LargeInstaller(5000), 10000),
                                       transport_error::kPartialBody},
                    BrokenDownloadCase{"Stalled", Truncated(LargeInstaller(5000), 10000, true),
                                       transport_error::kTimedOut}),
    [](const testing::TestParamInfo<BrokenDownloadCase>& i) { return std::string(i.param.name); });

// ---- Cancel from the progress windows ---------------------------------------

struct CancelCase {
    const char* name;
    const char* window;  // the progress window whose cancel is used
    int afterPumps;
    Reply info;
    Reply setup;
    const char* message;
};
void PrintTo(const CancelCase& c, std::ostream* os) { *os << c.name; }

Reply Drip(std::string body) {
    Reply r = Page(std::move(body));
    r.dripMs = 20;
    return r;
}

class Cancel : public UpdateCheck, public testing::WithParamInterface<CancelCase> {};

// The cancel ends the transfer within moments, even while the server keeps
// the connection silent far below every time limit; the window is closed
// before the message, no file is left and nothing is started.
TEST_P(Cancel, EndsTheTransferPromptlyAndLeavesNoFile) {
    const CancelCase& c = GetParam();
    server.Serve(kInfoPath, c.info);
    server.Serve(kSetupPath, c.setup);
    ui.updateDialogAnswers.push_back(true);
    ui.cancelTitle = c.window;
    ui.cancelAfterPumps = c.afterPumps;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Check(server.Url(), TransportTimeouts{20000, 20000}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{c.message});
    EXPECT_EQ(ui.Last().icon, MessageIcon::Information);
    const auto windows = Windows(c.window);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_TRUE(windows[0]->cancelled);
    EXPECT_TRUE(windows[0]->closed);
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_EQ(installerPid, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, Cancel,
    testing::Values(
        CancelCase{"SilentInformationServer", msg::kUpdCheckProgressTitle, 3, Silent(),
                   Page(kInstaller), msg::kUpdCheckCancelled},
        CancelCase{"TricklingInformation", msg::kUpdCheckProgressTitle, 5,
                   Drip(Fixture("readme_newer.txt")), Page(kInstaller), msg::kUpdCheckCancelled},
        CancelCase{"SilentInstallerServer", msg::kUpdProgressTitle, 3,
                   Page(Fixture("readme_newer.txt")), Silent(), msg::kUpdDownloadCancelled},
        CancelCase{"StalledInstaller", msg::kUpdProgressTitle, 4, Page(Fixture("readme_newer.txt")),
                   Truncated(LargeInstaller(5000), 10000, true), msg::kUpdDownloadCancelled},
        CancelCase{"SteadyInstaller", msg::kUpdProgressTitle, 2, Page(Fixture("readme_newer.txt")),
                   Page(LargeInstaller(200000)), msg::kUpdDownloadCancelled}),
    [](const testing::TestParamInfo<CancelCase>& i) { return std::string(i.param.name); });

TEST_F(UpdateCheck, InstallerTheSystemCannotRunIsReported) {
    ConfirmNewer();
    server.Serve(kSetupPath, Page(std::string("MZ\x90\0\x03\0\0\0", 8)));
    EXPECT_FALSE(Check());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{WithCode(msg::kUpdStartFailed, ENOEXEC)});
}

TEST_F(UpdateCheck, MissingTemporaryFolderFailsBeforeTheProgressWindow) {
    ConfirmNewer();
    server.Serve(kSetupPath, Page(kInstaller));
    UpdateChecker updater(std::make_unique<CurlTransport>(TransportTimeouts{2000, 400}));
    updater.tempFolder = temp.File("missing");
    EXPECT_FALSE(Run(updater, Source(server.Url())));
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{WithCode(msg::kUpdDownloadFailed, ENOENT)});
    EXPECT_TRUE(DownloadWindows().empty());
}

// ---- Time limit and integrity -----------------------------------------------

// A server that keeps sending a byte now and then never trips the idle
// time-out; the check still ends at its limit, with its own message.
TEST_F(UpdateCheck, TrickleOfBytesEndsAtTheTimeLimit) {
    Reply reply = Page(Fixture("readme_newer.txt"));
    reply.dripMs = 100;  // well within the idle time-out of 400 ms
    server.Serve(kInfoPath, reply);
    UpdateChecker updater(std::make_unique<CurlTransport>(TransportTimeouts{2000, 400}));
    updater.tempFolder = temp.path();
    updater.checkLimit = std::chrono::milliseconds(1000);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Run(updater, Source(server.Url())));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1900));
    EXPECT_EQ(ui.Texts(),
              std::vector<std::string>{Format(msg::kUpdCheckTimedOut, 1) +
                                       Format(msg::kUpdErrorCode, transport_error::kTimedOut)});
    EXPECT_TRUE(ui.updateDialogs.empty());
}

// The information file with a line "SHA256 (setup_belvaron.exe) = ..." added.
std::string InfoWithDigest(const std::string& digestLine) {
    return digestLine + "\r\n" + Fixture("readme_newer.txt");
}

TEST_F(UpdateCheck, InstallerWithTheAnnouncedDigestIsStarted) {
    server.Serve(kInfoPath, Page(InfoWithDigest("SHA256 (setup_belvaron.exe) = " +
                                                DigestHex(Sha256Of(kInstaller)))));
    ui.updateDialogAnswers.push_back(true);
    server.Serve(kSetupPath, Page(kInstaller));
    ui.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(Check());
    EXPECT_EQ(InstallerExitStatus(), 7);
}

TEST_F(UpdateCheck, InstallerWithAnotherDigestIsNeverStarted) {
    server.Serve(kInfoPath, Page(InfoWithDigest("SHA256 (setup_belvaron.exe) = " +
                                                DigestHex(Sha256Of("another installer")))));
    ui.updateDialogAnswers.push_back(true);
    server.Serve(kSetupPath, Page(kInstaller));
    EXPECT_FALSE(Check());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{
                              WithCode(msg::kUpdDigestMismatch, transport_error::kDigestMismatch)});
    EXPECT_EQ(installerPid, 0);
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(UpdateCheck, MalformedDigestLineOffersNothing) {
    server.Serve(kInfoPath, Page(InfoWithDigest("SHA256 (setup_belvaron.exe) = 12ab")));
    EXPECT_FALSE(Check());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{msg::kUpdBadInformation});
    EXPECT_TRUE(ui.updateDialogs.empty());
}

// ---- The download and start operations on their own ---------------------

// What a transfer told its progress, in order.
struct ProgressRecord {
    std::vector<std::string> calls;  // "begin", "wait", "received <bytes>/<length>"
    int cancelAtBlock = 0;           // `received` number n answers false (0: never)
    TransferProgress progress;

    ProgressRecord() {
        progress.begin = [this] { calls.push_back("begin"); };
        progress.wait = [this] {
            if (calls.empty() || calls.back() != "wait") calls.push_back("wait");
            return true;
        };
        progress.received = [this](uint64_t received, std::optional<uint64_t> length) {
            calls.push_back("received " + std::to_string(received) + "/" +
                            (length ? std::to_string(*length) : "?"));
            return cancelAtBlock == 0 || ++blocks_ < cancelAtBlock;
        };
    }

private:
    int blocks_ = 0;
};

TEST_F(UpdateCheck, DownloadBeginsItsProgressOnceAndReportsEveryBlock) {
    const std::string installer = LargeInstaller(10000);
    server.Serve(kSetupPath, Page(installer));
    UpdateChecker updater(std::make_unique<CurlTransport>(TransportTimeouts{2000, 400}));
    updater.tempFolder = temp.path();
    ProgressRecord record;
    const InstallerDownload download =
        updater.DownloadInstaller(Source(server.Url()), {}, &record.progress);
    ASSERT_EQ(download.result, InstallerDownload::Result::Complete);
    EXPECT_TRUE(download.notices.empty());
    EXPECT_EQ(test::ReadFile(download.path), installer);
    std::vector<std::string> received;
    for (const std::string& call : record.calls) {
        if (call.starts_with("received")) received.push_back(call);
    }
    EXPECT_EQ(record.calls.front(), "begin");
    EXPECT_EQ(received, (std::vector<std::string>{"received 4096/10000", "received 8192/10000",
                                                  "received 10000/10000"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(UpdateCheck, DownloadCancelledByItsProgressLeavesNoFile) {
    server.Serve(kSetupPath, Page(LargeInstaller(10000)));
    UpdateChecker updater(std::make_unique<CurlTransport>(TransportTimeouts{2000, 400}));
    updater.tempFolder = temp.path();
    ProgressRecord record;
    record.cancelAtBlock = 2;
    const InstallerDownload download =
        updater.DownloadInstaller(Source(server.Url()), {}, &record.progress);
    EXPECT_EQ(download.result, InstallerDownload::Result::Cancelled);
    EXPECT_EQ(download.notices.items(),
              (std::vector<Notice>{{NoticeKind::Information, msg::kUpdDownloadCancelled}}));
    EXPECT_TRUE(TempFiles().empty());
}

// Without a file there is no transfer: the progress never begins.
TEST_F(UpdateCheck, DownloadWithoutTemporaryFolderNeverBeginsItsProgress) {
    UpdateChecker updater(std::make_unique<CurlTransport>(TransportTimeouts{2000, 400}));
    updater.tempFolder = temp.File("missing");
    ProgressRecord record;
    const InstallerDownload download =
        updater.DownloadInstaller(Source(server.Url()), {}, &record.progress);
    EXPECT_EQ(download.result, InstallerDownload::Result::Failed);
    EXPECT_EQ(download.notices.items(),
              (std::vector<Notice>{
                  {NoticeKind::Information, WithCode(msg::kUpdDownloadFailed, ENOENT)}}));
    EXPECT_TRUE(record.calls.empty());
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(UpdateCheck, StartOfAMissingInstallerCarriesItsMessage) {
    UpdateChecker updater(nullptr);
    const InstallerStart start = updater.StartInstaller(temp.File("setup_belvaron.exe"));
    EXPECT_FALSE(start.started);
    EXPECT_EQ(start.pid, 0);
    EXPECT_EQ(
        start.notices.items(),
        (std::vector<Notice>{{NoticeKind::Information, WithCode(msg::kUpdStartFailed, ENOENT)}}));
}

}  // namespace
}  // namespace belvaron
