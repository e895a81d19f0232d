#pragma once

#include <QTableView>
#include <vector>

namespace belvaron::gui {

class BookingListModel;

// The ledger's view: rows of one height (a million rows scroll without
// measuring any), columns sized once from the font. A click on a heading
// sorts the view by that column, a second click reverses it, a third
// returns to the store's order. A double click or Enter asks to edit the
// booking of the row under the caret; the signal carries its store index.
class BookingListView : public QTableView {
    Q_OBJECT
public:
    explicit BookingListView(QWidget* parent = nullptr);

    void SetBookingModel(BookingListModel* model);
    BookingListModel* bookingModel() const { return model_; }

    // The marked store indices, ascending (the program's marks, not the
    // selection).
    std::vector<int> Marks() const;
    // Puts the caret on the booking with this store index and scrolls to it
    // (when the filter shows it); the selection is cleared.
    void ShowBooking(int storeIndex);
    // As high as its minimum: the list takes the room the other controls
    // leave (its stretch), and is the first to give it back.
    QSize sizeHint() const override;

signals:
    void editRequested(int storeIndex);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void OnHeadingClicked(int column);

    BookingListModel* model_ = nullptr;
};

}  // namespace belvaron::gui
