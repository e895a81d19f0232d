#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/base/ReservedMemory.h"
#include "core/base/Text.h"
#include "core/bookings/BookingRecord.h"
#include "core/bookings/Dates.h"
#include "core/vat/VatDetailRow.h"

namespace belvaron {

class UiPort;

inline constexpr std::size_t kBookingCapacity = 1'000'000;
inline constexpr std::size_t kVatRowCapacity = 1'000'000;

// The work area in which the journal import collects the lines of one
// journal booking: 500 rows x 60 columns of 255-byte cells, allocated once.
class ImportGrid {
public:
    static constexpr int kRows = 500;
    static constexpr int kColumns = 60;
    static constexpr int kCellSize = int{kMaxFieldChars} + 1;  // and a terminator

    ImportGrid() : memory_(std::size_t{kRows} * kColumns * kCellSize) {}
    bool ok() const { return memory_.ok(); }
    char* Cell(int row, int column) const {
        return static_cast<char*>(memory_.data()) +
               (static_cast<std::size_t>(row) * kColumns + column) * kCellSize;
    }

private:
    ReservedMemory memory_;
};

// The booking store: every booking of the loaded journal, the VAT detail
// rows, the program folder and the workflow flags. The arrays are reserved
// once for their full capacity, so records never move. Operations show their
// own messages through the UI port given at construction.
class BookingStore {
public:
    explicit BookingStore(UiPort& ui, std::size_t bookingCapacity = kBookingCapacity,
                      std::size_t vatRowCapacity = kVatRowCapacity);
    virtual ~BookingStore();
    BookingStore(const BookingStore&) = delete;
    BookingStore& operator=(const BookingStore&) = delete;

    int32_t bookingCount = 0;
    ReservedArray<BookingRecord> bookings;
    int32_t vatRowCount = 0;
    ReservedArray<VatDetailRow> vatRows;
    std::string programFolder;  // ends with '/'
    int32_t journalLoaded = 0;
    int32_t accountsReplaced = 0;
    int32_t cashBasisApplied = 0;
    ImportGrid importGrid;

    // The per-user data folder to use instead of the documents folder (the
    // command line's --data-dir); empty for the normal lookup.
    std::string dataFolderOverride;

    UiPort& ui() const { return ui_; }

    // Room for one more booking: the record at bookingCount, or nullptr when
    // the capacity is used up. The caller fills every field, then adds 1 to
    // bookingCount.
    BookingRecord* AppendRoom();
    // The same for one more VAT detail row at vatRowCount.
    VatDetailRow* AppendVatRoom();

    BookingRecord& operator[](int32_t i) { return bookings[static_cast<std::size_t>(i)]; }
    const BookingRecord& operator[](int32_t i) const {
        return bookings[static_cast<std::size_t>(i)];
    }

    // Sorts the bookings by DateKey, keeping the order of equal dates; the
    // sort window shows through the UI port. Returns 1.
    int SortByDate();
    // Removes every booking whose SOLL or HABEN account is 0, keeping the
    // order of the rest, and reports how many were removed.
    void DeleteZeroAccountBookings();
    // The list line of one booking, Windows-1252 bytes; empty for an index
    // not below bookingCount.
    std::string FormatListLine(int32_t index) const;

    // The path of a data file in the per-user data folder, with the shipped
    // default copied there on first use; an empty name gives the program
    // folder.
    std::string ResolveDataFile(const std::string& name);
    // The folder that ResolveDataFile puts data files into (created).
    std::string DataFolder();

    // Journal import: 1 when the whole file was read, 0 when it stopped.
    int LoadJournal(const std::string& path, int currencyChoice);

    // REPLACE list application; true when it ran to the end.
    bool ApplyReplaceList();

    // VAT detail report import and cash-basis re-dating.
    bool ImportVatReport(const std::string& path);
    bool RedateVatBookings();

    // Lexware Buchhalter export of all bookings.
    bool ExportLexware(const std::string& path);

private:
    UiPort& ui_;
    bool dataFolderWarned_ = false;
};

}  // namespace belvaron
