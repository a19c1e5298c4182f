#include "kinship_window.h"

#include "relations/kinship.h"
#include "relations/kinship_terms.h"
#include "relations/mahram.h"
#include "relations/ui/person_path_tree.h"
#include "storage/person_names.h"
#include "storage/person_store.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/escape_closes.h"
#include "text/ui/form_grid.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace verdan {

namespace {

// The identifiers a list of persons hands to a drag, one a line.
const char* const kPersonIdsFormat = "application/x-verdan-person-ids";

QStringList DroppedIds(const QMimeData* mime) {
    QStringList ids;
    if (!mime || !mime->hasFormat(QString::fromLatin1(kPersonIdsFormat)))
        return ids;
    for (const QString& line :
         QString::fromUtf8(mime->data(QString::fromLatin1(kPersonIdsFormat))).split(u'\n')) {
        if (!line.trimmed().isEmpty())
            ids << line.trimmed();
    }
    return ids;
}

QString JoinTerms(const QStringList& terms) {
    QString text = terms.value(0);
    for (qsizetype i = 1; i < terms.size(); ++i)
        text = FillPattern(Translate(QStringLiteral("%*, %*")), {text, terms[i]});
    return text;
}

} // namespace

TKinPersonBox::TKinPersonBox(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    setAcceptDrops(true);
    KeepReadingAlignment(this);
}

void TKinPersonBox::SetPerson(const QString& personId) {
    personId_ = personId;
    setText(personId.isEmpty() ? QString() : GetLineageName(personId));
    setCursorPosition(0);
}

