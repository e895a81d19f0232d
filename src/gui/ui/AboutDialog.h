#pragma once

#include <QDialog>

class QLabel;

namespace belvaron::gui {

// The About window: program icon, "Belvaron (V2.3)" and what the program does.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    void SetAboutText(const QString& text);
    QString aboutText() const;

private:
    QLabel* text_;
};

}  // namespace belvaron::gui
