#include "gui/app/ReplaceTextEdit.h"

#include <QFocusEvent>
#include <QFontDatabase>

namespace belvaron::gui {

ReplaceTextEdit::ReplaceTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!filling_) emit userEdited();
    });
}

QSize ReplaceTextEdit::sizeHint() const {
    const int lines = 6;
    return {QPlainTextEdit::sizeHint().width(),
            fontMetrics().lineSpacing() * lines + 2 * frameWidth() + 8};
}

void ReplaceTextEdit::SetTextQuietly(const QString& text) {
    filling_ = true;
    setPlainText(text);
    document()->setModified(false);
    filling_ = false;
}

void ReplaceTextEdit::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    emit focusLeft(event->reason());
}

}  // namespace belvaron::gui
