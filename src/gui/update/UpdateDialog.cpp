#include "gui/update/UpdateDialog.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/ui/Label.h"

namespace belvaron::gui {

namespace {

constexpr int kTitleCharHeight = 14;
// The dialog's size in dialog units (4 per average character width, 8 per
// character height).
constexpr int kWidthDlu = 315;
constexpr int kHeightDlu = 242;

QColor FromRgb(uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

// The history box shows lines, not the CR of their CR LF ends.
QString DisplayLines(QString text) { return text.remove(QLatin1Char('\r')); }

template <typename Label = QLabel>
Label* WrappingLabel(const QString& text, QWidget* parent) {
    auto* label = new Label(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

UpdateDialog::UpdateDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Programmupdate:"));
    setModal(true);

    titleLabel_ = WrappingLabel<Label>(QStringLiteral("Neue Programmversion erhältlich."), this);
    auto* caption = WrappingLabel(
        QStringLiteral("Folgende Änderungen sind gegenüber der bestehenden Version erfolgt:"),
        this);
    history_ = new QPlainTextEdit(this);
    history_->setLineWrapMode(QPlainTextEdit::NoWrap);
    history_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    history_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    history_->setTabChangesFocus(true);
    propertiesLabel_ = WrappingLabel<Label>(QString(), this);
    auto* question = WrappingLabel(
        QStringLiteral("Wollen Sie das Update jetzt herunterladen und installieren?"), this);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    cancel_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &UpdateDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &UpdateDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addStretch(2);
    buttons->addWidget(cancel_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleLabel_);
    layout->addWidget(caption);
    layout->addWidget(history_, 1);
    layout->addWidget(propertiesLabel_);
    layout->addWidget(question);
    layout->addLayout(buttons);

    setTabOrder(ok_, cancel_);
    setTabOrder(cancel_, history_);
    const QFontMetrics metrics(font());
    resize(kWidthDlu * metrics.averageCharWidth() / 4, kHeightDlu * metrics.height() / 8);
}

void UpdateDialog::setVisible(bool visible) {
    if (visible && !isVisible()) InitDialog();
    QDialog::setVisible(visible);
}

void UpdateDialog::InitDialog() {
    titleLabel_->setText(titleText);
    history_->setPlainText(DisplayLines(historyText));
    propertiesLabel_->setText(propertiesText);

    titleLabel_->SetCharHeight(kTitleCharHeight);
    titleLabel_->SetBold(true);
    propertiesLabel_->SetTextColour(FromRgb(propertiesColour));

    ok_->setFocus();
}

void UpdateDialog::accept() {
    titleText = titleLabel_->text();
    historyText = history_->toPlainText();
    propertiesText = propertiesLabel_->text();
    QDialog::accept();
}

bool RunUpdateDialog(QWidget* parent, const UpdateDialogTexts& texts) {
    UpdateDialog dialog(parent);
    dialog.titleText = QString::fromStdString(texts.titleText);
    dialog.historyText = QString::fromStdString(texts.historyText);
    dialog.propertiesText = QString::fromStdString(texts.propertiesText);
    dialog.propertiesColour = texts.propertiesColour;
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace belvaron::gui
