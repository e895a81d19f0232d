#pragma once

#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "core/base/Format.h"
#include "core/base/Profile.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace belvaron::gui {

// A small always-on-top window for a long operation on the UI thread: the
// caption "<title> [<percent>%]", status text, a progress bar and the button
// " Abbruch ". Not modal. The operation sets text and position, calls
// PumpMessages between steps and stops once cancelled() (the button, Escape
// while pumping, or Cancel). The window's position is kept in the profile,
// section "Settings", keys "X" and "Y".
class ProgressDialog : public QWidget {
    Q_OBJECT
public:
    ProgressDialog(QWidget* owner, const QString& title, Profile profile = Profile());
    ~ProgressDialog() override;  // stores the position

    // The status text (at most 511 characters are shown).
    void SetStatusText(const QString& text);
    // The same from a printf-style format (UTF-8) and its arguments.
    void SetStatusText(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void SetProgressRange(int lower, int upper, int step);
    // Returns the bar's previous position.
    int SetProgress(int newPosition);
    // Lets pending events through once; with `cancelOnEscape`, an Escape key
    // typed into any window of the program cancels. Does nothing once
    // cancelled.
    void PumpMessages(bool cancelOnEscape);
    // Client area (width + 20) wide: `lines` of text, 10 pixels, the row of
    // bar and button, margins of 10.
    void FitLayout(int lines, int width);
    void ShowIfHidden();
    // The stored position when it lies on a screen, else centred over the owner.
    void RestorePosition();
    void SavePosition();

    // Set by Cancel; never reset.
    bool cancelled() const { return cancelled_; }
    // The position last set, and the bar's range and step width.
    int position() const { return position_; }
    int lower() const { return lower_; }
    int upper() const { return upper_; }
    int step() const { return step_; }

    QLabel* textControl() const { return text_; }
    QProgressBar* progressControl() const { return bar_; }
    QPushButton* cancelButton() const { return cancel_; }
    const QString& title() const { return title_; }

public slots:
    // Cancels the operation: hides the window and gives the focus back to
    // its owner (" Abbruch ", Escape).
    void Cancel();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> owner_;
    QString title_;
    QString cancelLabel_ = QStringLiteral(" Abbruch ");
    QFont font_;
    Profile profile_;
    QLabel* text_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    bool pumpingWithEscape_ = false;
    bool cancelled_ = false;
    int position_ = 0;
    int lastPercent_ = 0;
    int step_ = 1;
    int upper_ = 100;
    int lower_ = 0;
};

}  // namespace belvaron::gui
