#include "gui/ui/ProgressDialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <cstdarg>

#include "core/base/TracePoint.h"

namespace belvaron::gui {

namespace {

constexpr int kEdgeX = 2;  // the width and height of a 3-D edge
constexpr int kEdgeY = 2;
constexpr int kInitialWidth = 390;
constexpr int kInitialTextLines = 4;
constexpr int kMaxStatusChars = 511;

QWidget* MainWindowOf(QWidget* owner) {
    if (owner) return owner;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("MainWindow")) return w;
    }
    return QApplication::activeWindow();
}

}  // namespace

ProgressDialog::ProgressDialog(QWidget* owner, const QString& title, Profile profile)
    : QWidget(MainWindowOf(owner),
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      profile_(std::move(profile)),
      text_(nullptr),
      bar_(nullptr),
      cancel_(nullptr) {
    TracePoint = 9401;
    owner_ = parentWidget();
    title_ = title;
    TracePoint = 9402;
    setObjectName(QStringLiteral("ProgressDialog"));
    setWindowModality(Qt::NonModal);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setCursor(Qt::BusyCursor);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    font_ = QApplication::font("QMessageBox");
    TracePoint = 9403;
    setWindowTitle(title_);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("progressText"));
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(false);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("progressBar"));
    bar_->setTextVisible(false);
    bar_->setRange(lower_, upper_);
    cancel_ = new QPushButton(cancelLabel_, this);
    cancel_->setObjectName(QStringLiteral("progressCancel"));
    cancel_->setFocusPolicy(Qt::StrongFocus);
    connect(cancel_, &QPushButton::clicked, this, &ProgressDialog::Cancel);
    TracePoint = 9404;
    text_->setFont(font_);
    cancel_->setFont(font_);
    FitLayout(kInitialTextLines, kInitialWidth);
    RestorePosition();
    ShowIfHidden();
}

ProgressDialog::~ProgressDialog() {
    SavePosition();
    if (pumpingWithEscape_) qApp->removeEventFilter(this);
}

void ProgressDialog::SetStatusText(const QString& text) {
    text_->setText(text.left(kMaxStatusChars));
}

void ProgressDialog::SetStatusText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = FormatV(format, args);
    va_end(args);
    SetStatusText(QString::fromStdString(text));
}

void ProgressDialog::SetProgressRange(int newLower, int newUpper, int newStep) {
    bar_->setRange(newLower, newUpper);
    upper_ = newUpper;
    lower_ = newLower;
    step_ = newStep;
}

int ProgressDialog::SetProgress(int newPosition) {
    ShowIfHidden();
    // A bar that was never set reports one below its minimum.
    const int previous = bar_->value() < bar_->minimum() ? bar_->minimum() : bar_->value();
    position_ = newPosition;
    // The position is not reduced by the lower end first.
    const int percent =
        upper_ > lower_
            ? static_cast<int>(static_cast<long long>(newPosition) * 100 / (upper_ - lower_))
            : 0;
    if (percent != lastPercent_) {
        lastPercent_ = percent;
        setWindowTitle(QStringLiteral("%1 [%2%]").arg(title_).arg(percent));
    }
    bar_->setValue(qBound(bar_->minimum(), newPosition, bar_->maximum()));
    return previous;
}

void ProgressDialog::PumpMessages(bool cancelOnEscape) {
    if (cancelled_) return;
    pumpingWithEscape_ = cancelOnEscape;
    if (cancelOnEscape) qApp->installEventFilter(this);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (cancelOnEscape) qApp->removeEventFilter(this);
    pumpingWithEscape_ = false;
}

void ProgressDialog::Cancel() {
    cancelled_ = true;
    hide();
    if (owner_) {
        owner_->raise();
        owner_->activateWindow();
    }
}

void ProgressDialog::FitLayout(int lines, int width) {
    const QFontMetrics fm(font_);
    const int textLeft = 10;
    const int textTop = 10;
    const int textHeight = fm.height() * qMax(lines, 1);
    const int textRight = textLeft + width;
    const QSize label = fm.size(Qt::TextSingleLine, cancelLabel_ + QStringLiteral("  "));
    const int buttonWidth = label.width() + 4 * kEdgeX;
    const int buttonHeight = label.height() + 3 * kEdgeY;
    const QRect button(textRight - buttonWidth, textTop + textHeight + 10, buttonWidth,
                       buttonHeight);
    const QRect bar(QPoint(textLeft, button.top() + kEdgeY),
                    QPoint(button.left() - 10 - 1, button.bottom() - kEdgeY));
    setFixedSize(width + 20, textHeight + buttonHeight + 30);
    bar_->setGeometry(bar);
    cancel_->setGeometry(button);
    text_->setGeometry(textLeft, textTop, width, textHeight);
}

void ProgressDialog::ShowIfHidden() {
    if (isVisible()) return;
    show();
    update();
}

void ProgressDialog::RestorePosition() {
    const int x = profile_.GetInt("Settings", "X", -1);
    const int y = profile_.GetInt("Settings", "Y", -1);
    const QScreen* screen = QApplication::primaryScreen();
    const QRect desktop = screen ? screen->virtualGeometry() : QRect();
    if (x >= 0 && y >= 0 && desktop.contains(QPoint(x, y))) {
        move(x, y);
        return;
    }
    const QRect area = owner_ ? owner_->frameGeometry()
                              : (screen ? screen->availableGeometry() : QRect(0, 0, 800, 600));
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

void ProgressDialog::SavePosition() {
    if (!windowHandle()) return;  // never shown
    const QPoint topLeft = frameGeometry().topLeft();
    profile_.SetInt("Settings", "X", topLeft.x());
    profile_.SetInt("Settings", "Y", topLeft.y());
}

void ProgressDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Cancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool ProgressDialog::eventFilter(QObject* watched, QEvent* event) {
    if (pumpingWithEscape_ && !cancelled_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Cancel();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace belvaron::gui
