#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "CsvReader.h"
#include "NoticeTexts.h"
#include "Portable.h"
#include "TempDir.h"
#include "core/base/DataFolders.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/datev/DatevRange.h"
#include "core/datev/csv/CsvFields.h"
#include "core/datev/csv/CsvMessages.h"
#include "core/datev/csv/DatevCsv.h"

namespace belvaron {
namespace {

using test::CsvRecord;
using test::ExpectDatevRules;
using test::ParseCsv;
using test::ReadFile;
using test::TempDir;

// "1234,56" -> 123456; -1 when the text is not digits, a comma, two digits.
int64_t UmsatzCents(const std::string& text) {
    const auto comma = text.find(',');
    if (comma == std::string::npos || comma == 0 || text.size() != comma + 3) return -1;
    int64_t cents = 0;
    for (const char c : text) {
        if (c == ',') continue;
        if (c < '0' || c > '9') return -1;
        cents = cents * 10 + (c - '0');
    }
    return cents;
}

// The booking text as the file must carry it: "(beleg)name,purpose", control
// bytes as blanks, at most `limit` bytes.
std::string ExpectedText(const BookingRecord& b, std::size_t limit = 60) {
    std::string t = "(" + std::string(FieldText(b.beleg)) + ")" + std::string(FieldText(b.name)) +
                    "," + std::string(FieldText(b.purpose));
    for (char& c : t) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    return t.substr(0, limit);
}

// German amount text with thousands dots for signed cents.
std::string GermanAmount(int64_t cents) {
    std::string digits = std::to_string(cents < 0 ? -cents : cents);
    while (digits.size() < 3) digits.insert(0, "0");
    std::string whole = digits.substr(0, digits.size() - 2);
    for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3) whole.insert(i, ".");
    return (cents < 0 ? "-" : "") + whole + "," + digits.substr(digits.size() - 2);
}

void RandomText(std::mt19937& rng, char* field, std::size_t width) {
    static const char kBytes[] = "abcXYZ09 \"\";;\t\r\n\xE4\xF6\xFC\xDF\x80-.,()";
    const std::size_t n = std::uniform_int_distribution<std::size_t>(0, width)(rng);
    for (std::size_t i = 0; i < width; ++i) {
        field[i] =
            i < n ? kBytes[std::uniform_int_distribution<std::size_t>(0, sizeof kBytes - 2)(rng)]
                  : '\0';
    }
}

void FillRandomStore(std::mt19937& rng, BookingStore& store, int count) {
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int i = 0; i < count; ++i) {
        BookingRecord* b = store.AppendRoom();
        *b = BookingRecord{};
        b->bookingNo = pick(1, 999999);
        SetField(b->date, Format("%02d.%02d.2024", pick(1, 28), pick(1, 12)));
        RandomText(rng, b->beleg, sizeof b->beleg);
        RandomText(rng, b->name, sizeof b->name);
        RandomText(rng, b->purpose, sizeof b->purpose);
        b->sollAccount = pick(1, 99999);
        b->habenAccount = b->sollAccount % 99999 + 1;
        const int64_t cents = pick(0, 9) == 0 ? 0 : int64_t{pick(1, 2000000000)} * pick(1, 400);
        SetField(b->amount, GermanAmount(pick(0, 1) ? -cents : cents));
        SetField(b->currency, pick(0, 4) == 0 ? "DM" : "EUR");
        b->datevKey = pick(0, 3) == 0 ? pick(1, 9999) : 0;
        ++store.bookingCount;
    }
}

