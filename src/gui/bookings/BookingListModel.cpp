#include "gui/bookings/BookingListModel.h"

#include "core/base/CodePage.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/BookingStore.h"

namespace belvaron::gui {

void BookingListModel::Clear() {
    beginResetModel();
    store_ = nullptr;
    rows_ = 0;
    endResetModel();
}

void BookingListModel::Refill(const BookingStore& store) {
    beginResetModel();
    store_ = &store;
    rows_ = store.bookingCount > 0 ? store.bookingCount : 0;
    endResetModel();
}

int BookingListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

QVariant BookingListModel::data(const QModelIndex& index, int role) const {
    if (!store_ || !index.isValid() || index.row() >= rows_) return {};
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    return QString::fromStdString(Cp1252ToUtf8(FormatListLine(*store_, index.row())));
}

}  // namespace belvaron::gui
