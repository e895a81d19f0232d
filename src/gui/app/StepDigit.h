#pragma once

#include <QWidget>

namespace belvaron::gui {

// The picture of a work step's digit: the number in a filled circle, drawn
// as vector graphics so it stays sharp at every scale.
class StepDigit : public QWidget {
    Q_OBJECT
public:
    StepDigit(int digit, QWidget* parent = nullptr);
    int digit() const { return digit_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int digit_;
};

}  // namespace belvaron::gui
