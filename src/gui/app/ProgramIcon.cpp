#include "gui/app/ProgramIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>

namespace belvaron::gui {

namespace {

const char* const kIconResource = ":/belvaron/belvaron.svg";

// Renders the SVG sharply at whatever size and scale the icon is drawn.
class SvgIconEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        QSvgRenderer renderer{QString::fromLatin1(kIconResource)};
        if (mode == QIcon::Disabled) painter->setOpacity(0.45);
        renderer.render(painter, rect);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter painter(&pm);
        painter.setRenderHint(QPainter::Antialiasing);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }
    QIconEngine* clone() const override { return new SvgIconEngine; }
};

}  // namespace

QIcon ProgramIcon() { return QIcon(new SvgIconEngine); }

QPixmap ProgramIconPixmap(int size, qreal ratio) {
    const int device = qRound(size * ratio);
    QPixmap pm(device, device);
    pm.fill(Qt::transparent);
    {
        QPainter painter(&pm);
        painter.setRenderHint(QPainter::Antialiasing);
        QSvgRenderer renderer{QString::fromLatin1(kIconResource)};
        renderer.render(&painter, QRectF(0, 0, device, device));
    }
    pm.setDevicePixelRatio(ratio);
    return pm;
}

}  // namespace belvaron::gui
