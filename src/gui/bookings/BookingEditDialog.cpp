#include "gui/bookings/BookingEditDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "core/base/CodePage.h"
#include "core/base/UiPort.h"
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

BookingEditDialog::BookingEditDialog(QWidget* parent, UiPort& ui, const BookingRecord& booking)
    : QDialog(parent), ui_(ui), booking_(booking) {
    setWindowTitle(QStringLiteral("Eintrag editieren:"));
    setWindowIcon(ProgramIcon());
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    const int charWidth = fontMetrics().averageCharWidth();
    // Each row of fields takes two grid rows: the fields, then their problems.
    for (int r = 0; r < static_cast<int>(std::size(kRows)); ++r) {
        const Row& row = kRows[r];
        QLineEdit* left = MakeField(row.left);
        auto* leftLabel = new QLabel(QString::fromUtf8(EditorFieldFor(row.left).label), this);
        leftLabel->setBuddy(left);
        grid->addWidget(leftLabel, 2 * r, 0);
        const bool wide = !row.right && EditorFieldFor(row.left).maxChars >= 40;
        grid->addWidget(left, 2 * r, 1, 1, wide ? 3 : 1);
        grid->addWidget(ProblemLabel(row.left), 2 * r + 1, 1, 1, wide ? 3 : 1);
        if (row.right) {
            QLineEdit* right = MakeField(*row.right);
            auto* rightLabel =
                new QLabel(QString::fromUtf8(EditorFieldFor(*row.right).label), this);
            rightLabel->setBuddy(right);
            grid->addWidget(rightLabel, 2 * r, 2);
            grid->addWidget(right, 2 * r, 3);
            grid->addWidget(ProblemLabel(*row.right), 2 * r + 1, 3);
        }
    }
    grid->setColumnMinimumWidth(1, charWidth * 22);
    grid->setColumnMinimumWidth(3, charWidth * 22);

    auto* buttons = new QDialogButtonBox(this);
    save_ =
        buttons->addButton(QStringLiteral("Änderungen speichern"), QDialogButtonBox::AcceptRole);
    reset_ = buttons->addButton(QStringLiteral("Zurücksetzen"), QDialogButtonBox::ResetRole);
    cancel_ = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    save_->setDefault(true);
    reset_->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &BookingEditDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &BookingEditDialog::reject);
    connect(reset_, &QPushButton::clicked, this, &BookingEditDialog::Reset);

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
    setTabOrder(save_, reset_);
    setTabOrder(reset_, cancel_);

    const EditorTexts texts = ReadEditorTexts(booking_);
    for (const auto& info : kEditorFields) {
        opened_[static_cast<std::size_t>(info.field)] = Show(At(texts, info.field));
    }
    Reset();
    Field(EditorField::BookingNo)->setFocus();
}

QLineEdit* BookingEditDialog::MakeField(EditorField field) {
    auto* edit = new QLineEdit(this);
    const EditorFieldInfo& info = EditorFieldFor(field);
    if (info.maxChars > 0) edit->setMaxLength(info.maxChars);
    edit->setAccessibleName(QString::fromUtf8(info.label));
    fields_[static_cast<std::size_t>(field)] = edit;

    auto* problem = new QLabel(this);
    QPalette red = problem->palette();
    red.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x20));
    problem->setPalette(red);
    problem->setWordWrap(true);
    problem->setVisible(false);
    problems_[static_cast<std::size_t>(field)] = problem;
    connect(edit, &QLineEdit::textChanged, this, [this, field] { CheckField(field); });
    return edit;
}

void BookingEditDialog::CheckField(EditorField field) {
    const auto problem = CheckEditorField(field, Utf8ToCp1252(Field(field)->text().toStdString()));
    QLabel* label = ProblemLabel(field);
    label->setText(problem ? QString::fromStdString(problem->message) : QString());
    label->setVisible(problem.has_value());
    Field(field)->setAccessibleDescription(label->text());
    bool allValid = true;
    for (const QLabel* shown : problems_) allValid = allValid && shown->text().isEmpty();
    save_->setEnabled(allValid);
    if (isVisible()) FitHeight();
}

void BookingEditDialog::FitHeight() {
    // A window's minimum size leaves out the height that wrapped problem
    // texts need at the present width, so the window grows to it here.
    QLayout* grid = layout();
    grid->activate();
    if (!grid->hasHeightForWidth()) return;
    const int needed = grid->totalHeightForWidth(width());
    if (needed > height()) resize(width(), needed);
}

void BookingEditDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FitHeight();
}

void BookingEditDialog::Reset() {
    for (const auto& info : kEditorFields) {
        const std::size_t i = static_cast<std::size_t>(info.field);
        fields_[i]->setText(opened_[i]);
        CheckField(info.field);  // setText signals only a change
    }
}

void BookingEditDialog::accept() {
    EditorTexts texts;
    for (const auto& info : kEditorFields) {
        At(texts, info.field) = Utf8ToCp1252(Field(info.field)->text().toStdString());
    }
    const EditorCheck check = WriteEditorTexts(texts, booking_);
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