// Compares a parsed file with the bookings of the range; returns the number
// of booking lines.
int CompareWithStore(const std::vector<CsvRecord>& records, const BookingStore& store,
                     int32_t fromKey, int32_t toKey, int festschreibung) {
    std::size_t line = 2;
    for (int32_t i = 0; i < store.bookingCount; ++i) {
        const BookingRecord& b = store[i];
        const int32_t key = DateKey(b.date);
        const csv::Amount amount = csv::ParseAmount(FieldText(b.amount));
        if (key < fromKey || key > toKey || amount.cents == 0) continue;
        if (line >= records.size()) {
            ADD_FAILURE() << "file ends before booking index " << i;
            return 0;
        }
        const CsvRecord& r = records[line++];
        SCOPED_TRACE("booking index " + std::to_string(i));
        EXPECT_EQ(r.size(), 125u);
        if (r.size() != 125u) continue;
        EXPECT_EQ(UmsatzCents(r[0].text), amount.cents < 0 ? -amount.cents : amount.cents);
        EXPECT_EQ(r[1].text, amount.cents < 0 ? "H" : "S");
        EXPECT_EQ(r[2].text, FieldText(b.currency) == "DM" ? "DEM" : "EUR");
        EXPECT_EQ(r[6].text, std::to_string(b.sollAccount));
        EXPECT_EQ(r[7].text, std::to_string(b.habenAccount));
        EXPECT_EQ(r[8].text, b.datevKey > 0 ? std::to_string(b.datevKey) : "");
        EXPECT_EQ(r[9].text, std::string(FieldText(b.date)).substr(0, 2) +
                                 std::string(FieldText(b.date)).substr(3, 2));
        const std::string document = csv::DocumentNumber(FieldText(b.beleg));
        EXPECT_EQ(r[10].text, document.empty() ? std::to_string(b.bookingNo) : document);
        EXPECT_EQ(r[13].text, ExpectedText(b));
        EXPECT_EQ(r[20].text, "Buchungsnummer");
        EXPECT_EQ(r[21].text, std::to_string(b.bookingNo));
        const std::string whole = ExpectedText(b, 210);
        EXPECT_EQ(r[22].text, whole.size() > 60 ? "Buchungstext" : "");
        EXPECT_EQ(r[23].text, whole.size() > 60 ? whole : "");
        EXPECT_EQ(r[113].text, std::to_string(festschreibung));
    }
    EXPECT_EQ(line, records.size()) << "more lines than bookings";
    return static_cast<int>(line - 2);
}

class DatevCsvWriter : public ::testing::Test {
protected:
    DatevCsvResult Write(const std::string& from, const std::string& to) {
        return WriteDatevCsv(store, settings, from, to, dir.path(), options);
    }

