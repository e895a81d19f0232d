#include "core/bookings/BookingStore.h"

#include <string>

#include "core/base/DataFiles.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/base/UiPort.h"
#include "core/bookings/BookingMessages.h"

namespace belvaron {

BookingStore::BookingStore(UiPort& ui, std::size_t bookingCapacity, std::size_t vatRowCapacity)
    : bookings((TracePoint = 2001, bookingCapacity)),
      vatRows(vatRowCapacity),
      importGrid(),
      ui_(ui) {
    if (!bookings.ok()) ShowPlain(ui_, msg::kE201);
    TracePoint = 2002;
    if (!importGrid.ok()) ShowPlain(ui_, msg::kE211);
    TracePoint = 2003;
    if (!vatRows.ok()) ShowPlain(ui_, msg::kE2xx);
}

BookingStore::~BookingStore() = default;

BookingRecord* BookingStore::AppendRoom() {
    if (bookingCount < 0 || !bookings.Commit(static_cast<std::size_t>(bookingCount))) {
        return nullptr;
    }
    return &bookings[static_cast<std::size_t>(bookingCount)];
}

VatDetailRow* BookingStore::AppendVatRoom() {
    if (vatRowCount < 0 || !vatRows.Commit(static_cast<std::size_t>(vatRowCount))) {
        return nullptr;
    }
    return &vatRows[static_cast<std::size_t>(vatRowCount)];
}

std::string BookingStore::DataFolder() {
    if (!dataFolderOverride.empty()) {
        if (!DirectoryExists(dataFolderOverride)) MakeDirectories(dataFolderOverride);
        return dataFolderOverride;
    }
    if (auto folder = UserDataFolder(true)) return *folder;
    const std::string fallback = FallbackDataFolder();
    if (!dataFolderWarned_) {
        dataFolderWarned_ = true;
        ShowPlain(ui_, Format(msg::kNoDocumentsFolder, fallback.c_str()));
    }
    if (!DirectoryExists(fallback)) MakeDirectories(fallback);
    return fallback;
}

std::string BookingStore::ResolveDataFile(const std::string& name) {
    TracePoint = 2004;
    if (name.empty()) return programFolder;
    const std::string path = DataFolder() + "/" + name;
    if (!FileExists(path)) {
        // The copy's outcome is not checked: without a shipped default the
        // path stays missing and the caller's own open reports it.
        CopyFileBytes(programFolder + name, path);
    }
    return path;
}

}  // namespace belvaron
