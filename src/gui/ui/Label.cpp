#include "ui/Label.h"

#include <QApplication>

namespace belvaron::gui {

CLabel::CLabel(QWidget* parent) : CLabel(QString(), parent) {}

CLabel::CLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent),
      textColour_(QApplication::palette().color(QPalette::WindowText)),
      backColour_(QApplication::palette().color(QPalette::Button)),
      logFont_(QApplication::font()) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, backColour_);
    p.setColor(QPalette::WindowText, textColour_);
    setPalette(p);
    setFont(logFont_);
}

void CLabel::SetTextColour(const QColor& colour) {
    textColour_ = colour;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, textColour_);
    setPalette(p);
    Redraw();
}

void CLabel::SetBold(bool bold) {
    logFont_.setWeight(bold ? QFont::Bold : QFont::Normal);
    RebuildFont();
    Redraw();
}

void CLabel::SetCharHeight(int height) {
    logFont_.setPixelSize(qMax(height, 1));
    RebuildFont();
    Redraw();
}

void CLabel::RebuildFont() { setFont(logFont_); }

void CLabel::Redraw() {
    updateGeometry();
    repaint();
}

}  // namespace belvaron::gui
