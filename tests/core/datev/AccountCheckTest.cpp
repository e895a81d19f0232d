#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FakeUi.h"
#include "Portable.h"
#include "TempDir.h"
#include "core/base/CodePage.h"
#include "core/base/DataFolders.h"
#include "core/base/Format.h"
#include "core/bookings/BookingStore.h"
#include "core/datev/AccountCheck.h"
#include "core/datev/AccountCheckMessages.h"
#include "core/mapping/MappingMessages.h"

namespace belvaron {
namespace {

using test::FakeUi;
using test::ReadFile;
using test::TempDir;

std::string Fixture(const char* name) {
    return ReadFile(std::string(BELVARON_TEST_DATA) + "/datev/" + name);
}

// UTF-8 with "\n", as the message box shows the report.
std::string AsShown(const std::string& fileBytes) {
    std::string text;
    for (char c : Cp1252ToUtf8(fileBytes)) {
        if (c != '\r') text += c;
    }
    return text;
}

class AccountCheck : public testing::Test {
protected:
    AccountCheck() {
        std::filesystem::create_directories(dir.File("program"));
        folders.programFolder = dir.File("program") + "/";
        folders.dataFolderOverride = dir.File("data");
    }

    // The check with the files where the main window takes them from; its
    // messages are added to `shown`.
    bool Check(const std::string& chartName) {
        const auto resolve = [this](const std::string& name) { return folders.Resolve(name); };
        files.chartName = chartName;
        files.chartPath = ChartPath(resolve, chartName);
        files.reportPath = resolve(msg::kReportFileName);
        outcome = CheckAccounts(store, files);
        shown.Append(outcome.notices);
        return outcome.ok;
    }
    // The proposals of the last check appended to the REPLACE list, as the
    // answer "Ja" to the question after the report does.
    bool Propose() {
        EXPECT_TRUE(outcome.canPropose());
        const ProposalsOutcome appended =
            AppendReplaceProposals(folders.Resolve(msg::kReplaceFileName), outcome.proposals);
        shown.Append(appended.notices);
        return appended.appended;
    }

    void Add(int32_t soll, int32_t haben, int32_t key = 0) {
        BookingRecord* b = store.AppendRoom();
        *b = BookingRecord{};
        b->sollAccount = soll;
        b->habenAccount = haben;
        b->datevKey = key;
        ++store.bookingCount;
    }

    // The bookings of the report fixture: missing, collective, reserved and
    // automatic accounts, some used twice, some automatic ones with key 40.
    void AddAllKinds() {
        for (int32_t n = 2001; n <= 2010; n += 2) Add(n, n + 1);
        Add(2011, 1000);
        Add(4711, 1200);
        Add(12345, 1200);
        Add(2200, 1000);
        Add(1400, 8400);
        Add(1500, 3400, 40);
        Add(4711, 1000);
        Add(1200, 3400, 40);
        Add(9401, 1000);
    }

    std::string WriteChart(const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories(dir.File("data"));
        return dir.Write("data/" + name, bytes);
    }
    std::string DataFile(const char* name) const { return dir.File("data") + test::kSep + name; }

