#include "gui/app/FileFilter.h"

#include <QRegularExpression>
#include <QStringList>

namespace belvaron::gui {

QString QtFileFilter(std::string_view pipeFilter) {
    const QStringList parts =
        QString::fromUtf8(pipeFilter.data(), static_cast<qsizetype>(pipeFilter.size())).split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        if (description.isEmpty()) continue;
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        }
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        // Qt reads the patterns from the parentheses at the end of the entry.
        static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        description.remove(trailingPatterns);
        entries << description + QStringLiteral(" (") + patterns.join(' ') + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

}  // namespace belvaron::gui
