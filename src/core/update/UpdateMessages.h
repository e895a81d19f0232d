#pragma once

// Messages of the online update check. They carry no E-code; the ones that
// name a failure of the system are followed directly by kUpdErrorCode.
namespace belvaron::msg {

// clang-format off
inline constexpr const char* kUpdNoVersion = "Die aktuelle Programmversion konnte nicht ermittelt werden.";
inline constexpr const char* kUpdNoInternet = "Es konnte keine Verbindung ins Internet hergestellt werden.";
inline constexpr const char* kUpdNoServer = "Es konnte keine Verbindung zum Update-Server hergestellt werden.";
inline constexpr const char* kUpdNoInformation = "Es konnten keine Update-Informationen gefunden werden.";
inline constexpr const char* kUpdBadInformation =
    "Es konnten keine korrekten Update-Informationen gefunden werden.";
inline constexpr const char* kUpdUpToDate =
    "Das Programm ist auf dem neuesten Stand.\nEs sind keine neuen Updates verfügbar.";
// Followed by the server's version.
inline constexpr const char* kUpdServerOlder =
    "Das Programm ist auf dem neuesten Stand.\nAuf dem Update-Server befindet sich noch die Version: ";
inline constexpr const char* kUpdDownloadFailed =
    "Fehler beim Herunterladen des Updates. Vorgang wurde abgebrochen.";
// The installer's SHA-256 differs from the one in the update information.
inline constexpr const char* kUpdDigestMismatch =
    "Das heruntergeladene Update ist nicht vollständig oder verändert (die Prüfsumme stimmt nicht). Vorgang wurde abgebrochen.";
// The check did not end within its time limit (%d the seconds).
inline constexpr const char* kUpdCheckTimedOut =
    "Der Update-Server hat nicht innerhalb von %d Sekunden geantwortet. Vorgang wurde abgebrochen.";
inline constexpr const char* kUpdStartFailed =
    "Das Update konnte nicht gestartet werden. Vorgang wurde abgebrochen.";
inline constexpr const char* kUpdExitQuestion =
    "Das Programm muss vor der Installation des Updates beendet werden.\n\n"
    "Falls Änderungen noch nicht gespeichert wurden, dann brechen\n"
    "Sie den Updatevorgang ab ('Nein' drücken) und beenden das Programm nach dem Speichern.\n\n"
    "Programm jetzt sofort beenden?";
// The user cancelled the check in its progress window, or the download.
inline constexpr const char* kUpdCheckCancelled = "Die Suche nach Updates wurde abgebrochen.";
inline constexpr const char* kUpdDownloadCancelled =
    "Das Herunterladen des Updates wurde abgebrochen. Es wurde nichts installiert.";
// The error code after a message: errno, the transport's code or the HTTP status.
inline constexpr const char* kUpdErrorCode = "[%d]";

// The update dialog: product name and server version.
inline constexpr const char* kUpdDialogTitle = "Für %s ist ein neues Update (%s) verfügbar!";
inline constexpr const char* kUpdFree = "Das Update ist für Sie kostenlos verfügbar.";

// The progress windows of the check and of the download (the titles end
// with a blank).
inline constexpr const char* kUpdCheckProgressTitle = "Suche nach Updates ";
inline constexpr const char* kUpdProgressTitle = "Update wird heruntergeladen ";
inline constexpr const char* kUpdProgressKByte = "%d kByte";
// clang-format on

}  // namespace belvaron::msg
