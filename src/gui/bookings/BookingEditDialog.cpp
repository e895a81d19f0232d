#include "gui/bookings/BookingEditDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "core/base/CodePage.h"
#include "core/base/UiPort.h"
#include "core/bookings/BookingStore.h"
#include "gui/app/ProgramIcon.h"

namespace belvaron::gui {

namespace {

// The rows of the window: left field, right field (or none).
struct Row {
    EditorField left;
    std::optional<EditorField> right;
};
const Row kRows[] = {
    {EditorField::BookingNo, EditorField::Date},
    {EditorField::DatevKey, std::nullopt},
    {EditorField::SollAccount, EditorField::HabenAccount},
    {EditorField::VatRate, std::nullopt},
    {EditorField::Amount, EditorField::Currency},
    {EditorField::Beleg, std::nullopt},
    {EditorField::Name, std::nullopt},
    {EditorField::Purpose, std::nullopt},
};

QString Show(const std::string& bytes) { return QString::fromStdString(Cp1252ToUtf8(bytes)); }

}  // namespace

BookingEditDialog::BookingEditDialog(QWidget* parent, UiPort& ui, BookingStore& store, int index)
    : QDialog(parent), ui_(ui), store_(store), index_(index) {
    setWindowTitle(QStringLiteral("Eintrag editieren:"));
    setWindowIcon(ProgramIcon());
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    const int charWidth = fontMetrics().averageCharWidth();
    for (int r = 0; r < static_cast<int>(std::size(kRows)); ++r) {
        const Row& row = kRows[r];
        QLineEdit* left = MakeField(row.left);
        auto* leftLabel = new QLabel(QString::fromUtf8(EditorFieldFor(row.left).label), this);
        leftLabel->setBuddy(left);
        grid->addWidget(leftLabel, r, 0);
        const bool wide = !row.right && EditorFieldFor(row.left).maxChars >= 40;
        grid->addWidget(left, r, 1, 1, wide ? 3 : 1);
        if (row.right) {
            QLineEdit* right = MakeField(*row.right);
            auto* rightLabel =
                new QLabel(QString::fromUtf8(EditorFieldFor(*row.right).label), this);
            rightLabel->setBuddy(right);
            grid->addWidget(rightLabel, r, 2);
            grid->addWidget(right, r, 3);
        }
    }
    grid->setColumnMinimumWidth(1, charWidth * 22);
    grid->setColumnMinimumWidth(3, charWidth * 22);

    auto* buttons = new QDialogButtonBox(this);
    save_ =
        buttons->addButton(QStringLiteral("Änderungen speichern"), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    save_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &BookingEditDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &BookingEditDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addWidget(buttons);

    // Tab order: row by row, left before right, then the buttons.
    QWidget* previous = nullptr;
    for (const Row& row : kRows) {
        for (auto f : {std::optional<EditorField>(row.left), row.right}) {
            if (!f) continue;
            if (previous) setTabOrder(previous, Field(*f));
            previous = Field(*f);
        }
    }
    setTabOrder(previous, save_);
    setTabOrder(save_, cancel_);

    if (index_ >= 0 && index_ < store_.bookingCount) {
        const EditorTexts texts = ReadEditorTexts(store_[index_]);
        for (const auto& info : kEditorFields)
            Field(info.field)->setText(Show(At(texts, info.field)));
    }
    Field(EditorField::BookingNo)->setFocus();
}

QLineEdit* BookingEditDialog::MakeField(EditorField field) {
    auto* edit = new QLineEdit(this);
    const EditorFieldInfo& info = EditorFieldFor(field);
    if (info.maxChars > 0) edit->setMaxLength(info.maxChars);
    edit->setAccessibleName(QString::fromUtf8(info.label));
    fields_[static_cast<std::size_t>(field)] = edit;
    return edit;
}

void BookingEditDialog::accept() {
    if (index_ < 0 || index_ >= store_.bookingCount) {
        QDialog::reject();
        return;
    }
    EditorTexts texts;
    for (const auto& info : kEditorFields) {
        At(texts, info.field) = Utf8ToCp1252(Field(info.field)->text().toStdString());
    }
    const EditorCheck check = WriteEditorTexts(texts, store_[index_]);
    if (!check.ok) {
        ShowPlain(ui_, check.message);
        QLineEdit* failed = Field(check.field);
        failed->setFocus(Qt::OtherFocusReason);
        failed->selectAll();
        return;
    }
    QDialog::accept();
}

}  // namespace belvaron::gui
