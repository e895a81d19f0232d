#pragma once

#include <QDialog>

class QProgressBar;

namespace belvaron::gui {

// The sort window: no caption, centred on the screen, a fixed text above a
// progress bar; it exists only while a sort runs.
class SortDialog : public QDialog {
    Q_OBJECT
public:
    explicit SortDialog(QWidget* parent = nullptr);
    ~SortDialog() override;

    // Shows the window with the range 0..total and paints it at once.
    void Start(int total);
    void SetPosition(int position);
    QProgressBar* progressBar() const { return bar_; }

private:
    QProgressBar* bar_;
};

}  // namespace belvaron::gui
