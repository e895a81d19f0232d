#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/app/MainWindow.h"
#include "gui/bookings/BookingListModel.h"
#include "gui/bookings/BookingListView.h"

// The main window's ledger: the booking table with its search, its choice
// and its status line, and the window's first size.
namespace belvaron::gui {

void MainWindow::FitInto(const QRect& available) {
    // A roomy first size for the list, within the screen's free area less
    // the window frame.
    const QFontMetrics fm = fontMetrics();
    const QSize wanted(qMax(content_->sizeHint().width(), fm.averageCharWidth() * 150),
                       qMax(content_->sizeHint().height(), fm.lineSpacing() * 48));
    const QSize frame(16, 48);
    resize(wanted.boundedTo(available.size() - frame));
}

QWidget* MainWindow::BuildLedger() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Suchen:"), box);
    filter_ = new QLineEdit(box);
    filter_->setObjectName(QStringLiteral("bookingFilter"));
    filter_->setPlaceholderText(QStringLiteral("Beleg, Text oder Konto"));
    filter_->setClearButtonEnabled(true);
    label->setBuddy(filter_);
    show_ = new QComboBox(box);
    show_->setObjectName(QStringLiteral("bookingShow"));
    show_->addItems({QStringLiteral("alle Buchungen"), QStringLiteral("nur Konto 0"),
                     QStringLiteral("nur umdatierte")});
    row->addWidget(label);
    row->addWidget(filter_, 1);
    row->addWidget(show_);
    layout->addLayout(row);

    model_ = new BookingListModel(this);
    list_ = new BookingListView(box);
    list_->setObjectName(QStringLiteral("bookingList"));
    list_->SetBookingModel(model_);
    // The list gives way first when the screen is small.
    list_->setMinimumHeight(list_->verticalHeader()->defaultSectionSize() * 4 +
                            list_->horizontalHeader()->sizeHint().height());
    list_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(list_, &BookingListView::editRequested, this, &MainWindow::OnEditRequested);
    layout->addWidget(list_, 1);

    listStatus_ = new QLabel(box);
    listStatus_->setObjectName(QStringLiteral("bookingStatus"));
    listStatus_->setTextFormat(Qt::PlainText);
    layout->addWidget(listStatus_);

    // Typing narrows the list after a short pause, not at every key.
    filterTimer_ = new QTimer(this);
    filterTimer_->setSingleShot(true);
    filterTimer_->setInterval(200);
    connect(filterTimer_, &QTimer::timeout, this, &MainWindow::ApplyFilter);
    connect(filter_, &QLineEdit::textChanged, filterTimer_, qOverload<>(&QTimer::start));
    connect(show_, &QComboBox::currentIndexChanged, this, &MainWindow::ApplyFilter);
    connect(model_, &QAbstractItemModel::modelReset, this, &MainWindow::ShowListStatus);
    ShowListStatus();
    return box;
}

void MainWindow::ApplyFilter() {
    filterTimer_->stop();
    const int storeIndex = model_->StoreIndex(list_->currentIndex().row());
    const BookingListModel::Show shows[] = {BookingListModel::Show::All,
                                            BookingListModel::Show::ZeroAccount,
                                            BookingListModel::Show::Redated};
    model_->SetFilter(filter_->text(), shows[qBound(0, show_->currentIndex(), 2)]);
    if (storeIndex >= 0) list_->ShowBooking(storeIndex);
}

void MainWindow::ShowListStatus() {
    listStatus_->setText(model_->rowCount() > 0 || model_->totals().storeRows > 0
                             ? model_->StatusText()
                             : QStringLiteral("keine Buchungen"));
}

void MainWindow::ClearBookings() {
    savedRows_ = model_->totals().storeRows;
    savedScroll_ = list_->verticalScrollBar()->value();
    savedCurrent_ = model_->StoreIndex(list_->currentIndex().row());
    model_->Clear();
}

void MainWindow::ShowBookings(const BookingStore& store, std::span<const int> marked) {
    model_->Refill(store, marked);
    // A refill of the same bookings keeps the place the user was looking at;
    // the caret goes to the first marked booking.
    if (savedRows_ == model_->totals().storeRows && savedRows_ > 0) {
        if (savedCurrent_ >= 0 && model_->RowOf(savedCurrent_) >= 0) {
            list_->selectionModel()->setCurrentIndex(model_->index(model_->RowOf(savedCurrent_), 0),
                                                     QItemSelectionModel::NoUpdate);
        }
        list_->verticalScrollBar()->setValue(savedScroll_);
    }
    if (!marked.empty()) list_->ShowBooking(marked.front());
    savedRows_ = -1;
}

}  // namespace belvaron::gui
