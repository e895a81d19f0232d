#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/DataFolders.h"
#include "core/base/Format.h"
#include "core/bookings/BookingStore.h"
#include "core/bookings/JournalImport.h"
#include "core/datev/DatevRange.h"
#include "core/datev/DatevSettings.h"
#include "core/vat/VatRows.h"
#include "core/workflow/WindowPort.h"

namespace belvaron {

// Step 4's choice: accrual (SOLL) or cash-basis (IST) taxation.
enum class Taxation { Soll, Ist };

// What a DATEV export writes and from what: the export step's inputs.
struct DatevExportRequest {
    std::string folder;  // the target folder, no trailing '/'
    DatevRange range;    // DD.MM.YYYY, normalised
    DatevSettings settings;
    // The format for this export; the settings' stored format when unset.
    std::optional<DatevExportFormat> format;
    // The chart file whose automatic accounts the CSV checks warn about: a
    // name from the chart list or a path; "" for none.
    std::string chart;
};

// What each step has done, in words, as the window shows it beside the step.
struct StepStates {
    std::string journal;   // step 3
    std::string taxation;  // step 4
    std::string accounts;  // step 5 ("" while nothing was done)
    std::string exported;  // step 6 ("" while nothing was exported)
};

// The conversion of one journal, as the main window runs it: the data
// folders, the booking store with its import area, the VAT rows and the
// window's choices. The desktop program, the command line and the tests run
// the very same code.
//
// Two layers of entry points:
// - Steps take what they need and return whether they reported success
//   (LoadJournal, ImportVatReport, ReplaceAccounts, CheckAccounts,
//   DeleteZeroAccountBookings, ExportDatev, ExportLexware, CheckForUpdate).
//   Each keeps its gate (no journal loaded, ...), its exception guards with
//   their E-codes and its messages; the command line calls them directly.
// - Handlers (On...) are the window's buttons: they ask for files and
//   settings through the window port, then call the steps.
// Every message, question and file choice goes through the window port.
class Workflow {
public:
    // Reserves the store, the import area and the VAT rows and shows E:201,
    // E:211 and E:2-- for each that failed, in that order.
    explicit Workflow(WindowPort& ui);

    // ---- Steps --------------------------------------------------------
    // Loads the journal at `path` in `currency`, sorts it by date, refills
    // the list with the account-0 lines marked and sets the default targets.
    // A load, successful or not, undoes the re-dating and the replacements
    // and clears their states: SOLL taxation again, no VAT report path (an
    // IST choice made before any report was imported stays).
    bool LoadJournal(const std::string& path, Currency currency);
    // Cash-basis taxation with the VAT detail report at `path`: imports it,
    // re-dates the VAT bookings, sorts again. Refused (E:104, E:123, E:135)
    // without a journal, after replacements, or after an earlier report.
    bool ImportVatReport(const std::string& path);
    // "Konten ersetzen": applies replace.dat of the data folder, after
    // saving the REPLACE box's unsaved edits (refused when that fails).
    bool ReplaceAccounts();
    // "Konten überprüfen" against the chart file `chartName` (a name from
    // the chart list or a path); the report goes to the data folder. Saves
    // the REPLACE box's unsaved edits first (refused when that fails), then
    // shows the file again with the check's proposals.
    bool CheckAccounts(const std::string& chartName);
    // "'0' Buch. löschen".
    void DeleteZeroAccountBookings();
    // "DATEN EXPORTIEREN" with settings and range already confirmed: saves
    // the settings once, then writes the batch of the request's format (the
    // CSV checks warn with the request's chart) and shows its messages.
    // Existing files of the batch are replaced without a question.
    bool ExportDatev(const DatevExportRequest& request);
    // Lexware "Daten exportieren" into `path`.
    bool ExportLexware(const std::string& path);
    // "Updates?": the online update check against the configured server.
    bool CheckForUpdate();

    // Starts the conversion (the window at its opening, the command line
    // before its steps): program folder (ending with '/'), start values, the
    // REPLACE text and the chart file names. The chart chosen is `chart`
    // when given (UseChart: "" for none); else the first whose name stands
    // for the DATEV settings' Sachkontenrahmen ("SK3" for SKR 03, the
    // default without a readable settings file).
    void Start(const std::string& programFolder,
               const std::optional<std::string>& chart = std::nullopt);

