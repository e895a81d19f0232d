#pragma once

#include <QListView>
#include <span>
#include <vector>

namespace belvaron::gui {

// The booking list's view. Marks are the selection and are set by the
// program alone: a click (or Space) on a line only removes that line's mark,
// moving the caret never marks. A double click or Enter asks to edit the line
// under the caret.
class BookingListView : public QListView {
    Q_OBJECT
public:
    explicit BookingListView(QWidget* parent = nullptr);

    // Marks exactly the given rows (ascending).
    void SetMarks(std::span<const int> rows);
    // The marked rows, ascending.
    std::vector<int> Marks() const;

signals:
    void editRequested(int row);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
};

}  // namespace belvaron::gui
