#include "gui/bookings/BookingListModel.h"

#include <QColor>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <string_view>

#include "core/base/CodePage.h"
#include "core/base/FixedText.h"
#include "core/bookings/Amounts.h"
#include "core/bookings/BookingStore.h"
#include "gui/bookings/LedgerRows.h"

namespace belvaron::gui {

namespace {

struct ColumnInfo {
    const char* heading;
    bool rightAligned;
};

// The ledger's columns, in the order of BookingListModel::Column.
constexpr ColumnInfo kColumns[BookingListModel::ColumnCount] = {
    {"Nr.", true}, {"Datum", false}, {"Beleg", false}, {"Soll", true},     {"Haben", true},
    {"BU", true},  {"MwSt", true},   {"Betrag", true}, {"Währung", false}, {"Text", false},
};

const QColor kZeroAccountBackground(255, 214, 214);
const QColor kRedatedBackground(214, 232, 255);

QString ScreenText(std::string_view bytes) { return QString::fromStdString(Cp1252ToUtf8(bytes)); }

QIcon Dot(const QColor& color) {
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(color.darker(160));
    painter.setBrush(color);
    painter.drawEllipse(1, 1, 10, 10);
    return QIcon(pixmap);
}

}  // namespace

BookingListModel::BookingListModel(QObject* parent)
    : QAbstractTableModel(parent),
      zeroIcon_(Dot(QColor(214, 40, 40))),
      redatedIcon_(Dot(QColor(40, 100, 214))) {}

void BookingListModel::Clear() {
    beginResetModel();
    store_ = nullptr;
    storeRows_ = 0;
    marked_.clear();
    Rebuild();
    endResetModel();
}

void BookingListModel::Refill(const BookingStore& store, std::span<const int> marked) {
    beginResetModel();
    store_ = &store;
    storeRows_ = store.bookingCount > 0 ? store.bookingCount : 0;
    marked_.assign(static_cast<std::size_t>(storeRows_), false);
    for (const int i : marked) {
        if (i >= 0 && i < storeRows_) marked_[static_cast<std::size_t>(i)] = true;
    }
    Rebuild();
    endResetModel();
}

int BookingListModel::StoreIndex(int row) const {
    if (row < 0 || row >= rowCount()) return -1;
    return identity_ ? row : order_[static_cast<std::size_t>(row)];
}

int BookingListModel::RowOf(int storeIndex) const {
    if (storeIndex < 0 || storeIndex >= storeRows_) return -1;
    if (identity_) return storeIndex;
    const auto it = std::find(order_.begin(), order_.end(), storeIndex);
    return it == order_.end() ? -1 : static_cast<int>(it - order_.begin());
}

std::vector<int> BookingListModel::MarkedRows() const {
    std::vector<int> rows;
    for (int i = 0; i < storeRows_; ++i) {
        if (marked_[static_cast<std::size_t>(i)]) rows.push_back(i);
    }
    return rows;
}

void BookingListModel::SetFilter(const QString& text, Show show) {
    std::string bytes = LowerCp1252(Utf8ToCp1252(text.trimmed().toStdString()));
    if (bytes == filterBytes_ && show == show_) return;
    beginResetModel();
    filterBytes_ = std::move(bytes);
    show_ = show;
    Rebuild();
    endResetModel();
}

void BookingListModel::sort(int column, Qt::SortOrder order) {
    beginResetModel();
    sortColumn_ = column >= 0 && column < ColumnCount ? column : -1;
    sortOrder_ = order;
    Rebuild();
    endResetModel();
}

int BookingListModel::Flags(int storeIndex) const {
    const BookingRecord& b = (*store_)[storeIndex];
    int flags = 0;
    if (b.sollAccount == 0 || b.habenAccount == 0) flags |= ZeroAccount;
    if (b.redated > 0) flags |= Redated;
    if (marked_[static_cast<std::size_t>(storeIndex)]) flags |= Marked;
    return flags;
}

bool BookingListModel::PassesFilter(int storeIndex) const {
    const BookingRecord& b = (*store_)[storeIndex];
    if (show_ == Show::ZeroAccount && b.sollAccount != 0 && b.habenAccount != 0) return false;
    if (show_ == Show::Redated && b.redated <= 0) return false;
    return filterBytes_.empty() || MatchesSearch(b, filterBytes_);
}

void BookingListModel::Rebuild() {
    const bool filtered = !filterBytes_.empty() || show_ != Show::All;
    identity_ = !filtered && sortColumn_ < 0;
    order_.clear();
    order_.shrink_to_fit();
    if (store_ && !identity_) {
        order_.reserve(static_cast<std::size_t>(storeRows_));
        for (int i = 0; i < storeRows_; ++i) {
            if (!filtered || PassesFilter(i)) order_.push_back(i);
        }
        ApplySort();
    }
    CountTotals();
}

void BookingListModel::ApplySort() {
    if (sortColumn_ >= 0) {
        SortRows(order_, *store_, sortColumn_, sortOrder_ == Qt::DescendingOrder);
    }
}

void BookingListModel::CountTotals() {
    totals_ = Totals{};
    totals_.rows = rowCount();
    totals_.storeRows = storeRows_;
    for (int row = 0; row < totals_.rows; ++row) {
        const BookingRecord& b = (*store_)[StoreIndex(row)];
        if (b.sollAccount == 0 || b.habenAccount == 0) ++totals_.zeroAccount;
        const std::optional<int64_t> cents = AmountCents(FieldText(b.amount));
        if (!cents) {
            ++totals_.unreadable;
        } else if (!totals_.overflow &&
                   __builtin_add_overflow(totals_.cents, *cents, &totals_.cents)) {
            totals_.overflow = true;
        }
    }
}

QString BookingListModel::StatusText() const {
    const QLocale german(QLocale::German, QLocale::Germany);
    QString text =
        totals_.rows == totals_.storeRows
            ? QStringLiteral("%1 Buchungen").arg(german.toString(totals_.rows))
            : QStringLiteral("%1 von %2 Buchungen")
                  .arg(german.toString(totals_.rows), german.toString(totals_.storeRows));
    text += totals_.overflow ? QStringLiteral(" · Summe zu groß")
                             : QStringLiteral(" · Summe %1")
                                   .arg(QString::fromStdString(GermanAmount(totals_.cents)));
    text += QStringLiteral(" · %1 mit Konto 0").arg(german.toString(totals_.zeroAccount));
    if (totals_.unreadable > 0) {
        text += QStringLiteral(" · %1 Beträge nicht lesbar (nicht in der Summe)")
                    .arg(german.toString(totals_.unreadable));
    }
    return text;
}

int BookingListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !store_) return 0;
    return identity_ ? storeRows_ : static_cast<int>(order_.size());
}

int BookingListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString BookingListModel::DisplayText(int storeIndex, int column) const {
    const BookingRecord& b = (*store_)[storeIndex];
    switch (column) {
        case Nr:
            return QString::number(b.bookingNo);
        case Datum:
            return ScreenText(FieldText(b.date));
        case Beleg:
            return ScreenText(FieldText(b.beleg));
        case Soll:
            return QString::number(b.sollAccount);
        case Haben:
            return QString::number(b.habenAccount);
        case BU:
            return b.datevKey != 0 ? QString::number(b.datevKey) : QString();
        case MwSt:
            return QString::number(b.vatRate);
        case Betrag: {
            const std::optional<int64_t> cents = AmountCents(FieldText(b.amount));
            return cents ? QString::fromStdString(GermanAmount(*cents))
                         : ScreenText(FieldText(b.amount));
        }
        case Waehrung:
            return ScreenText(FieldText(b.currency));
        case Text: {
            std::string text(FieldText(b.name));
            const std::string_view purpose = FieldText(b.purpose);
            if (!text.empty() && !purpose.empty()) text += ", ";
            text += purpose;
            return ScreenText(text);
        }
        default:
            return {};
    }
}

QVariant BookingListModel::data(const QModelIndex& index, int role) const {
    const int storeIndex = StoreIndex(index.row());
    if (storeIndex < 0 || index.column() < 0 || index.column() >= ColumnCount) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return DisplayText(storeIndex, index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(kColumns[index.column()].rightAligned
                                                         ? Qt::AlignRight
                                                         : Qt::AlignLeft) |
                                       Qt::AlignVCenter);
        case FlagsRole:
            return Flags(storeIndex);
        case StoreIndexRole:
            return storeIndex;
        default:
            break;
    }
    const int flags = Flags(storeIndex);
    switch (role) {
        case Qt::BackgroundRole:
            if (flags & ZeroAccount) return kZeroAccountBackground;
            if (flags & Redated) return kRedatedBackground;
            return {};
        case Qt::ForegroundRole:
            if (flags & (ZeroAccount | Redated)) return QColor(Qt::black);
            return {};
        case Qt::DecorationRole:
            if (index.column() != Nr) return {};
            if (flags & ZeroAccount) return zeroIcon_;
            if (flags & Redated) return redatedIcon_;
            return {};
        case Qt::ToolTipRole: {
            QStringList tips;
            if (flags & ZeroAccount) {
                tips << QStringLiteral(
                    "Konto 0: SOLL- oder HABEN-Konto fehlt (vor dem Export "
                    "ersetzen, bearbeiten oder löschen)");
            }
            if (flags & Redated) {
                tips << QStringLiteral(
                    "Umdatiert: Zahlungsdatum aus dem MwSt-Bericht "
                    "(IST-Besteuerung)");
            }
            if (tips.isEmpty()) return {};
            return tips.join(QLatin1Char('\n'));
        }
        default:
            return {};
    }
}

QVariant BookingListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) return QString::fromUtf8(kColumns[section].heading);
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(
            Qt::Alignment(kColumns[section].rightAligned ? Qt::AlignRight : Qt::AlignLeft) |
            Qt::AlignVCenter);
    }
    return {};
}

}  // namespace belvaron::gui