    // ---- Window handlers ---------------------------------------------
    // Step 3 "Auswahl": choose a journal, then OnOpenJournal.
    bool OnSelectJournal();
    // Opens the journal at `path` (step 3's choice, the command line's FILE,
    // a drop on the window): when the loaded journal carries work the user
    // is asked first (default "Nein"); then LoadJournal in the chosen
    // currency. False when declined or the load failed.
    bool OnOpenJournal(const std::string& path);
    void OnDeleteZeroBookings() { DeleteZeroAccountBookings(); }
    // Double click on line `index`: the booking editor for a copy of that
    // booking; on save the edited booking replaces it in the store and the
    // list is refilled with it marked. A changed date sorts the store by date
    // first, and the mark goes with the booking to its new line.
    void OnListDoubleClick(int index);
    // Radio buttons of step 2 and 4.
    void OnCurrency(Currency currency) { currency_ = currency; }
    void OnTaxationIst();
    void OnTaxationSoll();
    // Step 4 "Auswahl": choose the VAT detail report, then ImportVatReport.
    bool OnSelectVatReport();
    // The REPLACE box: its text changed to `text` (Windows-1252 bytes).
    void OnReplaceTextChange(std::string text);
    // The REPLACE box lost the focus (SettleReplaceText). `toFileButton`: the
    // focus goes to "Konten ersetzen" or "Konten überprüfen", which work on
    // the file: save without asking.
    void OnReplaceTextLeft(bool toFileButton);
    // The REPLACE box's unsaved edits before a step: saved without a
    // question for `toFileButton`, else the user is asked (No: the file's
    // text again). "Liste löschen", the exports and leaving the program
    // settle them this way, whatever started them (mouse, mnemonic, Enter,
    // the window manager). False when the save failed (the edits are kept).
    bool SettleReplaceText(bool toFileButton);
    // The desktop session ends: unsaved edits are saved without a question.
    void OnSessionEnd();
    // "Konten ersetzen"; on accounts already replaced only after a question.
    bool OnReplaceAccounts();
    void OnClearReplaceList();
    bool OnKontenUeberpruefen() { return CheckAccounts(SelectedChartName()); }
    void OnChartSelected(int index) { chartFileIndex_ = index; }
    // Chooses the chart file `name` (added to the list when it is not in
    // it); an empty name chooses none.
    void UseChart(const std::string& name);
    // Step 6. "Auswahl" of the DATEV target chooses its folder; the target
    // keeps its file name (ED0001 when none).
    void OnDatevAuswahl();
    void OnDatevTargetEdited(std::string path) { datevTargetPath_ = std::move(path); }
    bool OnDatenExportieren();
    void OnSelectLexwareFile();
    void OnLexwareTargetEdited(std::string path) { lexwareTargetPath_ = std::move(path); }
    bool OnExportLexware();
    bool OnUpdates() { return CheckForUpdate(); }
    // "Programm beenden", Escape, the close box: settles the REPLACE box,
    // then asks; true when the window may close.
    bool OnQuit();

    // ---- What the window shows ---------------------------------------
    const BookingStore& store() const { return store_; }
    bool journalLoaded() const { return store_.journalLoaded; }
    // The loaded journal carries work a reload would undo: re-dating,
    // replacements, deleted or edited bookings.
    bool journalCarriesWork() const;
    // Work on the journal since its load that no export since holds.
    bool unexportedWork() const { return unexportedWork_; }
    // The steps' states; a load clears those it undoes.
    StepStates Describe() const;
    const std::string& journalPath() const { return journalPath_; }
    Currency currency() const { return currency_; }
    Taxation taxation() const { return taxation_; }
    const std::string& vatReportPath() const { return vatReportPath_; }
    const std::string& replaceText() const { return replaceText_; }
    bool replaceTextModified() const { return replaceTextModified_; }
    const std::vector<std::string>& chartFiles() const { return chartFiles_; }
    int chartFileIndex() const { return chartFileIndex_; }
    // The selected chart file name ("" when none).
    std::string SelectedChartName() const;
    const std::string& datevTargetPath() const { return datevTargetPath_; }
    const std::string& lexwareTargetPath() const { return lexwareTargetPath_; }
    const DataFolders& folders() const { return folders_; }
    // The help folder (the program folder, ending with '/').
    std::string HelpFolder();
    // The window title and the About text: "Belvaron (V2.3)".
    static std::string TitleText();

