#pragma once

#include <QDialog>
#include <array>

#include "core/bookings/BookingEditor.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace belvaron {
class UiPort;
}  // namespace belvaron

namespace belvaron::gui {

// The booking editor for one booking, which it edits as a copy of its own.
// Each field is checked as it changes (CheckEditorField); a field's problem
// stands in red under it and "Änderungen speichern" is disabled while any
// field has one. "Zurücksetzen" puts back the texts the window opened with.
// Saving writes the copy (WriteEditorTexts) and closes with Accepted; should
// the check still fail, the first failing field's message goes through the
// UI port and that field gets the focus. "Abbrechen", Escape and the close
// box change nothing.
class BookingEditDialog : public QDialog {
    Q_OBJECT
public:
    BookingEditDialog(QWidget* parent, UiPort& ui, const BookingRecord& booking);

    // The booking: as opened until a save, then as saved.
    const BookingRecord& booking() const { return booking_; }

    QLineEdit* Field(EditorField field) const { return fields_[static_cast<std::size_t>(field)]; }
    // The field's problem as shown under it (hidden and empty when none).
    QLabel* ProblemLabel(EditorField field) const {
        return problems_[static_cast<std::size_t>(field)];
    }
    QPushButton* SaveButton() const { return save_; }
    QPushButton* ResetButton() const { return reset_; }
    QPushButton* CancelButton() const { return cancel_; }

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* MakeField(EditorField field);
    void CheckField(EditorField field);
    void FitHeight();
    void Reset();

    UiPort& ui_;
    BookingRecord booking_;
    std::array<QLineEdit*, kEditorFieldCount> fields_{};
    std::array<QLabel*, kEditorFieldCount> problems_{};
    std::array<QString, kEditorFieldCount> opened_;  // the texts the window opened with
    QPushButton* save_ = nullptr;
    QPushButton* reset_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace belvaron::gui
