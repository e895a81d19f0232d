#include "gui/ui/AboutDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "gui/app/ProgramIcon.h"

namespace belvaron::gui {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), text_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Info über Belvaron"));
    setWindowIcon(ProgramIcon());
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setPixmap(ProgramIconPixmap(48, devicePixelRatioF()));
    text_->setObjectName(QStringLiteral("aboutText"));
    text_->setTextFormat(Qt::PlainText);
    QFont bold = text_->font();
    bold.setBold(true);
    text_->setFont(bold);
    auto* description = new QLabel(
        QStringLiteral("Dieses Programm erstellt aus einer Quickbooks-Journal-Datei eine "
                       "Datev-Buchungsliste für den reibungslosen Import zu Datev."),
        this);
    description->setObjectName(QStringLiteral("aboutDescription"));
    description->setWordWrap(true);
    description->setMinimumWidth(fontMetrics().averageCharWidth() * 44);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(10);
    grid->setContentsMargins(18, 18, 18, 18);
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(text_, 0, 1);
    grid->addWidget(description, 1, 1);
    grid->addWidget(ok, 0, 2, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutDialog::SetAboutText(const QString& text) { text_->setText(text); }

QString AboutDialog::aboutText() const { return text_->text(); }

}  // namespace belvaron::gui
