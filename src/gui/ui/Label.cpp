#include "gui/ui/Label.h"

#include <QApplication>

namespace belvaron::gui {

Label::Label(QWidget* parent) : Label(QString(), parent) {}

Label::Label(const QString& text, QWidget* parent)
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

void Label::SetTextColour(const QColor& colour) {
    textColour_ = colour;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, textColour_);
    setPalette(p);
    Redraw();
}

void Label::SetBold(bool bold) {
    logFont_.setWeight(bold ? QFont::Bold : QFont::Normal);
    RebuildFont();
    Redraw();
}

void Label::SetCharHeight(int height) {
    logFont_.setPixelSize(qMax(height, 1));
    RebuildFont();
    Redraw();
}

void Label::RebuildFont() { setFont(logFont_); }

void Label::Redraw() {
    updateGeometry();
    repaint();
}

}  // namespace belvaron::gui