    TempDir dir;
    FakeUi ui;  // for the data folders only
    BookingStore store{100};
    DataFolders folders{ui};
    AccountCheckFiles files;      // of the last Check
    AccountCheckOutcome outcome;  // of the last Check
    Notices shown;
};

TEST_F(AccountCheck, ReportForAllKindsByteForByte) {
    WriteChart("TEST.kon", Fixture("chart_small.kon"));
    AddAllKinds();
    EXPECT_TRUE(Check("TEST.kon"));
    EXPECT_TRUE(outcome.canPropose());
    EXPECT_EQ(outcome.counts.notExisting, 14);
    const std::string golden = Fixture("report_all_kinds.txt");
    EXPECT_EQ(ReadFile(DataFile("Konto_Ueberpruefung.txt")), golden);
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_EQ(shown.items()[0].text, AsShown(golden));
    EXPECT_EQ(shown.items()[0].kind, NoticeKind::Information);
    EXPECT_FALSE(std::filesystem::exists(DataFile("replace.dat")));  // only proposals write it
}

struct ProposalCase {
    const char* chartName;
    const char* golden;
};

class Proposals : public AccountCheck, public testing::WithParamInterface<ProposalCase> {};

TEST_P(Proposals, AppendedToTheReplaceList) {
    WriteChart(GetParam().chartName, Fixture("chart_small.kon"));
    const std::string old = "1200, 0, 1800, 1800, 0, 0  (Bank)\r\n";
    dir.Write("data/replace.dat", old);
    AddAllKinds();
    EXPECT_TRUE(Check(GetParam().chartName));
    EXPECT_TRUE(Propose());
    EXPECT_EQ(ReadFile(DataFile("replace.dat")), old + Fixture(GetParam().golden));
    EXPECT_EQ(shown.items().size(), 1u);  // the report
}

INSTANTIATE_TEST_SUITE_P(Charts, Proposals,
                         testing::Values(ProposalCase{"TEST.kon", "proposals_none.txt"},
                                         ProposalCase{"TEST_SK3.kon", "proposals_sk3.txt"},
                                         ProposalCase{"TEST_SK4.kon", "proposals_sk4.txt"}));

TEST_F(AccountCheck, ProposalStartsOnANewLineAfterAnUnendedLastLine) {
    WriteChart("TEST.kon", "4700, \r\n4720, \r\n");
    dir.Write("data/replace.dat", "1200, 0, 1800, 1800, 0, 0");
    Add(4711, 4700);
    EXPECT_TRUE(Check("TEST.kon"));
    EXPECT_TRUE(Propose());
    EXPECT_EQ(ReadFile(DataFile("replace.dat")),
              "1200, 0, 1800, 1800, 0, 0\r\n"
              "4711, 0, 4720, 4720, 0, 0  (Konto-Bedeutung pr\xFC"
              "fen!)\r\n");
}

TEST_F(AccountCheck, ProposalsCreateAMissingReplaceList) {
    WriteChart("TEST.kon", "4700, \r\n4720, \r\n");
    Add(4711, 4700);
    EXPECT_TRUE(Check("TEST.kon"));
    EXPECT_TRUE(Propose());
    EXPECT_EQ(ReadFile(DataFile("replace.dat")),
              "4711, 0, 4720, 4720, 0, 0  (Konto-Bedeutung pr\xFC"
              "fen!)\r\n");
}

TEST_F(AccountCheck, AllPlainGivesOkEverywhereAndNoQuestion) {
    WriteChart("TEST.kon", Fixture("chart_small.kon"));
    dir.Write("data/replace.dat", "keep");
    Add(1000, 1200);
    Add(4700, 8400, 40);  // automatic, but with key 40
    Add(0, 1000);         // account 0: plain by the chart's final line break
    EXPECT_TRUE(Check("TEST.kon"));
    EXPECT_FALSE(outcome.canPropose());
    const std::string expected =
        "Die Überprüfung auf Kompatibilität mit dem DATEV-Kontorahmen ergab folgendes:\n\n"
        "1. Überprüfung auf nicht existierende Konten bei Datev:\n OK  :-)\n\n"
        "2. Überprüfung auf Datev-Sammelkonten:\n OK  :-)\n\n"
        "3. Überprüfung auf reservierte Datevkonten:\n OK  :-)\n\n"
        "4. Überprüfung auf Automatik-Konten:\n OK  :-)\n\n";
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_EQ(shown.items()[0].text, expected);
    EXPECT_EQ(AsShown(ReadFile(DataFile("Konto_Ueberpruefung.txt"))), expected);
    EXPECT_EQ(ReadFile(DataFile("replace.dat")), "keep");
}

TEST_F(AccountCheck, AccountZeroMissingWithoutFinalLineBreak) {
    WriteChart("TEST.kon", "1000, ");
    Add(0, 1000);
    EXPECT_TRUE(Check("TEST.kon"));
    EXPECT_TRUE(outcome.canPropose());
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_NE(shown.items()[0].text.find("bei Datev:\n0, \n"), std::string::npos);
}

TEST_F(AccountCheck, NegativeAccountsAreReportedAsMissingWithoutProposal) {
    WriteChart("TEST.kon", "1000, \r\n4700, \r\n");
    Add(-5, 1000);
    Add(-12, -5);
    Add(4711, 1000);
    EXPECT_TRUE(Check("TEST.kon"));
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_NE(shown.items()[0].text.find("bei Datev:\n-12, -5, 4711, \n"), std::string::npos);
    EXPECT_TRUE(Propose());
    EXPECT_EQ(ReadFile(DataFile("replace.dat")),
              "4711, 0, 4700, 4700, 0, 0  (Konto-Bedeutung pr\xFC"
              "fen!)\r\n");
}

TEST_F(AccountCheck, NoProposalWhenTheLastPlainAccountChangedLater) {
    WriteChart("TEST.kon", "9000, \r\n9000, S\r\n");
    Add(12345, 0);
    EXPECT_TRUE(Check("TEST.kon"));
    EXPECT_TRUE(Propose());
    EXPECT_EQ(ReadFile(DataFile("replace.dat")), "");
}

TEST_F(AccountCheck, TooLargeAccountStopsWithAnEmptyReport) {
    WriteChart("TEST.kon", "1000, \r\n");
    dir.Write("data/Konto_Ueberpruefung.txt", "old report");
    Add(4711, 1000);
    Add(1000, 10000000);
    Add(10000001, 1000);
    EXPECT_FALSE(Check("TEST.kon"));
    EXPECT_FALSE(outcome.canPropose());
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_EQ(shown.items()[0].text,
              "(E:312)\nEin Konto hat die maximale Grösse (10000000) überschritten "
              "(Soll=1000, Haben=10000000).\nDie Überprüfung wird abgebrochen.");
    EXPECT_EQ(ReadFile(DataFile("Konto_Ueberpruefung.txt")), "");
}

TEST_F(AccountCheck, MissingChartNamesItsPathAndLeavesTheReport) {
    std::filesystem::create_directories(dir.File("data"));
    dir.Write("data/Konto_Ueberpruefung.txt", "old report");
    Add(1000, 1200);
    EXPECT_FALSE(Check("NONE.kon"));
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_EQ(shown.items()[0].text,
              "(E:306)\n" + DataFile("NONE.kon") + " konnte nicht geöffnet werden!");
    EXPECT_EQ(ReadFile(DataFile("Konto_Ueberpruefung.txt")), "old report");
}

TEST_F(AccountCheck, ChartOnlyInTheProgramFolderIsCopiedToTheDataFolder) {
    dir.Write("program/SK3_DATEV.kon", "1000, \r\n");
    Add(1000, 1000);
    EXPECT_TRUE(Check("SK3_DATEV.kon"));
    EXPECT_EQ(ReadFile(DataFile("SK3_DATEV.kon")), "1000, \r\n");
}

TEST_F(AccountCheck, ReportThatCannotBeCreated) {
    const std::string chart = dir.Write("chart.kon", "1000, \r\n");
    dir.Write("blocker", "a file where the data folder should be");
    folders.dataFolderOverride = dir.File("blocker") + "/data";
    Add(1000, 1000);
    EXPECT_FALSE(Check(chart));
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_EQ(shown.items()[0].text, msg::kE307);
}

TEST_F(AccountCheck, ReplaceListThatCannotBeWrittenAfterTheReport) {
    WriteChart("TEST.kon", "1000, \r\n");
    std::filesystem::create_directories(DataFile("replace.dat"));  // a folder in its place
    Add(4711, 1000);
    EXPECT_TRUE(Check("TEST.kon"));
    EXPECT_FALSE(Propose());
    ASSERT_EQ(shown.items().size(), 2u);
    EXPECT_EQ(shown.items()[0].kind, NoticeKind::Information);
    EXPECT_EQ(shown.items()[1].text, msg::kE308);
    EXPECT_TRUE(std::filesystem::is_directory(DataFile("replace.dat")));
}

TEST_F(AccountCheck, ChartThatIsAFolderCannotBeRead) {
    std::filesystem::create_directories(DataFile("DIR.kon"));
    Add(1000, 1000);
    EXPECT_FALSE(Check("DIR.kon"));
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_EQ(shown.items()[0].text.rfind("(E:306)\n", 0), 0u);
}

// Unused accounts are passed over in blocks of 16: a used account at either
// edge of a block, two in one block, or one in the short last block each
// still get their proposal. The table covers every four-digit account (the
// proposals look there for the next plain account) and a short block more.
TEST(AccountProposals, EveryUsedAccountWhereverItStands) {
    constexpr std::size_t kSize = 10'000 + 24;  // the last block holds 8
    const std::vector<std::vector<int32_t>> cases = {
        {0}, {15}, {16}, {17}, {10'023}, {16, 31}, {0, 1, 2, 10'015, 10'016, 10'023},
    };
    for (const auto& used : cases) {
        std::vector<int32_t> states(kSize, account_state::kPlain);
        std::string expected;
        for (const int32_t n : used) {
            states[static_cast<std::size_t>(n)] =
                account_state::kAutomaticAM + account_state::kUsedOffset;
            expected += Format(msg::kProposalAutomaticOff, n, n, n) + "\r\n";
        }
        EXPECT_EQ(BuildProposals(CollectProposals(states, ChartVariant::None, std::nullopt)),
                  expected)
            << "first used account " << used.front();
    }
}

}  // namespace
}  // namespace belvaron
