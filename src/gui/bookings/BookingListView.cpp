#include "gui/bookings/BookingListView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "gui/bookings/BookingListModel.h"

namespace belvaron::gui {

BookingListView::BookingListView(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setShowGrid(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setAccessibleName(QStringLiteral("Buchungsliste"));
    QHeaderView* rows = verticalHeader();
    rows->setVisible(false);
    rows->setSectionResizeMode(QHeaderView::Fixed);  // uniform rows: no per-row measuring
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* columns = horizontalHeader();
    columns->setSectionsClickable(true);
    columns->setSortIndicatorShown(false);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(true);
    connect(columns, &QHeaderView::sectionClicked, this, &BookingListView::OnHeadingClicked);
}

void BookingListView::SetBookingModel(BookingListModel* model) {
    model_ = model;
    setModel(model);
    // Widths from the font, once: measuring a million rows is no option.
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int widths[BookingListModel::ColumnCount] = {8, 11, 11, 7, 7, 4, 5, 14, 8, 40};
    for (int c = 0; c < BookingListModel::ColumnCount; ++c) {
        const int heading =
            fontMetrics().horizontalAdvance(model->headerData(c, Qt::Horizontal).toString());
        setColumnWidth(c, qMax(widths[c] * digit, heading + 2 * digit) + digit);
    }
}

QSize BookingListView::sizeHint() const {
    return {QTableView::sizeHint().width(), minimumHeight()};
}

std::vector<int> BookingListView::Marks() const {
    return model_ ? model_->MarkedRows() : std::vector<int>{};
}

void BookingListView::ShowBooking(int storeIndex) {
    const int row = model_ ? model_->RowOf(storeIndex) : -1;
    if (row < 0) return;
    // The caret only: a selection would hide the row's marker colour.
    const QModelIndex index = model_->index(row, 0);
    selectionModel()->clearSelection();
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    scrollTo(index, QAbstractItemView::EnsureVisible);
}

void BookingListView::OnHeadingClicked(int column) {
    if (!model_) return;
    const int storeIndex = model_->StoreIndex(currentIndex().row());
    if (model_->sortColumn() != column) {
        model_->sort(column, Qt::AscendingOrder);
    } else if (model_->sortOrder() == Qt::AscendingOrder) {
        model_->sort(column, Qt::DescendingOrder);
    } else {
        model_->sort(-1);
    }
    QHeaderView* columns = horizontalHeader();
    columns->setSortIndicatorShown(model_->sortColumn() >= 0);
    columns->setSortIndicator(model_->sortColumn(), model_->sortOrder());
    // The caret stays on its booking.
    if (storeIndex >= 0) ShowBooking(storeIndex);
}

void BookingListView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid() && model_) {
        emit editRequested(model_->StoreIndex(currentIndex().row()));
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void BookingListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && model_ && event->button() == Qt::LeftButton) {
        emit editRequested(model_->StoreIndex(index.row()));
    }
}

}  // namespace belvaron::gui
