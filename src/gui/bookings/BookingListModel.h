#pragma once

#include <QAbstractListModel>

namespace belvaron {
class BookingStore;
}

namespace belvaron::gui {

// The booking list: row i shows the list line of booking i of the store,
// formatted when the view asks for it. The row count is taken at each
// refill, so a store that changes in between is not read beyond it.
class BookingListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void Clear();
    void Refill(const BookingStore& store);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const BookingStore* store_ = nullptr;
    int rows_ = 0;
};

}  // namespace belvaron::gui
