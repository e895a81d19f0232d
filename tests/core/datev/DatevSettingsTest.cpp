#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "DatevTestSupport.h"
#include "FakeUi.h"
#include "FileSizeLimit.h"
#include "NoticeTexts.h"
#include "Portable.h"
#include "TempDir.h"
#include "core/base/DataFolders.h"
#include "core/base/Format.h"
#include "core/datev/DatevMessages.h"
#include "core/datev/DatevSettingsFile.h"

namespace belvaron {
namespace {

using namespace std::string_literals;
using test::ReadFile;
using test::TempDir;

// The eleven lines as a settings file of the default values has them.
const std::string kDefaultEleven =
    "DATEV-Angaben:\r\n"
    "--------------\r\n"
    "0\t\t(Beraternummer: 7 stellig)\r\n"
    "          \t(Beratername: 9 stellig)\r\n"
    "0\t\t(Mandantennummer: 5 stellig)\r\n"
    "  \t\t(DFV-Kennzeichen: 2 stellig)\r\n"
    "1\t\t(Datentr\xE4gernummer: 6 stellig)\r\n"
    "1\t\t(Abrechnungsnummer: 4 stellig)\r\n"
    "    \t\t(Passwort: 4 stellig)\r\n"
    "1\t\t(Kontonummernerweiterung: 0=nein, 1=ja)\r\n"
    "4\t\t(Kontonummernl\xE4nge)\r\n";

const std::string kDefaultAdditional =
    "0\t\t(Exportformat: 0=DATEV-Format CSV, 1=Postversand)\r\n"
    "1\t\t(Beginn des Wirtschaftsjahres: Tag)\r\n"
    "1\t\t(Beginn des Wirtschaftsjahres: Monat)\r\n"
    "03\t\t(Sachkontenrahmen: 03=SKR 03, 04=SKR 04)\r\n"
    "0\t\t(Festschreibung: 0=nein, 1=ja)\r\n"
    "0\t\t(Stapel: 0=je Wirtschaftsjahr, 1=je Monat)\r\n";

TEST(DatevSettingsFile, DefaultsGiveTheExactBytes) {
    EXPECT_EQ(FormatSettingsFile(DefaultDatevSettings()), kDefaultEleven + kDefaultAdditional);
}

TEST(DatevSettingsFile, ShippedDefaultIsTheDefaultFile) {
    EXPECT_EQ(ReadFile(BELVARON_SOURCE_DIR "/data/angaben_datev.txt"),
              kDefaultEleven + kDefaultAdditional);
}

TEST(DatevSettingsFile, TypicalValuesRoundTrip) {
    test::FakeUi ui;
    DatevSettings s;
    test::SetTypicalSettings(s, false);
    s.exportFormat = DatevExportFormat::Postversand;
    s.wjBeginnTag = 1;
    s.wjBeginnMonat = 7;
    SetField(s.sachkontenrahmen, "04");
    s.festschreibung = 1;
    s.batchPeriod = DatevBatchPeriod::Month;
    const std::string bytes = FormatSettingsFile(s);
    EXPECT_NE(bytes.find("\r\n1\t\t(Stapel: 0=je Wirtschaftsjahr, 1=je Monat)\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("\r\nSchmidt   \t(Beratername: 9 stellig)\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n1234567\t\t(Beraternummer: 7 stellig)\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\npw12\t\t(Passwort: 4 stellig)\r\n"), std::string::npos);
    const DatevSettings r = ParseSettingsFile(bytes);
    EXPECT_EQ(FormatSettingsFile(r), bytes);
    EXPECT_EQ(r.exportFormat, DatevExportFormat::Postversand);
    EXPECT_EQ(r.wjBeginnMonat, 7);
    EXPECT_STREQ(r.sachkontenrahmen, "04");
    EXPECT_EQ(r.batchPeriod, DatevBatchPeriod::Month);
}

TEST(DatevSettingsFile, ElevenLineFileGivesTheNewDefaults) {
    std::string file = kDefaultEleven;
    file.replace(file.find("          \t"), 10, "Schmidt   ");
    const DatevSettings s = ParseSettingsFile(file);
    EXPECT_STREQ(s.beratername, "Schmidt   ");
    EXPECT_EQ(s.kontonummernlaenge, 4);
    EXPECT_EQ(s.exportFormat, DatevExportFormat::Csv);
    EXPECT_EQ(s.wjBeginnTag, 1);
    EXPECT_EQ(s.wjBeginnMonat, 1);
    EXPECT_STREQ(s.sachkontenrahmen, "03");
    EXPECT_EQ(s.festschreibung, 0);
    EXPECT_EQ(s.batchPeriod, DatevBatchPeriod::FiscalYear);
}

TEST(DatevSettingsFile, HandEditedShortNameTakesTenCharactersOfTheLine) {
    std::string file = kDefaultEleven;
    file.replace(file.find("          \t"), 11, "Abc\t");
    EXPECT_STREQ(ParseSettingsFile(file).beratername, "Abc\t(Berat");
}

TEST(DatevSettingsFile, ShortLinesGiveTheWholeLineAndLoneLfEndsALine) {
    const DatevSettings s = ParseSettingsFile("x\ny\n12\nAb\n5\nD\n");
    EXPECT_EQ(s.beraternummer, 12);
    EXPECT_STREQ(s.beratername, "Ab");
    EXPECT_EQ(s.mandantennummer, 5);
    EXPECT_STREQ(s.dfvKennzeichen, "D");
    // Missing lines read as 0 or empty.
    EXPECT_EQ(s.datentraegernummer, 0);
    EXPECT_STREQ(s.passwort, "");
    EXPECT_EQ(s.kontonummernerweiterung, 0);
    EXPECT_EQ(s.kontonummernlaenge, 0);
}

TEST(DatevSettingsFile, LongLineEndsTheReading) {
    std::string file = kDefaultEleven + kDefaultAdditional;
    const std::string longLine = "777" + std::string(300, 'x');
    file.replace(file.find("0\t\t(Mandanten"), 2, longLine);
    const DatevSettings s = ParseSettingsFile(file);
    EXPECT_EQ(s.mandantennummer, 777);
    EXPECT_STREQ(s.dfvKennzeichen, "");
    EXPECT_EQ(s.datentraegernummer, 0);
    EXPECT_EQ(s.kontonummernerweiterung, 0);
    EXPECT_EQ(s.exportFormat, DatevExportFormat::Csv);
    EXPECT_EQ(s.wjBeginnTag, 1);
}

TEST(DatevSettingsFile, NumbersAreLeadingIntegersAndTextsKeepTrailingBlanks) {
    std::string file = kDefaultEleven;
    file.replace(file.find("0\t\t(Berater"), 1, "  -12abc");
    file.replace(file.find("    \t\t(Pass"), 4, "a b ");
    const DatevSettings s = ParseSettingsFile(file);
    EXPECT_EQ(s.beraternummer, -12);
    EXPECT_STREQ(s.passwort, "a b ");
}

class DatevSettingsFileIo : public ::testing::Test {
protected:
    TempDir dir;
    test::FakeUi ui;
    BookingStore store{4};
    DataFolders folders{ui};
    DatevSettings settings;
    void SetUp() override {
        folders.dataFolderOverride = dir.File("data");
        folders.programFolder = dir.File("program") + "/";
    }
    std::string SettingsPath() const { return dir.File("data/angaben_datev.txt"); }
    // The settings file where the export run takes it from.
    bool Load() {
        const DatevSettingsLoad loaded = LoadDatevSettings(folders.Resolve(kDatevSettingsFileName));
        settings = loaded.settings;
        return loaded.read;
    }
    // Saves as the export run does; `saved` keeps the outcome.
    bool Save() {
        saved = SaveDatevSettings(folders.Resolve(kDatevSettingsFileName), settings);
        return saved.ok;
    }
    DatevSettingsOutcome saved;
};

TEST_F(DatevSettingsFileIo, MissingFileGivesTheDefaults) {
    test::SetTypicalSettings(settings, false);
    EXPECT_FALSE(Load());
    EXPECT_EQ(FormatSettingsFile(settings), kDefaultEleven + kDefaultAdditional);
    EXPECT_TRUE(ui.messages.empty());
}

// A file that is there but cannot be read is never taken for a missing one:
// the export stops with E:301 naming it, and the file stays as it was.
TEST_F(DatevSettingsFileIo, UnreadableFileStopsTheExportAndIsKept) {
    const std::pair<const char*, void (*)(const std::string&)> kinds[] = {
        {"keine normale Datei",
         [](const std::string& p) { std::filesystem::create_directories(p); }},
        {"größer als 0 MB",
         [](const std::string& p) {
             std::ofstream(p, std::ios::binary) << std::string(kMaxDatevSettingsFileBytes + 1, '1');
         }},
    };
    for (const auto& [reason, make] : kinds) {
        SCOPED_TRACE(reason);
        std::filesystem::remove_all(dir.File("data"));
        std::filesystem::create_directories(dir.File("data"));
        make(SettingsPath());
        const DatevSettingsLoad loaded = LoadDatevSettings(SettingsPath());
        EXPECT_EQ(loaded.status, DatevSettingsStatus::Unreadable);
        EXPECT_FALSE(loaded.read);
        const DatevSettingsOutcome accepted = AcceptDatevSettingsLoad(loaded, SettingsPath());
        EXPECT_FALSE(accepted.ok);
        EXPECT_EQ(test::Texts(accepted.notices),
                  std::vector<std::string>{Format(msg::kE301Read, SettingsPath().c_str(), reason)});
        EXPECT_EQ(accepted.notices.items().front().kind, NoticeKind::Plain);
    }
}

TEST_F(DatevSettingsFileIo, MissingOrReadFileLetsTheExportGoOn) {
    const DatevSettingsOutcome missing =
        AcceptDatevSettingsLoad(LoadDatevSettings(SettingsPath()), SettingsPath());
    EXPECT_TRUE(missing.ok);
    EXPECT_TRUE(missing.notices.empty());
    test::SetTypicalSettings(settings, true);
    ASSERT_TRUE(Save());
    EXPECT_TRUE(saved.notices.empty());
    const DatevSettingsLoad loaded = LoadDatevSettings(SettingsPath());
    EXPECT_EQ(loaded.status, DatevSettingsStatus::Read);
    const DatevSettingsOutcome read = AcceptDatevSettingsLoad(loaded, SettingsPath());
    EXPECT_TRUE(read.ok);
    EXPECT_TRUE(read.notices.empty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DatevSettingsFileIo, ShippedDefaultIsCopiedOnFirstUse) {
    std::filesystem::create_directories(dir.File("program"));
    dir.Write("program/angaben_datev.txt", kDefaultEleven);
    test::SetTypicalSettings(settings, false);
    EXPECT_TRUE(Load());
    EXPECT_EQ(settings.kontonummernerweiterung, 1);
    EXPECT_EQ(ReadFile(SettingsPath()), kDefaultEleven);
}

TEST_F(DatevSettingsFileIo, SaveWritesTheFileAndLoadReadsItBack) {
    test::SetTypicalSettings(settings, true);
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadFile(SettingsPath()), FormatSettingsFile(settings));
    settings = DatevSettings{};
    EXPECT_TRUE(Load());
    EXPECT_EQ(settings.beraternummer, 1234567);
    EXPECT_STREQ(settings.beratername, "Schmidt   ");
}

TEST_F(DatevSettingsFileIo, UncreatableFileIsE301) {
    dir.Write("data", "a file where the folder should be");
    EXPECT_FALSE(Save());
    EXPECT_EQ(test::Texts(saved.notices), std::vector<std::string>{msg::kE301});
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DatevSettingsFileIo, FailedWriteKeepsThePreviousFile) {
    BELVARON_POSIX_ONLY("a file-size limit");
    std::filesystem::create_directories(dir.File("data"));
    dir.Write("data/angaben_datev.txt", kDefaultEleven);
    test::SetTypicalSettings(settings, true);
    bool ok = true;
    {
        test::FileSizeLimit limit(100);
        ok = Save();
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(test::Texts(saved.notices), std::vector<std::string>{msg::kE301Write});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ReadFile(SettingsPath()), kDefaultEleven);
}

}  // namespace
}  // namespace belvaron
