#pragma once

#include <QPlainTextEdit>

namespace belvaron::gui {

// The REPLACE box: multi-line, Enter starts a new line, no wrapping, Tab
// moves on. `userEdited` reports changes the user made; filling the box with
// SetTextQuietly reports none and leaves it unmodified. `focusLeft` reports
// each loss of the keyboard focus with its reason.
class ReplaceTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ReplaceTextEdit(QWidget* parent = nullptr);

    void SetTextQuietly(const QString& text);
    // Room for a few lines; the booking list takes the rest of the window.
    QSize sizeHint() const override;

signals:
    void userEdited();
    void focusLeft(Qt::FocusReason reason);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool filling_ = false;
};

}  // namespace belvaron::gui
