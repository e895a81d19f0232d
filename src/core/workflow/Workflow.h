#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/base/DataFolders.h"
#include "core/base/UiPort.h"
#include "core/bookings/BookingStore.h"
#include "core/datev/DatevRange.h"
#include "core/datev/DatevSettings.h"
#include "core/bookings/JournalImport.h"
#include "core/vat/VatRows.h"

namespace belvaron {

// Step 4's choice: accrual (SOLL) or cash-basis (IST) taxation.
enum class Taxation { Soll, Ist };

// The main window's handler logic, shared by the desktop program, the
// command-line program and the tests. It owns the data folders, the booking
// store with its import area, the VAT rows and the DATEV settings and export range, and holds
// the window's members; every message, question and file choice goes
// through the UI port. A front end turns clicks (or options) into calls of
// the On... handlers and shows the members.
//
// Handlers return true when their step reported success; the window
// ignores the result, the command line turns it into its exit status.
class Workflow {
public:
    // Reserves the store, the import area and the VAT rows and shows E:201,
    // E:211 and E:2-- for each that failed, in that order, before the DATEV
    // exporter reserves its own.
    explicit Workflow(UiPort& ui);

    // Window start: program folder (ending with '/'), start values, the
    // REPLACE text, the title and the chart file names.
    void OnInitDialog(const std::string& programFolder);

    // Step 3 "Auswahl": choose a journal, load, sort, list, default targets.
    bool OnSelectJournal();
    // "'0' Buch. löschen".
    void OnDeleteZeroBookings();
    // Double click on line `index`: the booking editor; on save the list is
    // refilled with that line marked.
    void OnListDoubleClick(int index);
    // Radio buttons of step 4.
    void OnTaxationIst();
    void OnTaxationSoll();
    // Step 4 "Auswahl": VAT detail report and cash-basis re-dating.
    bool OnSelectVatReport();
    // The REPLACE box.
    void OnReplaceTextChange();
    // `toFileButton`: the focus goes to "Konten ersetzen" or "Konten
    // überprüfen", which work on the file: save without asking.
    void OnReplaceTextKillFocus(bool toFileButton);
    bool OnReplaceAccounts();
    void OnClearReplaceList();
    bool OnKontenUeberpruefen();
    // Step 6.
    void OnDatevAuswahl();
    bool OnDatenExportieren();
    void OnSelectLexwareFile();
    bool OnExportLexware();
    // "Updates?": the online update check against the configured update
    // server; its result (the window ignores it).
    bool OnUpdates();
    // "Programm beenden", Escape, close box: true when the window may close.
    bool OnCancel();

    // The content of replace.dat ("" when missing, "ERROR" after an exception).
    std::string LoadReplaceText();
    // Writes replaceText into replace.dat; false after E:105.
    bool SaveReplaceText();

    // The window title and the About text: "Belvaron (V2.3)".
    static std::string TitleText();
    // The help folder (the program folder, ending with '/').
    std::string HelpFolder();

    // Names of the "*.kon" chart files offered in the combo box.
    std::vector<std::string> ChartFileNames() const;
    // The selected chart file name ("" when none).
    std::string SelectedChartName() const;

    DataFolders folders;
    BookingStore store;
    ImportGrid importGrid;
    VatRows vatRows;
    // The DATEV-Angaben and the export range of the last "Daten exportieren",
    // loaded from the settings file and the bookings at each export.
    DatevSettings datevSettings;
    DatevRange datevRange;

    std::string journalPath;
    std::string datevTargetPath;
    std::string lexwareTargetPath;
    Currency currency = Currency::Euro;
    int chartFileIndex = -1;     // selected entry of chartFiles
    std::vector<std::string> chartFiles;
    std::string replaceText;     // Windows-1252 bytes, as in replace.dat
    Taxation taxation = Taxation::Soll;
    std::string vatReportPath;
    bool replaceTextModified = false;
    // The DATEV export format for this run instead of the stored one (the
    // command line's --datev-format); never saved.
    std::optional<DatevExportFormat> datevFormatOverride;

    UiPort& ui() const { return ui_; }

private:
    // Refills the list from the store, marking the given kind of lines.
    void RefillList(bool markZeroAccounts);
    void SetDefaultTargets();
    // The re-dating of step 4 with its summary; true when it ran to its end.
    bool Redate();
    // "(E:nnn#%d)..." with the current TracePoint.
    void ShowException(const char* format);

    UiPort& ui_;
};

}  // namespace belvaron
