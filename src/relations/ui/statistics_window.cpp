#include "relations/ui/statistics_window.h"

#include "storage/person_index.h"
#include "storage/person_names.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/escape_closes.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

QLineEdit* CountBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setMaximumWidth(140);
    return box;
}

} // namespace

TfrmPersonInfo::TfrmPersonInfo(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), lblName_(new QLabel(this)),
      lblMales_(new QLabel(this)), lblFemales_(new QLabel(this)), lblTotal_(new QLabel(this)),
      txtMales_(CountBox(this, "txtMales")), txtFemales_(CountBox(this, "txtFemales")),
      txtTotal_(CountBox(this, "txtTotal")), chkIncludeFemale_(new QCheckBox(this)),
      btCalculate_(new QPushButton(this)), btClose_(new QPushButton(this)) {
    CloseOnEscape(this);
    setObjectName(QStringLiteral("frmPersonInfo"));
    lblName_->setObjectName(QStringLiteral("lblName"));
    lblName_->setWordWrap(true);
    QFont bold = lblName_->font();
    bold.setBold(true);
    lblName_->setFont(bold);
    KeepReadingAlignment(lblName_);
    chkIncludeFemale_->setObjectName(QStringLiteral("chkIncludeFemale"));
    btCalculate_->setObjectName(QStringLiteral("btCalculate"));
    btCalculate_->setIcon(Icon(u"view-refresh"));
    btCalculate_->setDefault(true);
    btClose_->setObjectName(QStringLiteral("btClose"));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    column->setSpacing(kRowSpacing);
    column->addWidget(lblName_);
    auto* formHost = new QWidget(this);
    auto* form = new TFormGrid(formHost);
    form->AddRow(lblMales_, txtMales_);
    form->AddRow(lblFemales_, txtFemales_);
    form->AddRow(lblTotal_, txtTotal_);
    form->AddRow(nullptr, chkIncludeFemale_);
    column->addWidget(formHost);
    column->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addStretch(1);
    buttons->addWidget(btCalculate_);
    buttons->addWidget(btClose_);
    column->addLayout(buttons);

    connect(btCalculate_, &QPushButton::clicked, this, &TfrmPersonInfo::Calculate);
    connect(btClose_, &QPushButton::clicked, this, &QWidget::close);
    TranslateTexts();
    resize(420, 240);
}

void TfrmPersonInfo::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Statistics")));
    lblMales_->setText(Translate(QStringLiteral("Males")) + u':');
    lblFemales_->setText(Translate(QStringLiteral("Females")) + u':');
    lblTotal_->setText(Translate(QStringLiteral("Total")) + u':');
    chkIncludeFemale_->setText(Translate(QStringLiteral("Include female descendants")));
    btCalculate_->setText(Translate(QStringLiteral("Calculate")));
    btClose_->setText(Translate(QStringLiteral("&Close")));
}

void TfrmPersonInfo::ShowPersonStatistics(const QString& personId, bool includeFemale) {
    personId_ = personId.trimmed();
    chkIncludeFemale_->setChecked(includeFemale);
    TranslateTexts();
    show();
    raise();
    Calculate();
}

void TfrmPersonInfo::FollowPerson(const QString& personId) {
    if (!isVisible() || personId.trimmed().isEmpty() || personId.trimmed() == personId_)
        return;
    personId_ = personId.trimmed();
    Calculate();
}

void TfrmPersonInfo::Calculate() {
    TBusyCursor busy;
    lblName_->setText(Isolate(personId_ == u"-1" ? GetTreeName() : GetLineageName(personId_)));
    for (QLineEdit* box : {txtMales_, txtFemales_, txtTotal_})
        box->clear();
    if (personId_.isEmpty() || !IsTreeOpen())
        return;
    // The index follows every change of the tree by itself: it is read again only after one.
    const TDescendantCounts counts = CountDescendantsDetailed(personId_, chkIncludeFemale_->isChecked());
    const QLocale locale;
    txtMales_->setText(locale.toString(counts.Males));
    txtFemales_->setText(locale.toString(counts.Females));
    txtTotal_->setText(locale.toString(counts.Total));
}

void TfrmPersonInfo::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        TranslateTexts();
        if (isVisible())
            Calculate();
    }
    QWidget::changeEvent(event);
}

void TfrmPersonInfo::closeEvent(QCloseEvent* event) {
    // A million persons' worth of index is not kept for a window nobody looks at.
    ClearPersonIndex();
    QWidget::closeEvent(event);
}

} // namespace verdan
