#include "core/base/ErrnoText.h"

#include <cerrno>
#include <cstring>

#include "core/base/Format.h"

namespace belvaron {

namespace {

struct Reason {
    int error;
    const char* phrase;    // nullptr: the generic phrase
    const char* sentence;  // nullptr: the generic sentence
};

constexpr Reason kReasons[] = {
    {ENOENT, "Ordner nicht gefunden", "Der Ordner existiert nicht mehr."},
    {ENOTDIR, "Ordner nicht gefunden", nullptr},
    {EACCES, "keine Schreibberechtigung", "Keine Schreibberechtigung."},
    {EPERM, "keine Schreibberechtigung", "Keine Schreibberechtigung."},
    {ENOSPC, "kein freier Speicherplatz", "Der Datenträger ist voll."},
#ifdef EDQUOT  // not on Windows
    {EDQUOT, "kein freier Speicherplatz", "Der Datenträger ist voll."},
#endif
    {EROFS, "Datenträger ist schreibgeschützt", "Der Datenträger ist schreibgeschützt."},
    {EFBIG, nullptr, "Die Datei wird zu groß für den Datenträger."},
    {EIO, nullptr, "Ein-/Ausgabefehler des Datenträgers."},
    {kErrorNotRegularFile, "keine normale Datei",
     "Das Ziel ist keine normale Datei (ein Ordner, ein Gerät, eine Pipe oder eine "
     "Verknüpfung, die ins Leere führt)."},
};

}  // namespace

std::string ErrnoReason(int error, ReasonForm form) {
    for (const Reason& r : kReasons) {
        if (r.error != error) continue;
        const char* text = form == ReasonForm::Phrase ? r.phrase : r.sentence;
        if (text) return text;
        break;
    }
    if (form == ReasonForm::Phrase) return Format("Systemfehler %d", error);
    return Format("Systemfehler %d (%s).", error, std::strerror(error));
}

}  // namespace belvaron
