#include "gui/app/WindowSettings.h"

#include <QSettings>

namespace belvaron::gui {

namespace {

QString KeyName(WindowSettings::Key key) {
    switch (key) {
        case WindowSettings::Key::JournalFolder:
            return QStringLiteral("journal/folder");
        case WindowSettings::Key::DatevTarget:
            return QStringLiteral("export/datevTarget");
        case WindowSettings::Key::LexwareTarget:
            return QStringLiteral("export/lexwareTarget");
        case WindowSettings::Key::Chart:
            return QStringLiteral("accounts/chart");
        case WindowSettings::Key::Taxation:
            return QStringLiteral("taxation/choice");
    }
    return {};
}

const QString kRecentKey = QStringLiteral("journal/recent");
const QString kGeometryKey = QStringLiteral("window/geometry");

}  // namespace

WindowSettings::WindowSettings()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Belvaron"),
                                            QStringLiteral("Belvaron"))) {}

WindowSettings::~WindowSettings() = default;

QString WindowSettings::Text(Key key) const { return settings_->value(KeyName(key)).toString(); }

void WindowSettings::SetText(Key key, const QString& value) {
    if (Text(key) != value) settings_->setValue(KeyName(key), value);
}

QByteArray WindowSettings::Geometry() const { return settings_->value(kGeometryKey).toByteArray(); }

void WindowSettings::SetGeometry(const QByteArray& geometry) {
    settings_->setValue(kGeometryKey, geometry);
}

QStringList WindowSettings::RecentJournals() const {
    QStringList recent = settings_->value(kRecentKey).toStringList();
    recent.removeAll(QString());
    while (recent.size() > kRecentJournals) recent.removeLast();
    return recent;
}

void WindowSettings::AddRecentJournal(const QString& path) {
    QStringList recent = RecentJournals();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > kRecentJournals) recent.removeLast();
    settings_->setValue(kRecentKey, recent);
}

}  // namespace belvaron::gui
