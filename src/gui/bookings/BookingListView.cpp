#include "gui/bookings/BookingListView.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace belvaron::gui {

BookingListView::BookingListView(QWidget* parent) : QListView(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);  // a million lines lay out without measuring each
    setLayoutMode(QListView::SinglePass);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setAccessibleName(QStringLiteral("Buchungsliste"));
}

void BookingListView::SetMarks(std::span<const int> rows) {
    QItemSelection selection;
    const int count = model() ? model()->rowCount() : 0;
    std::size_t i = 0;
    while (i < rows.size()) {
        // Consecutive rows make one range, so marking many lines stays cheap.
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
        if (rows[i] >= 0 && rows[j] < count) {
            selection.select(model()->index(rows[i], 0), model()->index(rows[j], 0));
        }
        i = j + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

QRegion BookingListView::visualRegionForSelection(const QItemSelection& selection) const {
    // Many marks at once (a refill): repaint the visible lines, instead of
    // adding up a region line by line.
    if (selection.size() > 64) return QRegion(viewport()->rect());
    return QListView::visualRegionForSelection(selection);
}

std::vector<int> BookingListView::Marks() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int r = range.top(); r <= range.bottom(); ++r) rows.push_back(r);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

QItemSelectionModel::SelectionFlags BookingListView::selectionCommand(const QModelIndex& index,
                                                                      const QEvent* event) const {
    if (!event || !index.isValid()) return QItemSelectionModel::NoUpdate;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return QItemSelectionModel::Deselect;
        case QEvent::KeyPress:
            if (static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Space) {
                return QItemSelectionModel::Deselect;
            }
            return QItemSelectionModel::NoUpdate;
        default:
            return QItemSelectionModel::NoUpdate;
    }
}

void BookingListView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::SelectAll)) {
        event->accept();  // marks are the program's
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        emit editRequested(currentIndex().row());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void BookingListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && event->button() == Qt::LeftButton) emit editRequested(index.row());
}

}  // namespace belvaron::gui
