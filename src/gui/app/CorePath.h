#pragma once

#include <QString>
#include <string>

namespace belvaron::gui {

// Paths between the window and the core: the core takes and gives every
// path as UTF-8 text (core/platform/Files.h), Qt as QString.
inline QString QtPath(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string CorePath(const QString& path) { return path.toStdString(); }

}  // namespace belvaron::gui
