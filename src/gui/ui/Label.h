#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

namespace belvaron::gui {

// A static text with its own text colour and font. Colours and font start
// as the window text colour on the button face in the default GUI font,
// taken once at construction. Height and weight change independently.
class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget* parent = nullptr);
    explicit Label(const QString& text, QWidget* parent = nullptr);

    void SetTextColour(const QColor& colour);
    void SetBold(bool bold);
    // The character height in logical pixels (not the cell height).
    void SetCharHeight(int height);

    QColor textColour() const { return textColour_; }
    const QFont& logFont() const { return logFont_; }

private:
    void RebuildFont();
    void Redraw();

    QColor textColour_;
    QColor backColour_;
    QFont logFont_;
};

}  // namespace belvaron::gui
