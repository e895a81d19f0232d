#include "core/datev/DatevSettingsFile.h"

#include <vector>

#include "core/base/DataFolders.h"
#include "core/base/FileWriter.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/InputFile.h"
#include "core/base/LeadingInt.h"
#include "core/base/Text.h"
#include "core/base/TracePoint.h"
#include "core/datev/DatevMessages.h"

namespace belvaron {

namespace {

constexpr int kExportFormatCsv = 0;
constexpr int kExportFormatPostversand = 1;
constexpr int kBatchFiscalYear = 0;
constexpr int kBatchMonth = 1;

// The lines of the file as the reading rules see them: a line longer than
// kMaxFieldChars is cut there and is the last one read.
std::vector<std::string_view> SettingsLines(std::string_view bytes) {
    std::vector<std::string_view> lines = SplitLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].size() <= kMaxFieldChars) continue;
        lines[i] = lines[i].substr(0, kMaxFieldChars);
        lines.resize(i + 1);
        break;
    }
    return lines;
}

class LineReader {
public:
    explicit LineReader(std::string_view bytes) : lines_(SettingsLines(bytes)) {}
    bool Has(std::size_t number) const { return number >= 1 && number <= lines_.size(); }
    std::string_view Line(std::size_t number) const {
        return Has(number) ? lines_[number - 1] : std::string_view();
    }
    int32_t Number(std::size_t number) const { return LeadingInt(Line(number)); }
    template <std::size_t N>
    void Text(std::size_t number, char (&field)[N]) const {
        SetField(field, Line(number).substr(0, N - 1));
    }

private:
    std::vector<std::string_view> lines_;
};

}  // namespace

DatevSettings DefaultDatevSettings() {
    DatevSettings s;
    SetField(s.beratername, "          ");
    SetField(s.dfvKennzeichen, "  ");
    SetField(s.passwort, "    ");
    return s;
}

std::string FormatSettingsFile(const DatevSettings& s) {
    const int format = s.exportFormat == DatevExportFormat::Postversand ? kExportFormatPostversand
                                                                        : kExportFormatCsv;
    std::string out;
    out += "DATEV-Angaben:\r\n";
    out += "--------------\r\n";
    out += Format("%d\t\t(Beraternummer: 7 stellig)\r\n", s.beraternummer);
    out += std::string(FieldText(s.beratername)) + "\t(Beratername: 9 stellig)\r\n";
    out += Format("%d\t\t(Mandantennummer: 5 stellig)\r\n", s.mandantennummer);
    out += std::string(FieldText(s.dfvKennzeichen)) + "\t\t(DFV-Kennzeichen: 2 stellig)\r\n";
    out += Format("%d\t\t(Datentr\xE4gernummer: 6 stellig)\r\n", s.datentraegernummer);
    out += Format("%d\t\t(Abrechnungsnummer: 4 stellig)\r\n", s.abrechnungsnummer);
    out += std::string(FieldText(s.passwort)) + "\t\t(Passwort: 4 stellig)\r\n";
    out += Format("%d\t\t(Kontonummernerweiterung: 0=nein, 1=ja)\r\n", s.kontonummernerweiterung);
    out += Format("%d\t\t(Kontonummernl\xE4nge)\r\n", s.kontonummernlaenge);
    out += Format("%d\t\t(Exportformat: 0=DATEV-Format CSV, 1=Postversand)\r\n", format);
    out += Format("%d\t\t(Beginn des Wirtschaftsjahres: Tag)\r\n", s.wjBeginnTag);
    out += Format("%d\t\t(Beginn des Wirtschaftsjahres: Monat)\r\n", s.wjBeginnMonat);
    out += std::string(FieldText(s.sachkontenrahmen)) +
           "\t\t(Sachkontenrahmen: 03=SKR 03, 04=SKR 04)\r\n";
    out += Format("%d\t\t(Festschreibung: 0=nein, 1=ja)\r\n", s.festschreibung);
    out += Format("%d\t\t(Stapel: 0=je Wirtschaftsjahr, 1=je Monat)\r\n",
                  s.batchPeriod == DatevBatchPeriod::Month ? kBatchMonth : kBatchFiscalYear);
    return out;
}

DatevSettings ParseSettingsFile(std::string_view bytes) {
    const LineReader in(bytes);
    DatevSettings s;
    TracePoint = 3007;
    s.beraternummer = in.Number(3);
    in.Text(4, s.beratername);
    s.mandantennummer = in.Number(5);
    TracePoint = 3008;
    in.Text(6, s.dfvKennzeichen);
    s.datentraegernummer = in.Number(7);
    s.abrechnungsnummer = in.Number(8);
    in.Text(9, s.passwort);
    s.kontonummernerweiterung = in.Number(10);
    s.kontonummernlaenge = in.Number(11);
    // Lines written by this program only: a missing line keeps the default.
    if (in.Has(12)) {
        s.exportFormat = in.Number(12) == kExportFormatPostversand ? DatevExportFormat::Postversand
                                                                   : DatevExportFormat::Csv;
    }
    if (in.Has(13)) s.wjBeginnTag = in.Number(13);
    if (in.Has(14)) s.wjBeginnMonat = in.Number(14);
    if (in.Has(15)) in.Text(15, s.sachkontenrahmen);
    if (in.Has(16)) s.festschreibung = in.Number(16);
    if (in.Has(17)) {
        s.batchPeriod =
            in.Number(17) == kBatchMonth ? DatevBatchPeriod::Month : DatevBatchPeriod::FiscalYear;
    }
    return s;
}

DatevSettingsLoad LoadDatevSettings(const std::string& path) {
    TracePoint = 3006;
    InputFile file = ReadInputFile(path, kMaxDatevSettingsFileBytes);
    DatevSettingsLoad loaded;
    if (file.status == InputStatus::Missing) {
        loaded.settings = DefaultDatevSettings();
        return loaded;
    }
    if (file.status != InputStatus::Read) {
        loaded.settings = DefaultDatevSettings();
        loaded.status = DatevSettingsStatus::Unreadable;
        loaded.reason = InputFailureReason(file, kMaxDatevSettingsFileBytes);
        return loaded;
    }
    loaded.settings = ParseSettingsFile(file.bytes);
    loaded.read = true;
    loaded.status = DatevSettingsStatus::Read;
    TracePoint = 3009;
    return loaded;
}

DatevSettingsOutcome AcceptDatevSettingsLoad(const DatevSettingsLoad& loaded,
                                             const std::string& path) {
    DatevSettingsOutcome outcome;
    outcome.ok = loaded.status != DatevSettingsStatus::Unreadable;
    if (!outcome.ok) {
        outcome.notices.Plain(Format(msg::kE301Read, path.c_str(), loaded.reason.c_str()));
    }
    return outcome;
}

DatevSettingsOutcome SaveDatevSettings(const std::string& path, const DatevSettings& settings) {
    TracePoint = 3010;
    DatevSettingsOutcome outcome;
    FileWriter file;
    if (!file.Open(path)) {
        outcome.notices.Plain(msg::kE301);
        return outcome;
    }
    TracePoint = 3011;
    const bool written = file.Write(FormatSettingsFile(settings));
    TracePoint = 3012;
    if (!written || !file.Commit()) {
        outcome.notices.Plain(msg::kE301Write);
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

}  // namespace belvaron
