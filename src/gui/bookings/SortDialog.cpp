#include "gui/bookings/SortDialog.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace belvaron::gui {

SortDialog::SortDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), bar_(new QProgressBar) {
    // Without a caption the window draws its own border.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(2);
    outer->addWidget(frame);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(18, 16, 18, 16);
    layout->setSpacing(12);
    auto* text = new QLabel(
        QStringLiteral("Die Buchungssätze werden sortiert.\nBitte haben Sie etwas Geduld."), frame);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    bar_->setTextVisible(false);
    bar_->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    layout->addWidget(bar_);
}

SortDialog::~SortDialog() = default;

void SortDialog::Start(int total) {
    bar_->setRange(0, qMax(total, 1));
    bar_->setValue(0);
    adjustSize();
    if (const QScreen* screen = QApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
    raise();
    // The sort runs on this thread: let the window paint before it starts.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SortDialog::SetPosition(int position) {
    bar_->setValue(qMin(position, bar_->maximum()));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace belvaron::gui
