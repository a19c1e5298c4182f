#include "column_chooser.h"

#include "text/localisation.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

QString T(const char* text) {
    return Translate(QString::fromLatin1(text));
}

constexpr int kKeyRole = Qt::UserRole;

} // namespace

TfrmColumns::TfrmColumns(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmColumns"));
    setWindowTitle(T("Columns"));
    auto* label = new QLabel(T("The columns the list shows, prints and exports, in their order:"));
    label->setWordWrap(true);
    lstColumns_ = new QListWidget;
    lstColumns_->setObjectName(QStringLiteral("lstColumns"));
    label->setBuddy(lstColumns_);
    btUp_ = new QPushButton(Icon(u"go-up"), T("Move up"));
    btDown_ = new QPushButton(Icon(u"go-down"), T("Move down"));
    btAll_ = new QPushButton(T("Show all"));
    for (QPushButton* button : {btUp_, btDown_, btAll_})
        button->setAutoDefault(false);
    auto* side = new QVBoxLayout;
    side->addWidget(btUp_);
    side->addWidget(btDown_);
    side->addSpacing(kRowSpacing);
    side->addWidget(btAll_);
    side->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(lstColumns_, 1);
    middle->addLayout(side);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    btOk_ = buttons->button(QDialogButtonBox::Ok);
    btOk_->setText(T("Ok"));
    buttons->button(QDialogButtonBox::Cancel)->setText(T("Cancel"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    column->setSpacing(kRowSpacing);
    column->addWidget(label);
    column->addLayout(middle, 1);
    column->addWidget(buttons);

    connect(btUp_, &QPushButton::clicked, this, &TfrmColumns::btUpClick);
    connect(btDown_, &QPushButton::clicked, this, &TfrmColumns::btDownClick);
    connect(btAll_, &QPushButton::clicked, this, &TfrmColumns::btAllClick);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(lstColumns_, &QListWidget::currentRowChanged, this, &TfrmColumns::UpdateButtons);
    // A list without a single column would print and export nothing.
    connect(lstColumns_, &QListWidget::itemChanged, this, &TfrmColumns::UpdateButtons);
    resize(360, 460);
}

bool TfrmColumns::Ask(const QList<TEntry>& all, const QList<int>& shown) {
    lstColumns_->clear();
    for (const TEntry& entry : all) {
        auto* item = new QListWidgetItem(entry.title, lstColumns_);
        item->setData(kKeyRole, entry.key);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(shown.contains(entry.key) ? Qt::Checked : Qt::Unchecked);
    }
    lstColumns_->setCurrentRow(0);
    lstColumns_->setFocus();
    UpdateButtons();
    return exec() == QDialog::Accepted;
}

QList<int> TfrmColumns::Chosen() const {
    QList<int> keys;
    for (int row = 0; row < lstColumns_->count(); ++row)
        if (lstColumns_->item(row)->checkState() == Qt::Checked)
            keys << lstColumns_->item(row)->data(kKeyRole).toInt();
    return keys;
}

void TfrmColumns::btUpClick() {
    Move(-1);
}

void TfrmColumns::btDownClick() {
    Move(1);
}

void TfrmColumns::btAllClick() {
    for (int row = 0; row < lstColumns_->count(); ++row)
        lstColumns_->item(row)->setCheckState(Qt::Checked);
}

void TfrmColumns::Move(int by) {
    const int row = lstColumns_->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= lstColumns_->count())
        return;
    QListWidgetItem* item = lstColumns_->takeItem(row);
    lstColumns_->insertItem(to, item);
    lstColumns_->setCurrentRow(to);
}

void TfrmColumns::UpdateButtons() {
    const int row = lstColumns_->currentRow();
    btUp_->setEnabled(row > 0);
    btDown_->setEnabled(row >= 0 && row < lstColumns_->count() - 1);
    btOk_->setEnabled(!Chosen().isEmpty());
}

void TfrmColumns::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::AltModifier &&
        (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        Move(event->key() == Qt::Key_Up ? -1 : 1);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace verdan
