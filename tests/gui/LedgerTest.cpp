// The ledger: the booking table's columns and markers, the view's sort and
// filter, the status line, and the way back from a view row to its booking.
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "GuiTestSupport.h"
#include "WorkflowTestAccess.h"
#include "core/base/FixedText.h"
#include "gui/app/MainWindow.h"
#include "gui/bookings/BookingEditDialog.h"
#include "gui/bookings/BookingListModel.h"
#include "gui/bookings/BookingListView.h"

using namespace belvaron;
using namespace belvaron::gui;

namespace {

struct Row {
    int no;
    const char* date;
    const char* beleg;
    int soll;
    int haben;
    const char* amount;
    const char* name;
    const char* purpose;
    bool redated;
};

// Store order as a load leaves it (by date). Two equal amounts (rows 0 and
// 3) show that sorting keeps the store order of equal keys; row 4's amount
// is no German amount.
const Row kRows[] = {
    {11, "02.01.2025", "RE-7", 1400, 8400, "1.190,00", "M\xfcller GmbH", "Wartung", false},
    {12, "03.01.2025", "RE-8", 0, 8400, "-1234,56", "Bauer", "Gutschrift", false},
    {13, "04.01.2025", "KA-1", 1200, 1400, "25.000,00", "Kasse", "", true},
    {14, "05.01.2025", "RE-9", 4210, 0, "1.190,00", "Schmidt", "Miete", true},
    {15, "06.01.2025", "RE-10", 4210, 1200, "84,3O", "", "Tippfehler", false},
};

void Fill(BookingStore& store) {
    for (const Row& r : kRows) {
        BookingRecord* b = store.AppendRoom();
        QVERIFY(b);
        *b = BookingRecord{};
        b->bookingNo = r.no;
        SetField(b->date, r.date);
        SetField(b->beleg, r.beleg);
        SetField(b->name, r.name);
        SetField(b->purpose, r.purpose);
        b->sollAccount = r.soll;
        b->habenAccount = r.haben;
        b->vatRate = 19;
        b->datevKey = r.no == 13 ? 9 : 0;
        SetField(b->amount, r.amount);
        SetField(b->currency, "EUR");
        b->redated = r.redated ? 1 : 0;
        ++store.bookingCount;
    }
    store.journalLoaded = true;
}

std::vector<int> BookingNumbersShown(const QAbstractItemModel* model) {
    std::vector<int> numbers;
    for (int r = 0; r < model->rowCount(); ++r) {
        numbers.push_back(model->index(r, BookingListModel::Nr).data().toInt());
    }
    return numbers;
}

std::vector<int> BookingNumbersStored(const BookingStore& store) {
    std::vector<int> numbers;
    for (int i = 0; i < store.bookingCount; ++i) numbers.push_back(store[i].bookingNo);
    return numbers;
}

}  // namespace

class LedgerTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<test::RecordingUi> rec_;
    std::unique_ptr<MainWindow> window_;

    BookingListView* List() { return window_->bookingList(); }
    QAbstractItemModel* Model() { return window_->bookingList()->model(); }
    const BookingStore& Store() { return window_->workflow().store(); }
    QString Status() {
        return window_->findChild<QLabel*>(QStringLiteral("bookingStatus"))->text();
    }
    void ClickHeading(int column) {
        QHeaderView* header = List()->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    }

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        test::KeepSettingsIn(*folder_);
        rec_ = std::make_unique<test::RecordingUi>();
        window_ = test::OpenWindowIn(*folder_, rec_->ui);
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        BookingStore& store = WorkflowTestAccess::Store(window_->workflow());
        Fill(store);
        const int marked[] = {1, 3};
        rec_->ui.ListCleared();
        rec_->ui.ListRefilled(store, marked);
    }
    void cleanup() {
        window_.reset();
        rec_.reset();
        folder_.reset();
    }

    void columns_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("text");  // of row 1
        QTest::addColumn<bool>("right");
        const struct {
            int column;
            const char* heading;
            const char* text;
            bool right;
        } rows[] = {
            {BookingListModel::Nr, "Nr.", "12", true},
            {BookingListModel::Datum, "Datum", "03.01.2025", false},
            {BookingListModel::Beleg, "Beleg", "RE-8", false},
            {BookingListModel::Soll, "Soll", "0", true},
            {BookingListModel::Haben, "Haben", "8400", true},
            {BookingListModel::BU, "BU", "", true},
            {BookingListModel::MwSt, "MwSt", "19", true},
            {BookingListModel::Betrag, "Betrag", "-1.234,56", true},
            {BookingListModel::Waehrung, "Währung", "EUR", false},
            {BookingListModel::Text, "Text", "Bauer, Gutschrift", false},
        };
        for (const auto& r : rows) {
            QTest::newRow(r.heading)
                << r.column << QString::fromUtf8(r.heading) << QString::fromUtf8(r.text) << r.right;
        }
    }
    // Each column: its heading, the text of one booking (the amount in the
    // German form whatever the journal wrote), numbers right-aligned.
    void columns() {
        QFETCH(int, column);
        QFETCH(QString, heading);
        QFETCH(QString, text);
        QFETCH(bool, right);
        QCOMPARE(Model()->columnCount(), int(BookingListModel::ColumnCount));
        QCOMPARE(Model()->headerData(column, Qt::Horizontal).toString(), heading);
        const QModelIndex index = Model()->index(1, column);
        QCOMPARE(index.data().toString(), text);
        const auto alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        QCOMPARE(bool(alignment & Qt::AlignRight), right);
    }

    // Windows-1252 bytes reach the screen as UTF-8; an amount that is no
    // German amount is shown as written, not as a made-up figure.
    void textsAndUnreadableAmount() {
        QCOMPARE(Model()->index(0, BookingListModel::Text).data().toString(),
                 QStringLiteral("Müller GmbH, Wartung"));
        QCOMPARE(Model()->index(4, BookingListModel::Betrag).data().toString(),
                 QStringLiteral("84,3O"));
        QCOMPARE(Model()->index(2, BookingListModel::BU).data().toString(), QStringLiteral("9"));
    }

    // Account-0 and re-dated rows carry their own marker with a tooltip;
    // clicks and keys leave them.
    void markersWithTooltips() {
        const int expected[] = {
            0, BookingListModel::ZeroAccount | BookingListModel::Marked, BookingListModel::Redated,
            BookingListModel::ZeroAccount | BookingListModel::Redated | BookingListModel::Marked,
            0};
        for (int r = 0; r < 5; ++r) {
            QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                              List()->visualRect(Model()->index(r, 2)).center());
        }
        QTest::keyClick(List(), Qt::Key_Space);
        for (int r = 0; r < 5; ++r) {
            const QModelIndex index = Model()->index(r, BookingListModel::Nr);
            QCOMPARE(index.data(BookingListModel::FlagsRole).toInt(), expected[r]);
            const QString tip = index.data(Qt::ToolTipRole).toString();
            QCOMPARE(tip.contains(QStringLiteral("Konto 0")),
                     bool(expected[r] & BookingListModel::ZeroAccount));
            QCOMPARE(tip.contains(QStringLiteral("Umdatiert")),
                     bool(expected[r] & BookingListModel::Redated));
            QCOMPARE(
                index.data(Qt::DecorationRole).isValid(),
                (expected[r] & (BookingListModel::ZeroAccount | BookingListModel::Redated)) != 0);
        }
    }

    // A heading sorts the view, again reverses it, a third time returns to
    // the store's order; equal keys keep the store's order; the store (the
    // exports' order) never moves.
    void headingSortLeavesTheStore() {
        const std::vector<int> stored = BookingNumbersStored(Store());
        ClickHeading(BookingListModel::Betrag);
        // 84,3O is unreadable and sorts first; 11 and 14 are equal.
        QCOMPARE(BookingNumbersShown(Model()), (std::vector<int>{15, 12, 11, 14, 13}));
        ClickHeading(BookingListModel::Betrag);
        QCOMPARE(BookingNumbersShown(Model()), (std::vector<int>{13, 11, 14, 12, 15}));
        ClickHeading(BookingListModel::Betrag);
        QCOMPARE(BookingNumbersShown(Model()), stored);
        ClickHeading(BookingListModel::Beleg);  // RE-7 before RE-10
        QCOMPARE(BookingNumbersShown(Model()), (std::vector<int>{13, 11, 12, 14, 15}));
        QCOMPARE(BookingNumbersStored(Store()), stored);
        QCOMPARE(List()->Marks(), (std::vector<int>{1, 3}));
    }

    // A double click on a sorted view edits the booking of that row, and
    // the refill keeps the sort.
    void sortedRowEditsItsBooking() {
        ClickHeading(BookingListModel::Betrag);
        ClickHeading(BookingListModel::Betrag);  // 25.000,00 of booking 13 first
        QString name;
        test::OnNextModal([&name](QWidget* modal) {
            auto* editor = qobject_cast<BookingEditDialog*>(modal);
            QVERIFY(editor);
            name = editor->Field(EditorField::Name)->text();
            editor->Field(EditorField::Purpose)->setText(QStringLiteral("geprüft"));
            QTest::mouseClick(editor->SaveButton(), Qt::LeftButton);
        });
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {},
                           List()->visualRect(Model()->index(0, 2)).center());
        QCOMPARE(name, QStringLiteral("Kasse"));
        QCOMPARE(std::string(FieldText(Store()[2].purpose)), std::string("gepr\xfc"
                                                                         "ft"));
        QCOMPARE(BookingNumbersShown(Model()), (std::vector<int>{13, 11, 14, 12, 15}));
        QCOMPARE(Model()->index(0, BookingListModel::Text).data().toString(),
                 QStringLiteral("Kasse, geprüft"));
        QCOMPARE(List()->Marks(), std::vector<int>{2});
    }

    // The status line: count, exact sum of the readable amounts, account-0
    // rows, and the amounts left out.
    void statusLineFigures() {
        QCOMPARE(Status(), QStringLiteral("5 Buchungen · Summe 26.145,44 · 2 mit Konto 0 · 1 "
                                          "Beträge nicht lesbar (nicht in der Summe)"));
    }

    void filter_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("show");
        QTest::addColumn<std::vector<int>>("numbers");
        QTest::addColumn<QString>("status");
        QTest::newRow("Beleg") << "re-" << 0 << std::vector<int>{11, 12, 14, 15}
                               << "4 von 5 Buchungen · Summe 1.145,44 · 2 mit Konto 0 · 1 "
                                  "Beträge nicht lesbar (nicht in der Summe)";
        QTest::newRow("Text, Windows-1252") << QStringLiteral("MÜLLER") << 0 << std::vector<int>{11}
                                            << "1 von 5 Buchungen · Summe 1.190,00 · 0 mit Konto 0";
        QTest::newRow("account") << "4210" << 0 << std::vector<int>{14, 15}
                                 << "2 von 5 Buchungen · Summe 1.190,00 · 1 mit Konto 0 · 1 "
                                    "Beträge nicht lesbar (nicht in der Summe)";
        QTest::newRow("nur Konto 0") << "" << 1 << std::vector<int>{12, 14}
                                     << "2 von 5 Buchungen · Summe -44,56 · 2 mit Konto 0";
        QTest::newRow("nur umdatierte") << "" << 2 << std::vector<int>{13, 14}
                                        << "2 von 5 Buchungen · Summe 26.190,00 · 1 mit Konto 0";
        QTest::newRow("both narrow") << "re-" << 2 << std::vector<int>{14}
                                     << "1 von 5 Buchungen · Summe 1.190,00 · 1 mit Konto 0";
        QTest::newRow("nothing") << "xyz" << 0 << std::vector<int>{}
                                 << "0 von 5 Buchungen · Summe 0,00 · 0 mit Konto 0";
    }
    // The filter field and the choice narrow the view and the status line;
    // clearing them shows every booking again.
    void filter() {
        QFETCH(QString, text);
        QFETCH(int, show);
        QFETCH(std::vector<int>, numbers);
        QFETCH(QString, status);
        auto* field = window_->findChild<QLineEdit*>(QStringLiteral("bookingFilter"));
        auto* choice = window_->findChild<QComboBox*>(QStringLiteral("bookingShow"));
        QCOMPARE(choice->itemText(1), QStringLiteral("nur Konto 0"));
        QCOMPARE(choice->itemText(2), QStringLiteral("nur umdatierte"));
        field->setFocus();
        QTest::keyClicks(field, text);
        choice->setCurrentIndex(show);
        QTRY_COMPARE(BookingNumbersShown(Model()), numbers);
        QCOMPARE(Status(), status);
        field->clear();
        choice->setCurrentIndex(0);
        QTRY_COMPARE(Model()->rowCount(), 5);
    }
};

QTEST_MAIN(LedgerTest)
#include "LedgerTest.moc"
