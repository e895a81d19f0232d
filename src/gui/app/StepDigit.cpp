#include "gui/app/StepDigit.h"

#include <QPainter>
#include <QPainterPath>

namespace belvaron::gui {

StepDigit::StepDigit(int digit, QWidget* parent) : QWidget(parent), digit_(digit) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(QStringLiteral("Schritt %1").arg(digit));
}

QSize StepDigit::sizeHint() const {
    const int side = fontMetrics().height() * 2 + 4;
    return {side, side};
}

void StepDigit::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height()) - 2;
    const QRectF disc((width() - side) / 2.0, (height() - side) / 2.0, side, side);

    QLinearGradient fill(disc.topLeft(), disc.bottomLeft());
    fill.setColorAt(0.0, QColor(0x2f, 0x7d, 0xc4));
    fill.setColorAt(1.0, QColor(0x1b, 0x4f, 0x8a));
    p.setPen(QPen(QColor(0x14, 0x3c, 0x6b), side / 24.0));
    p.setBrush(fill);
    p.drawEllipse(disc);

    // The digit as an outline of the bold window font, centred optically.
    QFont font = this->font();
    font.setBold(true);
    font.setPixelSize(qRound(side * 0.62));
    QPainterPath path;
    path.addText(0, 0, font, QString::number(digit_));
    const QRectF bounds = path.boundingRect();
    path.translate(disc.center() - bounds.center());
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(path);
}

}  // namespace belvaron::gui