void TKinPersonBox::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedIds(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void TKinPersonBox::dragMoveEvent(QDragMoveEvent* event) {
    if (DroppedIds(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void TKinPersonBox::dropEvent(QDropEvent* event) {
    const QStringList ids = DroppedIds(event->mimeData());
    if (ids.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit PersonsDropped(ids);
}

// A tool window of its owner: a press on the owner's outline, to drag the second person here, leaves this
// window above it.
TfrmKinship::TfrmKinship(QWidget* parent) : QWidget(parent, Qt::Tool) {
    CloseOnEscape(this);
    setObjectName(QStringLiteral("frmKinship"));
    lblPersonA_ = new QLabel(this);
    lblPersonB_ = new QLabel(this);
    txtPersonA_ = new TKinPersonBox(this);
    txtPersonA_->setObjectName(QStringLiteral("txtPersonA"));
    txtPersonB_ = new TKinPersonBox(this);
    txtPersonB_->setObjectName(QStringLiteral("txtPersonB"));
    lblPersonA_->setBuddy(txtPersonA_);
    lblPersonB_->setBuddy(txtPersonB_);
    btSwap_ = new QPushButton(this);
    btSwap_->setObjectName(QStringLiteral("btSwap"));
    btSwap_->setAutoDefault(false);
    lblTermB_ = new QLabel(this);
    lblTermB_->setObjectName(QStringLiteral("lblTermB"));
    lblTermA_ = new QLabel(this);
    lblTermA_->setObjectName(QStringLiteral("lblTermA"));
    for (QLabel* label : {lblTermB_, lblTermA_}) {
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        KeepReadingAlignment(label);
    }
    trvKinPath_ = NewPathTree(this, QStringLiteral("trvKinPath"),
                              [this](const QString& id) { emit PersonActivated(id); });
    lblMahram_ = new QLabel(this);
    lblMahram_->setObjectName(QStringLiteral("lblMahram"));
    lblMahram_->setWordWrap(true);
    lblMahram_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblMahram_->setFrameShape(QFrame::StyledPanel);
    lblMahram_->setMargin(kSpacing);
    KeepReadingAlignment(lblMahram_);
    btClose_ = new QPushButton(this);
    btClose_->setAutoDefault(false);

    auto* persons = new QGridLayout;
    persons->setHorizontalSpacing(kSpacing);
    persons->setVerticalSpacing(kRowSpacing);
    persons->addWidget(lblPersonA_, 0, 0);
    persons->addWidget(txtPersonA_, 0, 1);
    persons->addWidget(lblPersonB_, 1, 0);
    persons->addWidget(txtPersonB_, 1, 1);
    persons->addWidget(btSwap_, 0, 2, 2, 1, Qt::AlignVCenter);
    persons->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btClose_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    layout->setSpacing(kRowSpacing * 2);
    layout->addLayout(persons);
    layout->addWidget(lblTermB_);
    layout->addWidget(lblTermA_);
    layout->addWidget(trvKinPath_, 1);
    layout->addWidget(lblMahram_);
    layout->addLayout(buttons);

    connect(txtPersonA_, &TKinPersonBox::PersonsDropped, this,
            [this](const QStringList& ids) { SetPersons(ids[0], ids.size() > 1 ? ids[1] : PersonB()); });
    connect(txtPersonB_, &TKinPersonBox::PersonsDropped, this,
            [this](const QStringList& ids) { SetPersons(ids.size() > 1 ? ids[1] : PersonA(), ids[0]); });
    connect(btSwap_, &QPushButton::clicked, this, [this] { SetPersons(PersonB(), PersonA()); });
    connect(btClose_, &QPushButton::clicked, this, &QWidget::close);
    TranslateTexts();
    Refresh();
    resize(520, 560);
}

void TfrmKinship::SetPersons(const QString& a, const QString& b) {
    txtPersonA_->SetPerson(a);
    txtPersonB_->SetPerson(b);
    Refresh();
}

void TfrmKinship::Offer(const QString& personId) {
    if (PersonA().isEmpty() || SameId(PersonA(), personId))
        SetPersons(personId, SameId(PersonB(), personId) ? QString() : PersonB());
    else
        SetPersons(PersonA(), personId);
}

void TfrmKinship::Refresh() {
    TBusyCursor busy;
    const QString a = PersonA();
    const QString b = PersonB();
    // A person deleted meanwhile leaves his box.
    txtPersonA_->SetPerson(a.isEmpty() || PersonExists(a) ? a : QString());
    txtPersonB_->SetPerson(b.isEmpty() || PersonExists(b) ? b : QString());
    trvKinPath_->clear();
    lblTermB_->clear();
    lblTermA_->clear();
    btSwap_->setEnabled(!PersonA().isEmpty() || !PersonB().isEmpty());
    if (PersonA().isEmpty() || PersonB().isEmpty()) {
        lblMahram_->setText(
            Translate(QStringLiteral("Drag two persons from the tree onto the boxes above, or "
                                     "choose Kinship in the tree's menu with two persons selected.")));
        return;
    }
    const TKinship kinship = FindKinship(PersonA(), PersonB());
    const TMahramRuling ruling = RuleMahram(kinship);
    // Isolated, so that a name of the other script does not turn the line's reading order round.
    const QString nameA = Isolate(GetPersonName(PersonA()));
    const QString nameB = Isolate(GetPersonName(PersonB()));
    if (!kinship.Links.isEmpty()) {
        lblTermB_->setText(FillPattern(Translate(QStringLiteral("%* to %*: %*")),
                                       {nameB, nameA, JoinTerms(KinshipTerms(kinship, true))}));
        lblTermA_->setText(FillPattern(Translate(QStringLiteral("%* to %*: %*")),
                                       {nameA, nameB, JoinTerms(KinshipTerms(kinship, false))}));
        FillPathTree(trvKinPath_, KinshipPathTree(kinship, kinship.Links.first()));
    }
    lblMahram_->setText(MahramText(kinship, ruling));
}

void TfrmKinship::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Kinship")));
    lblPersonA_->setText(Translate(QStringLiteral("&First person:")));
    lblPersonB_->setText(Translate(QStringLiteral("&Second person:")));
    btSwap_->setText(Translate(QStringLiteral("S&wap")));
    btClose_->setText(Translate(QStringLiteral("&Close")));
}

void TfrmKinship::showEvent(QShowEvent* event) {
    TranslateTexts();
    QWidget::showEvent(event);
}

void TfrmKinship::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        TranslateTexts();
        Refresh();
    }
    QWidget::changeEvent(event);
}

} // namespace verdan
