#pragma once

#include <QDialog>
#include <array>

#include "core/bookings/BookingEditor.h"

class QLineEdit;
class QPushButton;

namespace belvaron {
class BookingStore;
class UiPort;
}  // namespace belvaron

namespace belvaron::gui {

// The booking editor for booking `index` of the store. "Änderungen
// speichern" checks the fields in exchange order; the first failing field
// gets its message (through the UI port) and the focus, and the window stays
// open. When all are valid the booking is written as entered and the window
// closes with Accepted. "Abbrechen", Escape and the close box change nothing.
class BookingEditDialog : public QDialog {
    Q_OBJECT
public:
    BookingEditDialog(QWidget* parent, UiPort& ui, BookingStore& store, int index);

    QLineEdit* Field(EditorField field) const { return fields_[static_cast<std::size_t>(field)]; }
    QPushButton* SaveButton() const { return save_; }
    QPushButton* CancelButton() const { return cancel_; }

public slots:
    void accept() override;

private:
    QLineEdit* MakeField(EditorField field);

    UiPort& ui_;
    BookingStore& store_;
    int index_;
    std::array<QLineEdit*, kEditorFieldCount> fields_{};
    QPushButton* save_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace belvaron::gui
