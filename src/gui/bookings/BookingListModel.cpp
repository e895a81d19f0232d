#include "gui/bookings/BookingListModel.h"

#include <QColor>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <charconv>
#include <string_view>
#include <unordered_map>

#include "core/base/CodePage.h"
#include "core/base/FixedText.h"
#include "core/bookings/Amounts.h"
#include "core/bookings/BookingStore.h"
#include "core/bookings/Dates.h"

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

// Windows-1252 lower case of one byte (ASCII, Latin-1 letters, Š Œ Ž Ÿ).
char LowerByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) {
        return static_cast<char>(u + 32);
    }
    if (u == 0x8A || u == 0x8C || u == 0x8E) return static_cast<char>(u + 16);
    if (u == 0x9F) return static_cast<char>(0xFF);
    return c;
}

// `needle` (lower case) occurs in `text`, ignoring the case of `text`.
bool ContainsLower(std::string_view text, std::string_view needle) {
    if (needle.size() > text.size()) return false;
    for (std::size_t start = 0; start + needle.size() <= text.size(); ++start) {
        std::size_t i = 0;
        while (i < needle.size() && LowerByte(text[start + i]) == needle[i]) ++i;
        if (i == needle.size()) return true;
    }
    return false;
}

bool NumberContains(int32_t value, std::string_view needle) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string_view(digits, static_cast<std::size_t>(end - digits)).find(needle) !=
           std::string_view::npos;
}

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

// The sort key of a numeric column; amounts that are no German amount sort
// first.
int64_t NumericKey(const BookingRecord& b, int column) {
    switch (column) {
        case BookingListModel::Nr:
            return b.bookingNo;
        case BookingListModel::Datum:
            return DateKey(b.date);
        case BookingListModel::Soll:
            return b.sollAccount;
        case BookingListModel::Haben:
            return b.habenAccount;
        case BookingListModel::BU:
            return b.datevKey;
        case BookingListModel::MwSt:
            return b.vatRate;
        case BookingListModel::Betrag:
            return AmountCents(FieldText(b.amount)).value_or(INT64_MIN);
        default:
            return 0;
    }
}

bool IsDigitByte(char c) { return c >= '0' && c <= '9'; }

// Compares as people read document numbers: case ignored, runs of digits
// by their value ("RE-7" before "RE-10"). <0, 0, >0.
int NaturalCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigitByte(a[i]) && IsDigitByte(b[j])) {
            while (i < a.size() && a[i] == '0') ++i;
            while (j < b.size() && b[j] == '0') ++j;
            std::size_t ei = i;
            std::size_t ej = j;
            while (ei < a.size() && IsDigitByte(a[ei])) ++ei;
            while (ej < b.size() && IsDigitByte(b[ej])) ++ej;
            if (ei - i != ej - j) return ei - i < ej - j ? -1 : 1;
            if (const int c = a.substr(i, ei - i).compare(b.substr(j, ej - j)); c != 0) return c;
            i = ei;
            j = ej;
            continue;
        }
        const auto ca = static_cast<unsigned char>(LowerByte(a[i]));
        const auto cb = static_cast<unsigned char>(LowerByte(b[j]));
        if (ca != cb) return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    return j < b.size() ? -1 : 0;
}

// The rank of each row's text among the distinct texts of `rows`, in
// natural order, by store index (texts that compare equal share a rank).
// Journals repeat their names and document prefixes: sorting the distinct
// texts once and the rows by integer is much faster than comparing texts
// row against row.
template <typename TextOf>
std::vector<int64_t> TextRanks(const std::vector<int32_t>& rows, std::size_t storeRows,
                               TextOf textOf, int64_t* distinctCount) {
    std::unordered_map<std::string_view, int64_t> ids;
    std::vector<std::string_view> distinct;
    std::vector<int64_t> key(storeRows);
    for (const int32_t row : rows) {
        const auto [it, inserted] =
            ids.try_emplace(textOf(row), static_cast<int64_t>(distinct.size()));
        if (inserted) distinct.push_back(it->first);
        key[static_cast<std::size_t>(row)] = it->second;
    }
    std::vector<std::size_t> byText(distinct.size());
    for (std::size_t i = 0; i < byText.size(); ++i) byText[i] = i;
    std::sort(byText.begin(), byText.end(), [&distinct](std::size_t a, std::size_t b) {
        return NaturalCompare(distinct[a], distinct[b]) < 0;
    });
    std::vector<int64_t> rank(distinct.size());
    int64_t r = 0;
    for (std::size_t i = 0; i < byText.size(); ++i) {
        if (i > 0 && NaturalCompare(distinct[byText[i - 1]], distinct[byText[i]]) != 0) ++r;
        rank[byText[i]] = r;
    }
    for (const int32_t row : rows) {
        key[static_cast<std::size_t>(row)] =
            rank[static_cast<std::size_t>(key[static_cast<std::size_t>(row)])];
    }
    if (distinctCount) *distinctCount = r + 1;
    return key;
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
    std::string bytes = Utf8ToCp1252(text.trimmed().toStdString());
    std::transform(bytes.begin(), bytes.end(), bytes.begin(), LowerByte);
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
    if (filterBytes_.empty()) return true;
    return ContainsLower(FieldText(b.beleg), filterBytes_) ||
           ContainsLower(FieldText(b.name), filterBytes_) ||
           ContainsLower(FieldText(b.purpose), filterBytes_) ||
           NumberContains(b.sollAccount, filterBytes_) ||
           NumberContains(b.habenAccount, filterBytes_);
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
    if (sortColumn_ < 0) return;
    const BookingStore& store = *store_;
    const auto rows = static_cast<std::size_t>(storeRows_);
    // One integer key per row first: each comparison is then two loads.
    std::vector<int64_t> keys;
    switch (sortColumn_) {
        case Beleg:
            keys = TextRanks(
                order_, rows, [&store](int32_t i) { return FieldText(store[i].beleg); }, nullptr);
            break;
        case Waehrung:
            keys = TextRanks(
                order_, rows, [&store](int32_t i) { return FieldText(store[i].currency); },
                nullptr);
            break;
        case Text: {
            // By name, then by purpose.
            int64_t purposes = 1;
            const std::vector<int64_t> purpose = TextRanks(
                order_, rows, [&store](int32_t i) { return FieldText(store[i].purpose); },
                &purposes);
            keys = TextRanks(
                order_, rows, [&store](int32_t i) { return FieldText(store[i].name); }, nullptr);
            for (const int32_t i : order_) {
                const auto at = static_cast<std::size_t>(i);
                keys[at] = keys[at] * purposes + purpose[at];
            }
            break;
        }
        default:
            keys.resize(rows);
            for (const int32_t i : order_) {
                keys[static_cast<std::size_t>(i)] = NumericKey(store[i], sortColumn_);
            }
            break;
    }
    const bool descending = sortOrder_ == Qt::DescendingOrder;
    std::stable_sort(order_.begin(), order_.end(), [&](int32_t a, int32_t b) {
        const int64_t ka = keys[static_cast<std::size_t>(a)];
        const int64_t kb = keys[static_cast<std::size_t>(b)];
        return descending ? kb < ka : ka < kb;
    });
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
