#include "second_parent_dialog.h"

#include "navigator/family_links.h"
#include "reports/grid_model.h"
#include "reports/ui/zel_grid.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/ui/form_grid.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kMateCol = 1;
constexpr int kNameCol = 2;

} // namespace

Tfrm_ConfirmSecondParent::Tfrm_ConfirmSecondParent(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frm_ConfirmSecondParent"));
    // Shown while the user types the new child's name in the outline: it must not take the keys.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);
    lblParent_ = new QLabel(this);
    lblParent_->setObjectName(QStringLiteral("lblParent"));
    lblParent_->setWordWrap(true);
    KeepReadingAlignment(lblParent_);
    lblMsg_ = new QLabel(this);
    lblMsg_->setObjectName(QStringLiteral("lblMsg"));
    lblMsg_->setWordWrap(true);
    gMates_ = new TZelGrid(this);
    gMates_->setObjectName(QStringLiteral("gMates"));
    gMates_->SetReadonly(true);
    gMates_->setSelectionBehavior(QAbstractItemView::SelectRows);
    gMates_->setSelectionMode(QAbstractItemView::SingleSelection);
    gMates_->horizontalHeader()->setStretchLastSection(true);
    btOk_ = new QPushButton(this);
    btOk_->setObjectName(QStringLiteral("btOk"));
    btOk_->setDefault(true);
    btCancel_ = new QPushButton(this);
    for (QWidget* widget :
         {static_cast<QWidget*>(gMates_), static_cast<QWidget*>(btOk_), static_cast<QWidget*>(btCancel_)})
        widget->setFocusPolicy(Qt::ClickFocus);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addStretch();
    buttons->addWidget(btOk_);
    buttons->addWidget(btCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    layout->setSpacing(kRowSpacing);
    layout->addWidget(lblParent_);
    layout->addWidget(gMates_, 1);
    layout->addWidget(lblMsg_);
    layout->addLayout(buttons);

    timer_.setSingleShot(true);
    timer_.setInterval(kLifetime);
    connect(&timer_, &QTimer::timeout, this, &Tfrm_ConfirmSecondParent::ExpireOrWait);
    connect(btOk_, &QPushButton::clicked, this, &Tfrm_ConfirmSecondParent::accept);
    connect(btCancel_, &QPushButton::clicked, this, &Tfrm_ConfirmSecondParent::reject);
    connect(this, &QDialog::finished, &timer_, &QTimer::stop);
    resize(360, 260);
}

void Tfrm_ConfirmSecondParent::Offer(const QString& childId, const TMateStatus& mates) {
    childId_ = childId;
    mates_ = mates;
    Fill();
    // Where the platform activates a new window anyway (now or a moment later), the keys go back to
    // where the user types; a user who comes to the window later keeps it.
    returnFocus_ = QApplication::focusWidget();
    returnWindow_ = QApplication::activeWindow();
    show();
    raise();
    GiveFocusBack();
    QTimer::singleShot(kFocusGrace, this, [this] {
        returnWindow_.clear();
        returnFocus_.clear();
    });
    timer_.start();
}

void Tfrm_ConfirmSecondParent::Fill() {
    const bool man = mates_.Gender == u"m";
    const QString name = GetLineageName(mates_.PersonId);
    const QString ok = StripAmpersands(Translate(QStringLiteral("&OK")));
    const QString cancel = StripAmpersands(Translate(QStringLiteral("&Cancel")));
    setWindowTitle(man ? Translate(QStringLiteral("Specifying Mother "))
                       : Translate(QStringLiteral("Specifying Father ")));
    lblParent_->setText((man ? Translate(QStringLiteral("Father")) : Translate(QStringLiteral("Mother"))) +
                        QStringLiteral(": ") + name + u'.');
    lblMsg_->setText(FillPattern(
        man ? Translate(QStringLiteral("Please select a mother and press %*.%*If not specified press %*."))
            : Translate(QStringLiteral("Please select a father and press %*.%*If not specified press %*.")),
        {ok, QStringLiteral("\n"), cancel}));
    btOk_->setText(Translate(QStringLiteral("&OK")));
    btCancel_->setText(Translate(QStringLiteral("&Cancel")));

    gMates_->DeleteAllRows();
    gMates_->SetColCount(3);
    gMates_->SetRowCount(static_cast<int>(mates_.MateIds.size()) + TZelGridModel::kFixedRows);
    gMates_->SetCells(kNameCol, 0,
                      man ? Translate(QStringLiteral("Wives")) : Translate(QStringLiteral("Husbands")));
    int current = 1;
    for (qsizetype i = 0; i < mates_.MateIds.size(); ++i) {
        const int row = static_cast<int>(i + 1);
        gMates_->SetCells(kMateCol, row, mates_.MateIds[i]);
        gMates_->SetCells(kNameCol, row, GetLineageName(mates_.MateIds[i]));
        if (SameId(mates_.MateIds[i], mates_.ActiveMateId))
            current = row;
    }
    gMates_->SetColWidths({30, 0, 250});
    if (!mates_.MateIds.isEmpty())
        gMates_->SetCurrentCell(kNameCol, current);
}

void Tfrm_ConfirmSecondParent::ExpireOrWait() {
    // A user at work in the window is never cut short; an ignored window goes.
    if (isActiveWindow())
        timer_.start();
    else
        reject();
}

void Tfrm_ConfirmSecondParent::accept() {
    const int row = gMates_->Row();
    const QString mate =
        row >= 1 && row < gMates_->RowCount() ? gMates_->Cells(kMateCol, row).trimmed() : QString();
    if (!mate.isEmpty() && PersonExists(childId_) && !RefusesParentCycle(childId_, mate)) {
        UndoStep step(StepText("Attach «%*» to «%*»", {childId_, mate}), childId_);
        const bool written = mates_.Gender == u"f" ? SetFather(childId_, mate) : SetMother(childId_, mate);
        if (written)
            emit ParentSet(childId_);
    }
    QDialog::accept();
}

void Tfrm_ConfirmSecondParent::GiveFocusBack() {
    if (!returnWindow_ || (!isActiveWindow() && QApplication::activeWindow() == returnWindow_))
        return;
    const QPointer<QWidget> window = returnWindow_;
    const QPointer<QWidget> focus = returnFocus_;
    returnWindow_.clear();
    returnFocus_.clear();
    window->activateWindow();
    if (focus)
        focus->setFocus();
}

void Tfrm_ConfirmSecondParent::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange && isVisible())
        Fill();
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        if (returnWindow_)
            GiveFocusBack();
        else
            timer_.start();
    }
    QDialog::changeEvent(event);
}

} // namespace verdan
