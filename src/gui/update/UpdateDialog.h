#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

#include "core/base/UiPort.h"

class QPlainTextEdit;
class QPushButton;

namespace belvaron::gui {

class Label;

// The update dialog "Programmupdate:": a newer version exists, the changes
// since the installed one, and the question whether to download and
// install it. OK confirms; Abbrechen, Escape and the close box cancel. The
// dialog only shows what the caller sets before running it.
class UpdateDialog : public QDialog {
    Q_OBJECT
public:
    explicit UpdateDialog(QWidget* parent = nullptr);

    // Set by the caller before the dialog is shown; on OK the texts are
    // read back from the controls.
    QString titleText;
    QString historyText;  // CR LF or LF line ends
    QString propertiesText;
    uint32_t propertiesColour = 0xFFFFFF;  // 0x00BBGGRR

    void setVisible(bool visible) override;
    void accept() override;

    Label* titleLabel() const { return titleLabel_; }
    QPlainTextEdit* historyEdit() const { return history_; }
    Label* propertiesLabel() const { return propertiesLabel_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    // Puts the texts into the controls and styles the two labels.
    void InitDialog();

    Label* titleLabel_;
    QPlainTextEdit* history_;
    Label* propertiesLabel_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// Runs the update dialog modally with the given texts; true for OK.
bool RunUpdateDialog(QWidget* parent, const UpdateDialogTexts& texts);

}  // namespace belvaron::gui
