#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace belvaron {
class BookingStore;
}

namespace belvaron::gui {

// The ledger: one row per booking of the store, one column per field, read
// from the store when the view asks (nothing is copied into strings). The
// rows the view shows are the store's bookings in store order, or a
// permutation of them when a heading sorted the view or a filter narrowed
// it; the store itself is never reordered. Each row's markers (account 0,
// re-dated) come from its booking, the program's marks (the rows a refill
// points at; the window puts the caret on the first) from a bit vector:
// neither is the selection, so no click removes them.
//
// The row count is taken at each refill, so a store that changes in between
// is not read beyond it.
class BookingListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Nr, Datum, Beleg, Soll, Haben, BU, MwSt, Betrag, Waehrung, Text, ColumnCount };
    enum RowFlag { ZeroAccount = 1, Redated = 2, Marked = 4 };
    // Qt::UserRole + ...: the row's RowFlags (int) and its store index (int).
    static constexpr int FlagsRole = Qt::UserRole + 1;
    static constexpr int StoreIndexRole = Qt::UserRole + 2;
    // The choice beside the filter field.
    enum class Show { All, ZeroAccount, Redated };

    // The figures of the status line, over the rows shown.
    struct Totals {
        int rows = 0;
        int storeRows = 0;
        int64_t cents = 0;      // sum of the readable amounts
        int unreadable = 0;     // amounts that are no German amount
        int zeroAccount = 0;    // rows with SOLL or HABEN account 0
        bool overflow = false;  // the sum left the int64 range
    };

    explicit BookingListModel(QObject* parent = nullptr);

    void Clear();
    // Shows the store; `marked` are store indices (ascending) to mark. The
    // sort and the filter stay as they were.
    void Refill(const BookingStore& store, std::span<const int> marked = {});

    // View row -> store index (-1 outside), store index -> view row (-1 when
    // the row is filtered out).
    int StoreIndex(int row) const;
    int RowOf(int storeIndex) const;
    // The marked store indices, ascending.
    std::vector<int> MarkedRows() const;

    // Narrows the view: `text` (case-insensitive) found in Beleg, Text or an
    // account number, and the choice `show`. Empty text and Show::All show
    // every booking.
    void SetFilter(const QString& text, Show show);
    // Sorts the view by `column` (stable: equal keys keep store order);
    // column -1 returns to the store's order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const { return sortColumn_; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }

    const Totals& totals() const { return totals_; }
    // "44 Buchungen · Summe 1.234,56 · 1 mit Konto 0", with "12 von 44" while
    // filtered.
    QString StatusText() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    int Flags(int storeIndex) const;
    QString DisplayText(int storeIndex, int column) const;
    bool PassesFilter(int storeIndex) const;
    // Rebuilds the row permutation from the store, the filter and the sort,
    // and the totals; callers wrap it in a model reset.
    void Rebuild();
    void ApplySort();
    void CountTotals();

    const BookingStore* store_ = nullptr;
    int storeRows_ = 0;
    bool identity_ = true;        // view row == store index; order_ unused
    std::vector<int32_t> order_;  // view row -> store index
    std::vector<bool> marked_;    // by store index
    std::string filterBytes_;     // Windows-1252, lower case
    Show show_ = Show::All;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    Totals totals_;
    QIcon zeroIcon_;
    QIcon redatedIcon_;
};

}  // namespace belvaron::gui