    BookingStore store{100'001};
    TempDir dir;
    DatevSettings settings = test::GoodSettings();
    CsvRunOptions options = [] {
        CsvRunOptions o;
        o.createdAt = "20240102030405678";
        return o;
    }();
};

TEST_F(DatevCsvWriter, RandomStoresReadBackAsTheirBookings) {
    std::mt19937 rng(20240101);
    for (int round = 0; round < 12; ++round) {
        store.bookingCount = 0;
        const int count = std::uniform_int_distribution<int>(1, 3000)(rng);
        FillRandomStore(rng, store, count);
        const int fromMonth = std::uniform_int_distribution<int>(1, 12)(rng);
        const int toMonth = std::uniform_int_distribution<int>(fromMonth, 12)(rng);
        const std::string from = Format("01.%02d.2024", fromMonth);
        const std::string to = Format("28.%02d.2024", toMonth);
        settings.festschreibung = round % 2;
        SetField(settings.sachkontenrahmen, round % 3 ? "03" : "04");
        const DatevCsvResult result = Write(from, to);
        SCOPED_TRACE("round " + std::to_string(round));
        if (result.outcome == DatevCsvResult::Outcome::CheckFailed) {
            // Only an empty range may stop a random store.
            ASSERT_EQ(result.notices.items().size(), 1u);
            ASSERT_NE(result.notices.items()[0].text.find("liegt keine Buchung"),
                      std::string::npos);
            continue;
        }
        ASSERT_EQ(result.outcome, DatevCsvResult::Outcome::Written);
        ASSERT_EQ(result.files.size(), 1u);
        const std::string bytes = ReadFile(result.files[0]);
        EXPECT_EQ(test::DatevRuleProblems(bytes), std::vector<std::string>{});
        const auto records = ParseCsv(bytes);
        ASSERT_GE(records.size(), 3u);
        const CsvRecord& h = records[0];
        ASSERT_EQ(h.size(), 31u);
        EXPECT_EQ(h[14].text, "2024" + from.substr(3, 2) + from.substr(0, 2));
        EXPECT_EQ(h[15].text, "2024" + to.substr(3, 2) + to.substr(0, 2));
        EXPECT_EQ(h[20].text, std::to_string(settings.festschreibung));
        EXPECT_EQ(h[26].text, round % 3 ? "03" : "04");
        EXPECT_EQ(records[1].size(), 125u);
        const int lines =
            CompareWithStore(records, store, DateKey(from), DateKey(to), settings.festschreibung);
        EXPECT_EQ(lines, result.written);
    }
}

TEST_F(DatevCsvWriter, HundredThousandBookingsGoIntoTwoFiles) {
    for (int no = 1; no <= 100'000; ++no) {
        test::Append(store, {.no = no, .date = "15.06.2024", .amount = "1,00"});
    }
    // A third part left from an earlier, larger batch of the same range.
    const std::string stale = dir.File(CsvFileName(20240601, 20240630, 3));
    dir.Write(CsvFileName(20240601, 20240630, 3), "old");
    const DatevSettings datevSettings = settings;
    const DatevRange range{"01.06.2024", "30.06.2024"};
    const DatevCsvResult r = RunCsvExport(store, datevSettings, range, dir.path(), options);
    ASSERT_EQ(r.outcome, DatevCsvResult::Outcome::Written);

    const std::string first = dir.File("EXTF_Buchungsstapel_20240601_20240630.csv");
    const std::string second = dir.File("EXTF_Buchungsstapel_20240601_20240630_2.csv");
    EXPECT_EQ(r.notices.items(),
              (std::vector<Notice>{{NoticeKind::Information,
                                    "DATEV-Export erfolgreich abgeschlossen.\n"
                                    "100000 Buchungen wurden exportiert.\nDatei: " +
                                        first + "\nDatei: " + second}}));
    EXPECT_FALSE(std::filesystem::exists(stale));

    const auto a = ParseCsv(ReadFile(first));
    const auto b = ParseCsv(ReadFile(second));
    ASSERT_EQ(a.size(), 2u + 99'999u);
    ASSERT_EQ(b.size(), 2u + 1u);
    EXPECT_EQ(a[0][16].text, "Teil 1: 01.06.-30.06.2024");
    EXPECT_EQ(b[0][16].text, "Teil 2: 01.06.-30.06.2024");
    EXPECT_EQ(a[2][21].text, "1");
    EXPECT_EQ(a.back()[21].text, "99999");
    EXPECT_EQ(b[2][21].text, "100000");
    // One month over the limit: both parts carry that month.
    EXPECT_EQ(a[0][14].text + a[0][15].text, "2024060120240630");
    EXPECT_EQ(b[0][14].text + b[0][15].text, "2024060120240630");
    EXPECT_EQ(test::DatevRuleProblems(ReadFile(first)), std::vector<std::string>{});
    EXPECT_EQ(test::DatevRuleProblems(ReadFile(second)), std::vector<std::string>{});
}

TEST_F(DatevCsvWriter, ASmallerBatchRemovesThePartsOfAnEarlierLargerOne) {
    test::Append(store, {.date = "15.06.2024"});
    dir.Write(CsvFileName(20240601, 20240630, 2), "old");
    dir.Write(CsvFileName(20240601, 20240630, 3), "old");
    dir.Write(CsvFileName(20240601, 20240630, 5), "not consecutive, kept");
    ASSERT_EQ(Write("01.06.2024", "30.06.2024").outcome, DatevCsvResult::Outcome::Written);
    ExpectDatevRules(dir.File(CsvFileName(20240601, 20240630, 1)));
    EXPECT_FALSE(std::filesystem::exists(dir.File(CsvFileName(20240601, 20240630, 2))));
    EXPECT_FALSE(std::filesystem::exists(dir.File(CsvFileName(20240601, 20240630, 3))));
    EXPECT_TRUE(std::filesystem::exists(dir.File(CsvFileName(20240601, 20240630, 5))));
}

// The paths of a plan follow its batches (the parts of a month over the
// limit, one batch per month) and name, after a batch's last part, the later
// parts of an earlier, larger export up to the first gap: exactly the files
// its write replaces or removes.
TEST_F(DatevCsvWriter, FilePathsOfAPlanAreWhatItsWriteReplacesOrRemoves) {
    for (int no = 1; no <= 5; ++no) test::Append(store, {.no = no, .date = "15.06.2024"});
    test::Append(store, {.no = 6, .date = "03.07.2024"});
    options.maxBookingsPerFile = 2;
    settings.batchPeriod = DatevBatchPeriod::Month;
    const auto june = [](int part) { return CsvFileName(20240601, 20240630, part); };
    const auto july = [](int part) { return CsvFileName(20240701, 20240731, part); };
    for (const std::string& name : {june(1), june(4), june(6), july(2), july(3)})
        dir.Write(name, "old");

    const CsvPlan plan =
        PlanDatevCsv(store, settings, "01.06.2024", "31.07.2024", dir.path(), options);
    ASSERT_TRUE(plan.writable());
    std::vector<std::string> expected;
    for (const std::string& name : {june(1), june(2), june(3), june(4), july(1), july(2), july(3)})
        expected.push_back(dir.File(name));
    EXPECT_EQ(CsvFilePaths(plan), expected);

    const DatevCsvResult r = WriteCsvPlan(store, plan);
    ASSERT_EQ(r.outcome, DatevCsvResult::Outcome::Written);
    EXPECT_TRUE(r.notices.empty());
    EXPECT_EQ(r.files, (std::vector<std::string>{dir.File(june(1)), dir.File(june(2)),
                                                 dir.File(june(3)), dir.File(july(1))}));
    for (const std::string& file : r.files) ExpectDatevRules(file);
    for (const std::string& name : {june(4), july(2), july(3)})
        EXPECT_FALSE(std::filesystem::exists(dir.File(name))) << name;
    EXPECT_EQ(ReadFile(dir.File(june(6))), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 5);
}

// A leftover part that cannot be removed (here a folder of that name) fails
// the export, and the batch on disk stays the earlier one as a whole.
TEST_F(DatevCsvWriter, LeftoverPartThatCannotBeRemovedFailsAndKeepsTheOldBatch) {
    test::Append(store, {.date = "15.06.2024"});
    const std::string first = dir.Write(CsvFileName(20240601, 20240630, 1), "old first");
    const std::string second = dir.Write(CsvFileName(20240601, 20240630, 2), "old second");
    const std::string third = dir.File(CsvFileName(20240601, 20240630, 3));
    std::filesystem::create_directory(third);
    const DatevCsvResult r = Write("01.06.2024", "30.06.2024");
    EXPECT_EQ(r.outcome, DatevCsvResult::Outcome::WriteFailed);
    EXPECT_EQ(test::ReadFile(first), "old first");
    EXPECT_EQ(test::ReadFile(second), "old second");
    EXPECT_TRUE(std::filesystem::is_directory(third));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
    EXPECT_EQ(test::Texts(r.notices),
              std::vector<std::string>{
                  Format(msg::csv::kE315Remove, third.c_str(), "keine normale Datei")});
}

TEST_F(DatevCsvWriter, AmountThatIsNoNumberStopsTheExport) {
    test::Append(store, {.no = 1, .amount = "5,00"});
    test::Append(store, {.no = 2, .amount = "abc"});
    const DatevRange range{"01.03.2024", "31.03.2024"};
    const DatevCsvResult r = RunCsvExport(store, settings, range, dir.path(), options);
    EXPECT_EQ(r.outcome, DatevCsvResult::Outcome::CheckFailed);
    ASSERT_EQ(r.notices.items().size(), 1u);
    const Notice& message = r.notices.items()[0];
    EXPECT_EQ(message.kind, NoticeKind::Plain);
    EXPECT_NE(message.text.find("(E:313)"), std::string::npos);
    EXPECT_NE(message.text.find("Buchung 2: Betrag \"abc\" ist keine Zahl."), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
}

TEST_F(DatevCsvWriter, ZeroAmountsLeftOutAreCountedInTheSuccessMessage) {
    test::Append(store, {.no = 1, .amount = "0,00"});
    test::Append(store, {.no = 2, .amount = "5,00"});
    test::Append(store, {.no = 3, .amount = "0,00"});
    const DatevSettings datevSettings = settings;
    const DatevRange range{"01.03.2024", "31.03.2024"};
    const DatevCsvResult r = RunCsvExport(store, datevSettings, range, dir.path(), options);
    ASSERT_EQ(r.outcome, DatevCsvResult::Outcome::Written);
    const std::string file = dir.File("EXTF_Buchungsstapel_20240301_20240331.csv");
    EXPECT_EQ(
        r.notices.items(),
        (std::vector<Notice>{
            {NoticeKind::Information,
             "DATEV-Export erfolgreich abgeschlossen.\n1 Buchungen wurden exportiert.\nDatei: " +
                 file +
                 "\n2 Buchungen mit dem Betrag 0 wurden nicht exportiert (DATEV nimmt sie "
                 "nicht an)."}}));
    ExpectDatevRules(file);
}

TEST_F(DatevCsvWriter, WarningsAreShownAndTheExportGoesOn) {
    test::Append(store, {.no = 4, .haben = 8400, .key = 9});
    options.chart = {.name = "SK3_DATEV.kon",
                     .variant = ChartVariant::SK3,
                     .known = true,
                     .automaticAccounts = {8400}};
    const auto r = Write("01.03.2024", "31.03.2024");
    EXPECT_EQ(r.outcome, DatevCsvResult::Outcome::Written);
    ASSERT_EQ(r.notices.items().size(), 1u);
    EXPECT_EQ(r.notices.items()[0].kind, NoticeKind::Plain);
    EXPECT_EQ(r.notices.items()[0].text.rfind("(E:314)\nHinweise zum DATEV-Export (der Export "
                                              "wird fortgesetzt):\n- Buchung 4: DATEV-Schlüssel "
                                              "9 auf dem Automatikkonto 8400.\n\nAuf "
                                              "Automatikkonten",
                                              0),
              0u);
    ASSERT_EQ(r.files.size(), 1u);
    ExpectDatevRules(r.files[0]);
}

TEST_F(DatevCsvWriter, MissingFolderIsReportedAndEndsWithE117) {
    test::Append(store, {});
    const std::string folder = dir.File("gone");
    const DatevSettings datevSettings = settings;
    const DatevRange range{"01.03.2024", "31.03.2024"};
    const DatevCsvResult r = RunCsvExport(store, datevSettings, range, folder, options);
    EXPECT_EQ(r.outcome, DatevCsvResult::Outcome::WriteFailed);
    const std::vector<std::string> texts = test::Texts(r.notices);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0],
              "(E:315)\n" + folder + test::kSep +
                  "EXTF_Buchungsstapel_20240301_20240331.csv konnte nicht geschrieben werden "
                  "(Ordner nicht gefunden).\nBitte prüfen Sie, ob der Ordner existiert und "
                  "beschreibbar ist und ob genug freier Speicherplatz vorhanden ist. Eine "
                  "vorhandene Datei dieses Namens bleibt unverändert.");
    EXPECT_EQ(texts[1], "(E:117)\nFehler beim DATEV-Export!\n0 Buchungen wurden exportiert.");
    EXPECT_EQ(r.notices.items()[1].kind, NoticeKind::Plain);
    EXPECT_FALSE(std::filesystem::exists(folder));
}

class SourceDateEpoch : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("SOURCE_DATE_EPOCH")) saved_ = old;
    }
    void TearDown() override {
        if (saved_) {
            test::SetEnv("SOURCE_DATE_EPOCH", saved_->c_str());
        } else {
            test::SetEnv("SOURCE_DATE_EPOCH", nullptr);
        }
    }

