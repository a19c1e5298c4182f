#include "children_dialog.h"

#include "storage/gender_code.h"
#include "storage/person_store.h"
#include "text/localisation.h"
#include "text/ui/form_grid.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kGenderRole = Qt::UserRole + 1;

} // namespace

Tfrm_Chrt_Cildren_List::Tfrm_Chrt_Cildren_List(QWidget* parent)
    : QDialog(parent), lst_(new QListWidget), chkMales_(new QCheckBox), chkFemales_(new QCheckBox),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)) {
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    layout->setSpacing(kRowSpacing);
    auto* genders = new QHBoxLayout;
    genders->setSpacing(kSpacing);
    genders->addWidget(chkMales_);
    genders->addWidget(chkFemales_);
    genders->addStretch();
    layout->addLayout(genders);
    layout->addWidget(lst_);
    layout->addWidget(buttons_);
    chkMales_->setChecked(true);
    chkFemales_->setChecked(true);
    connect(chkMales_, &QCheckBox::clicked, this, &Tfrm_Chrt_Cildren_List::TickByGender);
    connect(chkFemales_, &QCheckBox::clicked, this, &Tfrm_Chrt_Cildren_List::TickByGender);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(300, 360);
    TranslateTexts();
}

void Tfrm_Chrt_Cildren_List::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Select children")));
    chkMales_->setText(Translate(QStringLiteral("Males")));
    chkFemales_->setText(Translate(QStringLiteral("Females")));
    buttons_->button(QDialogButtonBox::Ok)->setText(Translate(QStringLiteral("&OK")));
    buttons_->button(QDialogButtonBox::Cancel)->setText(Translate(QStringLiteral("&Cancel")));
    setLayoutDirection(Local().Target.RightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

void Tfrm_Chrt_Cildren_List::Prepare(const QString& personId) {
    TranslateTexts();
    if (personId == shownPersonId_ && lst_->count() > 0)
        return;
    shownPersonId_ = personId;
    lst_->clear();
    TextTable table;
    ListChildrenIds(personId, table);
    TPersonNameList names;
    FillPersonList(table, names, true);
    for (const TPersonNameEntry& entry : names) {
        auto* item = new QListWidgetItem(entry.Name, lst_);
        item->setData(Qt::UserRole, entry.Person_Id);
        item->setData(kGenderRole, NormaliseGender(GetGender(entry.Person_Id)));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    }
    TickByGender();
}

void Tfrm_Chrt_Cildren_List::TickByGender() {
    for (int row = 0; row < lst_->count(); ++row) {
        QListWidgetItem* item = lst_->item(row);
        const QString gender = item->data(kGenderRole).toString();
        const bool ticked =
            (gender == u"m" && chkMales_->isChecked()) || (gender == u"f" && chkFemales_->isChecked());
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
}

QStringList Tfrm_Chrt_Cildren_List::TickedIds() const {
    QStringList ids;
    for (int row = 0; row < lst_->count(); ++row)
        if (lst_->item(row)->checkState() == Qt::Checked)
            ids << lst_->item(row)->data(Qt::UserRole).toString();
    return ids;
}

bool Tfrm_Chrt_Cildren_List::ShowChildrenDialog(const QString& personId, const QPoint& pointer,
                                                QStringList& ids) {
    Prepare(personId);
    // The dialog opens beside the pointer, on the screen.
    int left = pointer.x() - width();
    int top = pointer.y();
    if (const QScreen* screen = QGuiApplication::screenAt(pointer) ? QGuiApplication::screenAt(pointer)
                                                                   : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        if (top + height() > area.bottom())
            top = area.bottom() - height() - 40;
        if (left < area.left())
            left = area.left() + 20;
    }
    move(left, top);
    if (exec() != QDialog::Accepted)
        return false;
    ids = TickedIds();
    return true;
}

} // namespace verdan
