#include "person_path_tree.h"

#include "text/localisation.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/escape_closes.h"
#include "text/ui/form_grid.h"
#include "text/ui/own_end_delegate.h"
#include "text/ui/person_follow.h"

#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kPersonRole = Qt::UserRole;

} // namespace

QTreeWidget* NewPathTree(QWidget* window, const QString& name,
                         std::function<void(const QString& personId)> activated) {
    auto* tree = new QTreeWidget(window);
    tree->setObjectName(name);
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setItemDelegate(new TOwnEndDelegate(tree));
    FollowPersonView(tree, [](const QModelIndex& index) { return index.data(kPersonRole).toString(); });
    QObject::connect(tree, &QTreeWidget::itemActivated, window,
                     [window, activated = std::move(activated)](QTreeWidgetItem* item) {
                         const QString id = item->data(0, kPersonRole).toString();
                         if (!id.isEmpty())
                             QMetaObject::invokeMethod(
                                 window, [activated, id] { activated(id); }, Qt::QueuedConnection);
                     });
    return tree;
}

void FillPathTree(QTreeWidget* tree, const TLineagePath& path) {
    tree->setUpdatesEnabled(false);
    tree->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(path.Entries.size());
    for (const TPathEntry& entry : path.Entries) {
        QTreeWidgetItem* item =
            entry.Parent < 0 ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(items[entry.Parent]);
        item->setText(0, entry.Text);
        item->setData(0, kPersonRole, entry.PersonId);
        if (entry.IsPerson) {
            QFont bold = item->font(0);
            bold.setBold(true);
            item->setFont(0, bold);
        }
        items << item;
    }
    tree->expandAll();
    tree->setUpdatesEnabled(true);
}

TfrmPersonPathTree::TfrmPersonPathTree(QWidget* parent) : QWidget(parent, Qt::Window) {
    CloseOnEscape(this);
    setObjectName(QStringLiteral("frmPersonPathTree"));
    rbFatherPath_ = new QRadioButton(this);
    rbFatherPath_->setObjectName(QStringLiteral("rbFatherPath"));
    rbFatherPath_->setChecked(true);
    rbMotherPath_ = new QRadioButton(this);
    rbMotherPath_->setObjectName(QStringLiteral("rbMotherPath"));
    rb_Mothers_Chain_ = new QRadioButton(this);
    rb_Mothers_Chain_->setObjectName(QStringLiteral("rb_Mothers_Chain"));
    auto* group = new QButtonGroup(this);
    for (QRadioButton* button : {rbFatherPath_, rbMotherPath_, rb_Mothers_Chain_})
        group->addButton(button);
    trvPersonPath_ = NewPathTree(this, QStringLiteral("trvPersonPath"),
                                 [this](const QString& id) { emit PersonActivated(id); });
    btClose_ = new QPushButton(this);
    btClose_->setAutoDefault(false);

    auto* chains = new QHBoxLayout;
    chains->setSpacing(kSpacing * 2);
    for (QRadioButton* button : {rbFatherPath_, rbMotherPath_, rb_Mothers_Chain_})
        chains->addWidget(button);
    chains->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btClose_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    layout->setSpacing(kRowSpacing);
    layout->addLayout(chains);
    layout->addWidget(trvPersonPath_, 1);
    layout->addLayout(buttons);

    connect(group, &QButtonGroup::buttonClicked, this, [this] { ShowPath(personId_); });
    connect(btClose_, &QPushButton::clicked, this, &QWidget::close);
    TranslateTexts();
    resize(440, 560);
}

TLineageKind TfrmPersonPathTree::Kind() const {
    if (rbMotherPath_->isChecked())
        return TLineageKind::MothersFatherLine;
    if (rb_Mothers_Chain_->isChecked())
        return TLineageKind::MothersLine;
    return TLineageKind::FatherLine;
}

void TfrmPersonPathTree::ShowPath(const QString& personId) {
    TBusyCursor busy;
    personId_ = personId;
    const TLineagePath path = BuildLineagePath(personId, Kind());
    setWindowTitle(path.Caption);
    FillPathTree(trvPersonPath_, path);
}

void TfrmPersonPathTree::TranslateTexts() {
    rbFatherPath_->setText(Translate(QStringLiteral("Father Lineage")));
    rbMotherPath_->setText(Translate(QStringLiteral("Mother Lineage")));
    rb_Mothers_Chain_->setText(Translate(QStringLiteral("Line of Mothers")));
    btClose_->setText(Translate(QStringLiteral("&Close")));
}

void TfrmPersonPathTree::showEvent(QShowEvent* event) {
    TranslateTexts();
    QWidget::showEvent(event);
}

void TfrmPersonPathTree::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        TranslateTexts();
        if (isVisible() && !personId_.isEmpty())
            ShowPath(personId_);
    }
    QWidget::changeEvent(event);
}

} // namespace verdan
