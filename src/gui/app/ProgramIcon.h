#pragma once

#include <QIcon>
#include <QPixmap>

namespace belvaron::gui {

// The program icon, drawn from its SVG at every size asked for.
QIcon ProgramIcon();
// The icon as a pixmap of `size` device-independent pixels for `ratio`.
QPixmap ProgramIconPixmap(int size, qreal ratio);

}  // namespace belvaron::gui
