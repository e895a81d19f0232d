#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

namespace belvaron::gui {

// The choices of the main window kept between runs, in the INI file
// Belvaron/Belvaron.ini of the user's configuration folder. Each setter
// writes at once (the file is brought up to date by Qt, at the latest when
// this object goes); a value never written reads as empty.
class WindowSettings {
public:
    enum class Key { JournalFolder, DatevTarget, LexwareTarget, Chart, Taxation };
    static constexpr int kRecentJournals = 5;

    WindowSettings();
    ~WindowSettings();
    WindowSettings(const WindowSettings&) = delete;
    WindowSettings& operator=(const WindowSettings&) = delete;

    QString Text(Key key) const;
    void SetText(Key key, const QString& value);
    QByteArray Geometry() const;
    void SetGeometry(const QByteArray& geometry);
    // The journals opened last, newest first, at most kRecentJournals.
    QStringList RecentJournals() const;
    // Puts `path` first (once) and drops the oldest beyond the limit.
    void AddRecentJournal(const QString& path);

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace belvaron::gui
