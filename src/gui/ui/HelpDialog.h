#pragma once

#include <QDialog>
#include <string>

class QListWidget;

namespace belvaron::gui {

// The help window: the lines of "hilfe.txt" from `helpFolder` (ending with
// '/'), one list entry each, in file order; one entry saying so when the
// file cannot be opened.
class HelpDialog : public QDialog {
    Q_OBJECT
public:
    explicit HelpDialog(QWidget* parent = nullptr);

    std::string helpFolder;

    // Fills the list; done when the window is first shown.
    void Load();
    QListWidget* lines() const { return list_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QListWidget* list_;
    bool loaded_ = false;
};

}  // namespace belvaron::gui
