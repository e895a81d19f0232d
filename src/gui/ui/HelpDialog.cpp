#include "gui/ui/HelpDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/CodePage.h"
#include "core/platform/Files.h"
#include "core/workflow/HelpText.h"
#include "gui/app/ProgramIcon.h"

namespace belvaron::gui {

HelpDialog::HelpDialog(QWidget* parent) : QDialog(parent), list_(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Hilfe"));
    setWindowIcon(ProgramIcon());
    list_->setObjectName(QStringLiteral("helpLines"));
    list_->setSortingEnabled(false);
    list_->setUniformItemSizes(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setTextElideMode(Qt::ElideNone);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons, 0, Qt::AlignHCenter);
    resize(fontMetrics().averageCharWidth() * 96, fontMetrics().lineSpacing() * 32);
}

void HelpDialog::Load() {
    loaded_ = true;
    list_->clear();
    const auto lines = ReadHelpLines(platform::JoinPath(helpFolder, "hilfe.txt"));
    if (!lines) {
        list_->addItem(QString::fromUtf8(kHelpFileMissing));
        return;
    }
    for (const std::string& line : *lines)
        list_->addItem(QString::fromStdString(Cp1252ToUtf8(line)));
}

void HelpDialog::showEvent(QShowEvent* event) {
    if (!loaded_) Load();
    QDialog::showEvent(event);
}

}  // namespace belvaron::gui
