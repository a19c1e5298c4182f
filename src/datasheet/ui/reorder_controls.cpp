#include "reorder_controls.h"

#include "text/localisation.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace verdan {

TfrmReorderControls::TfrmReorderControls(QWidget* parent) : QDialog(parent) {
    setObjectName("frmReorderControls");
    setWindowTitle(Translate(QStringLiteral("Reorder Data Sections")));
    auto* grid = new QGridLayout(this);
    lst_ = new QListWidget(this);
    lst_->setObjectName("lst");
    btUp_ = new QPushButton(style()->standardIcon(QStyle::SP_ArrowUp), QString(), this);
    btUp_->setObjectName("btUp");
    btDown_ = new QPushButton(style()->standardIcon(QStyle::SP_ArrowDown), QString(), this);
    btDown_->setObjectName("btDown");
    auto* buttons = new QDialogButtonBox(this);
    btOk_ = buttons->addButton(Translate(QStringLiteral("&OK")), QDialogButtonBox::AcceptRole);
    btOk_->setObjectName("btOk");
    btOk_->setDefault(true);
    btCancel_ = buttons->addButton(Translate(QStringLiteral("&Cancel")), QDialogButtonBox::RejectRole);
    btCancel_->setObjectName("btCancel");
    grid->addWidget(lst_, 0, 0, 3, 1);
    grid->addWidget(btUp_, 0, 1);
    grid->addWidget(btDown_, 1, 1);
    grid->setRowStretch(2, 1);
    grid->addWidget(buttons, 3, 0, 1, 2);
    connect(btUp_, &QPushButton::clicked, this, &TfrmReorderControls::btUpClick);
    connect(btDown_, &QPushButton::clicked, this, &TfrmReorderControls::btDownClick);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TfrmReorderControls::SetEntries(const QList<Entry>& entries) {
    lst_->clear();
    for (const Entry& entry : entries) {
        auto* item = new QListWidgetItem(entry.Title.trimmed(), lst_);
        item->setData(Qt::UserRole, entry.Key);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.Checked ? Qt::Checked : Qt::Unchecked);
    }
    lst_->setCurrentRow(0);
}

QList<TfrmReorderControls::Entry> TfrmReorderControls::Entries() const {
    QList<Entry> entries;
    for (int row = 0; row < lst_->count(); ++row) {
        const QListWidgetItem* item = lst_->item(row);
        entries.append(
            {item->data(Qt::UserRole).toString(), item->text(), item->checkState() == Qt::Checked});
    }
    return entries;
}

void TfrmReorderControls::Move(int step) {
    const int row = lst_->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= lst_->count())
        return;
    QListWidgetItem* item = lst_->takeItem(row);
    lst_->insertItem(target, item);
    lst_->setCurrentRow(target);
}

void TfrmReorderControls::btUpClick() {
    Move(-1);
}

void TfrmReorderControls::btDownClick() {
    Move(1);
}

} // namespace verdan
