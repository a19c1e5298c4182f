#include "husband_wife_dialog.h"

#include "navigator/family_links.h"
#include "navigator/ui/add_children_dialog.h"
#include "storage/database.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/tree_file.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/form_grid.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

enum Role { ChildRole = Qt::UserRole + 1, FatherRole, MotherRole };

// The name of a child's other parent, empty for none or the outside-the-tree group.
QString OtherParentName(const QString& id) {
    if (IsReservedParentId(id) || SameId(id, GetGlobalParentId()))
        return {};
    return GetLineageName(id);
}

void FillList(QListWidget* list, const QString& parentId, bool husband) {
    list->clear();
    TextTable children;
    ListChildrenIds(parentId, children);
    for (qsizetype row = 1; row < children.size(); ++row) {
        const QString child = children[row].value(0);
        const TParent parents = GetParents(child);
        const QString other = husband ? parents.Mother_Id : parents.Father_Id;
        // The other parent in parentheses, when the child has one.
        const QString otherName = OtherParentName(other);
        auto* item = new QListWidgetItem(
            GetPersonName(child) +
                (otherName.isEmpty() ? QString() : QString(6, u' ') + u'(' + otherName + u')'),
            list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setData(ChildRole, child);
        item->setData(FatherRole, husband ? parentId : parents.Father_Id);
        item->setData(MotherRole, husband ? parents.Mother_Id : parentId);
    }
}

void CheckAll(QListWidget* list, bool on) {
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

} // namespace

TfrmHusbandWifeDialog::TfrmHusbandWifeDialog(TfrmAddChildren* addChildren, QWidget* parent)
    : QDialog(parent), addChildren_(addChildren) {
    setObjectName(QStringLiteral("frmHusbandWifeDialog"));
    lblHusbandTitle_ = new QLabel(this);
    lblHusband_ = new QLabel(this);
    lblHusband_->setObjectName(QStringLiteral("lblHusband"));
    lblWifeTitle_ = new QLabel(this);
    lblWife_ = new QLabel(this);
    lblWife_->setObjectName(QStringLiteral("lblWife"));
    for (QLabel* label : {lblHusband_, lblWife_}) {
        label->setWordWrap(true);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        KeepReadingAlignment(label);
    }
    lblHint_ = new QLabel(this);
    lblHint_->setWordWrap(true);
    lstChildHusband_ = new QListWidget(this);
    lstChildHusband_->setObjectName(QStringLiteral("lstChildHusband"));
    lstChildWife_ = new QListWidget(this);
    lstChildWife_->setObjectName(QStringLiteral("lstChildWife"));
    chkAllHusband_ = new QCheckBox(this);
    chkAllWife_ = new QCheckBox(this);
    btAddChild_ = new QPushButton(this);
    btAddChild_->setAutoDefault(false);
    btOk_ = new QPushButton(this);
    btOk_->setDefault(true);
    btCancel_ = new QPushButton(this);

    auto* columns = new QGridLayout;
    columns->setHorizontalSpacing(kSpacing * 2);
    columns->setVerticalSpacing(kRowSpacing);
    columns->addWidget(lblHusbandTitle_, 0, 0);
    columns->addWidget(lblWifeTitle_, 0, 1);
    columns->addWidget(lblHusband_, 1, 0);
    columns->addWidget(lblWife_, 1, 1);
    columns->addWidget(lstChildHusband_, 2, 0);
    columns->addWidget(lstChildWife_, 2, 1);
    columns->addWidget(chkAllHusband_, 3, 0);
    columns->addWidget(chkAllWife_, 3, 1);
    columns->setRowStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addWidget(btAddChild_);
    buttons->addStretch();
    buttons->addWidget(btOk_);
    buttons->addWidget(btCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    layout->setSpacing(kRowSpacing);
    layout->addWidget(lblHint_);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    connect(chkAllHusband_, &QCheckBox::toggled, this, [this](bool on) { CheckAll(lstChildHusband_, on); });
    connect(chkAllWife_, &QCheckBox::toggled, this, [this](bool on) { CheckAll(lstChildWife_, on); });
    connect(btAddChild_, &QPushButton::clicked, this, &TfrmHusbandWifeDialog::AddChildClick);
    connect(btOk_, &QPushButton::clicked, this, &TfrmHusbandWifeDialog::accept);
    connect(btCancel_, &QPushButton::clicked, this, &TfrmHusbandWifeDialog::reject);
    resize(620, 420);
}

void TfrmHusbandWifeDialog::Offer(const QString& husbandId, const QString& wifeId) {
    husbandId_ = husbandId;
    wifeId_ = wifeId;
    exec();
}

void TfrmHusbandWifeDialog::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Set the Couple's Children")));
    lblHusbandTitle_->setText(Translate(QStringLiteral("Husband's children:")));
    lblWifeTitle_->setText(Translate(QStringLiteral("Wife's children:")));
    lblHint_->setText(Translate(QStringLiteral("Choose only the children of both husband and wife:")));
    chkAllHusband_->setText(Translate(QStringLiteral("Choose all")));
    chkAllWife_->setText(Translate(QStringLiteral("Choose all")));
    btAddChild_->setText(Translate(QStringLiteral("Add Children")) + QStringLiteral(".."));
    btOk_->setText(Translate(QStringLiteral("&OK")));
    btCancel_->setText(Translate(QStringLiteral("&Cancel")));
}

void TfrmHusbandWifeDialog::showEvent(QShowEvent* event) {
    TranslateTexts();
    Fill();
    QDialog::showEvent(event);
}

void TfrmHusbandWifeDialog::Fill() {
    lblHusband_->setText(GetLineageName(husbandId_));
    lblWife_->setText(GetLineageName(wifeId_));
    for (QCheckBox* box : {chkAllHusband_, chkAllWife_}) {
        const QSignalBlocker quiet(box);
        box->setChecked(false);
    }
    FillList(lstChildHusband_, husbandId_, true);
    FillList(lstChildWife_, wifeId_, false);
}

void TfrmHusbandWifeDialog::AddChildClick() {
    if (addChildren_ && addChildren_->Ask(husbandId_, wifeId_, QString()))
        Fill();
}

void TfrmHusbandWifeDialog::accept() {
    QStringList children;
    for (QListWidget* list : {lstChildHusband_, lstChildWife_}) {
        for (int i = 0; i < list->count(); ++i) {
            const QString child = list->item(i)->data(ChildRole).toString();
            if (list->item(i)->checkState() == Qt::Checked && !children.contains(child, Qt::CaseInsensitive))
                children << child;
        }
    }
    for (const QString& child : std::as_const(children)) {
        if (RefusesParentCycle(child, husbandId_) || RefusesParentCycle(child, wifeId_))
            return;
    }
    {
        // Every marked child or none: a failure leaves the couple's children as they were.
        UndoStep step(StepText("Attach children to «%*» and «%*»", {husbandId_, wifeId_}), husbandId_);
        Transaction transaction;
        bool written = transaction.Active();
        for (const QString& child : std::as_const(children))
            written = written && SetParents(child, husbandId_, wifeId_);
        if (!written || !transaction.Commit()) {
            MsgErrorRtl(Translate(QStringLiteral("The children could not be given to the couple.")));
            return;
        }
    }
    QDialog::accept();
}

void TfrmHusbandWifeDialog::done(int result) {
    QDialog::done(result);
    lstChildHusband_->clear();
    lstChildWife_->clear();
    husbandId_.clear();
    wifeId_.clear();
}

void TfrmHusbandWifeDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QDialog::changeEvent(event);
}

} // namespace verdan