    // The per-user data folder to use instead of the documents folder (the
    // command line's --data-dir); before Start.
    void SetDataFolderOverride(std::string folder) {
        folders_.dataFolderOverride = std::move(folder);
    }
    // The path of the data file `name` in the per-user data folder, the
    // shipped default copied there on first use.
    std::string DataFile(const std::string& name) { return folders_.Resolve(name); }
    // The content of replace.dat ("" when missing, "ERROR" after an exception).
    std::string LoadReplaceText();
    // Writes the REPLACE box's text into replace.dat; false after E:105.
    bool SaveReplaceText();

    int32_t vatRowCount() const { return vatRows_.count; }

private:
    // The tests' door to the state (tests/support/WorkflowTestAccess.h):
    // bookings, VAT rows, the journal path and the program folder laid out
    // without the steps. Nothing else reaches the state but the steps and
    // handlers.
    friend struct WorkflowTestAccess;

    // Refills the list from the store, marking the given kind of lines.
    void RefillList(bool markZeroAccounts);
    void SetDefaultTargets();
    // The index of the chart Start preselects (-1 for none); without
    // a chart of the settings' Sachkontenrahmen the second of several.
    int PreselectedChart();
    // The first chart whose name stands for `sachkontenrahmen` ("03", "04"),
    // or -1.
    int ChartIndexFor(std::string_view sachkontenrahmen) const;
    // After the DATEV dialog: a standard chart (SK3/SK4) of the other frame
    // is replaced by the one of the settings' Sachkontenrahmen, so that the
    // check and the export use one choice.
    void FollowSachkontenrahmen(std::string_view sachkontenrahmen);
    // Step 4's choice and the enabled state of its controls.
    void ChooseTaxation(Taxation taxation);
    // The re-dating of step 4 with its summary; true when it ran to its end.
    bool Redate(bool reportRead, const Progress* progress);
    // The gates of step 4 (journal loaded, no replacements, no report yet).
    bool VatReportAllowed();
    // The message of an exception guard: an E-code format of the catalogue
    // ("(E:nnn#%d)...") with the current TracePoint as its argument.
    void ShowException(const char* format, ...) __attribute__((format(BELVARON_PRINTF, 2, 3)));
    // Work on the bookings that no export holds yet.
    void NoteWork(bool bookingsChanged);
    // True when none of `paths` exists, or the user lets the export replace
    // those that do.
    bool MayReplaceFiles(const std::vector<std::string>& paths);
    // Whether a DATEV export replaces existing files without a question (the
    // step ExportDatev) or asks first, default "Nein" (OnDatenExportieren).
    enum class ExistingFiles { Replace, AskFirst };
    // ExportDatev; with AskFirst nothing is saved or written when the user
    // keeps the Postversand files, and nothing is written when the user
    // keeps the files a CSV batch would replace or remove.
    bool RunDatevExport(const DatevExportRequest& request, ExistingFiles existing);
    // The CSV part of RunDatevExport, after the settings were saved: the
    // check, the question (AskFirst), the write.
    bool RunDatevCsv(const DatevExportRequest& request, ExistingFiles existing);

    WindowPort& ui_;
    DataFolders folders_;
    BookingStore store_;
    ImportGrid importGrid_;
    VatRows vatRows_;

    std::string journalPath_;
    std::string datevTargetPath_;
    std::string lexwareTargetPath_;
    Currency currency_ = Currency::Euro;
    Taxation taxation_ = Taxation::Soll;
    std::string vatReportPath_;
    std::vector<std::string> chartFiles_;
    int chartFileIndex_ = -1;  // selected entry of chartFiles_
    std::string replaceText_;  // Windows-1252 bytes, as in replace.dat
    bool replaceTextModified_ = false;
    bool bookingsChanged_ = false;  // deleted or edited since the load
    int32_t redatedCount_ = 0;      // VAT rows that reached a booking
    int replacedSoll_ = 0;          // replacements of the last "Konten ersetzen"
    int replacedHaben_ = 0;
    std::string checkedChart_;  // the chart of the last complete check
    std::string exportState_;   // the last successful export
    bool unexportedWork_ = false;
};

}  // namespace belvaron
