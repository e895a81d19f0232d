// A benchmark run by hand, not by CTest: a million bookings in the ledger,
// half of them with account 0 (every second row, so no marks form ranges),
// against the same million without any. Prints the time of a refill, of
// painting the view at 200 scroll positions, of sorting and of filtering.
//   QT_QPA_PLATFORM=offscreen build/bin/bench_ledger
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <cstdio>
#include <string>
#include <vector>

#include "core/base/FixedText.h"
#include "core/bookings/BookingStore.h"
#include "gui/bookings/BookingListModel.h"
#include "gui/bookings/BookingListView.h"

using namespace belvaron;
using namespace belvaron::gui;

namespace {

constexpr int kRows = 1'000'000;

void Fill(BookingStore& store, bool withZeroAccounts) {
    for (int i = 0; i < kRows; ++i) {
        BookingRecord* b = store.AppendRoom();
        *b = BookingRecord{};
        b->bookingNo = i + 1;
        SetField(b->date, std::to_string(1 + i % 28) + ".0" + std::to_string(1 + i % 9) + ".2025");
        SetField(b->beleg, "RE-" + std::to_string(i % 9973));
        SetField(b->name, "Kunde " + std::to_string(i % 541));
        SetField(b->purpose, "Wartung");
        b->sollAccount = withZeroAccounts && i % 2 == 1 ? 0 : 1400;
        b->habenAccount = 8400;
        b->vatRate = 19;
        b->redated = i % 3 == 0 ? 1 : 0;
        SetField(b->amount, std::to_string(i % 100000) + "," + std::to_string(10 + i % 90));
        SetField(b->currency, "EUR");
        ++store.bookingCount;
    }
}

double Ms(QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

void Run(const char* name, bool withZeroAccounts) {
    BookingStore store(kRows);
    Fill(store, withZeroAccounts);
    std::vector<int> marked;
    for (int i = 0; i < kRows; ++i) {
        if (store[i].sollAccount == 0) marked.push_back(i);
    }
    BookingListModel model;
    BookingListView view;
    view.SetBookingModel(&model);
    view.resize(1300, 600);
    view.show();
    QElapsedTimer timer;
    timer.start();
    model.Refill(store, marked);
    const double refill = Ms(timer);
    QScrollBar* bar = view.verticalScrollBar();
    timer.restart();
    for (int step = 0; step < 200; ++step) {
        bar->setValue(static_cast<int>(static_cast<int64_t>(bar->maximum()) * step / 199));
        view.viewport()->grab();  // paints the visible rows
    }
    const double paint = Ms(timer);
    timer.restart();
    model.sort(BookingListModel::Betrag, Qt::DescendingOrder);
    const double sortAmount = Ms(timer);
    timer.restart();
    model.sort(BookingListModel::Text);
    const double sortText = Ms(timer);
    timer.restart();
    model.sort(-1);
    model.SetFilter(QString(), BookingListModel::Show::ZeroAccount);
    const double filterZero = Ms(timer);
    timer.restart();
    model.SetFilter(QStringLiteral("kunde 54"), BookingListModel::Show::All);
    const double filterText = Ms(timer);
    std::printf(
        "%-22s marks %7zu  refill %6.1f ms  200 scroll paints %7.1f ms  sort Betrag %6.1f ms  "
        "sort Text %6.1f ms  nur Konto 0 %6.1f ms  text filter %6.1f ms (%d rows)\n",
        name, marked.size(), refill, paint, sortAmount, sortText, filterZero, filterText,
        model.rowCount());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Run("without account 0", false);
    Run("every second account 0", true);
    return 0;
}
