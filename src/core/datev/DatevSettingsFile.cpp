#include "core/datev/DatevSettingsFile.h"

#include <vector>

#include "core/base/FileWriter.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/LeadingInt.h"
#include "core/base/TracePoint.h"
#include "core/base/UiPort.h"
#include "core/bookings/BookingStore.h"
#include "core/datev/DatevMessages.h"

namespace belvaron {

namespace {

constexpr std::size_t kMaxLineLength = 254;
constexpr int kExportFormatCsv = 0;
constexpr int kExportFormatPostversand = 1;
constexpr int kBatchFiscalYear = 0;
constexpr int kBatchMonth = 1;

// The lines of the file as the reading rules see them.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        const bool lastLine = end == std::string_view::npos;
        if (lastLine) end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        if (!lastLine && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > kMaxLineLength) {
            lines.push_back(line.substr(0, kMaxLineLength));
            break;
        }
        lines.push_back(line);
        pos = end + 1;
    }
    return lines;
}

class LineReader {
public:
    explicit LineReader(std::string_view bytes) : lines_(SplitLines(bytes)) {}
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
        s.batchPeriod = in.Number(17) == kBatchMonth ? DatevBatchPeriod::Month
                                                     : DatevBatchPeriod::FiscalYear;
    }
    return s;
}

bool CDatev::LoadSettings() {
    TracePoint = 3006;
    std::string bytes;
    const std::string path = dataSet ? dataSet->ResolveDataFile(kDatevSettingsFileName) : "";
    if (path.empty() || !ReadWholeFile(path, bytes)) {
        settings = DefaultDatevSettings();
        return false;
    }
    settings = ParseSettingsFile(bytes);
    TracePoint = 3009;
    return true;
}

bool CDatev::SaveSettings() {
    TracePoint = 3010;
    const std::string path = dataSet ? dataSet->ResolveDataFile(kDatevSettingsFileName) : "";
    FileWriter file;
    if (!file.Open(path)) {
        ShowPlain(ui_, msg::kE301);
        return false;
    }
    TracePoint = 3011;
    const bool written = file.Write(FormatSettingsFile(settings));
    TracePoint = 3012;
    if (!written || !file.Commit()) {
        ShowPlain(ui_, msg::kE301Write);
        return false;
    }
    return true;
}

}  // namespace belvaron