private:
    std::optional<std::string> saved_;
};

TEST_F(SourceDateEpoch, GivesTheCreationTimeAndIdenticalFiles) {
    test::SetEnv("SOURCE_DATE_EPOCH", "1700000000");
    EXPECT_EQ(CsvCreationTime(), "20231114221320000");

    BookingStore store(10);
    test::Append(store, {});
    TempDir one, two;
    const CsvRunOptions options = MakeCsvRunOptions("", "");
    EXPECT_EQ(options.createdAt, "20231114221320000");
    ASSERT_EQ(WriteDatevCsv(store, test::GoodSettings(), "01.03.2024", "31.03.2024", one.path(),
                            CsvRunOptions{})
                  .outcome,
              DatevCsvResult::Outcome::Written);
    ASSERT_EQ(WriteDatevCsv(store, test::GoodSettings(), "01.03.2024", "31.03.2024", two.path(),
                            CsvRunOptions{})
                  .outcome,
              DatevCsvResult::Outcome::Written);
    const std::string name = CsvFileName(20240301, 20240331, 1);
    ExpectDatevRules(one.File(name));
    EXPECT_EQ(ReadFile(one.File(name)), ReadFile(two.File(name)));
    EXPECT_NE(ReadFile(one.File(name)).find(";13;20231114221320000;;"), std::string::npos);
}

TEST_F(SourceDateEpoch, NotANumberFallsBackToTheClock) {
    test::SetEnv("SOURCE_DATE_EPOCH", "soon");
    const std::string stamp = CsvCreationTime();
    ASSERT_EQ(stamp.size(), 17u);
    EXPECT_EQ(stamp.find_first_not_of("0123456789"), std::string::npos);
    EXPECT_NE(stamp, "19700101000000000");
}

}  // namespace
}  // namespace belvaron
