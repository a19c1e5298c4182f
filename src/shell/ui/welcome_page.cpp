#include "welcome_page.h"

#include "text/localisation.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

constexpr int kLogoSize = 96;
constexpr int kCommandIcon = 32;
constexpr int kColumnChars = 60;

} // namespace

TframWelcome::TframWelcome(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("framWelcome"));
    imgLogo_ = new QLabel(this);
    imgLogo_->setAlignment(Qt::AlignCenter);
    lblTitle_ = new QLabel(this);
    lblTitle_->setObjectName(QStringLiteral("lblWelcomeTitle"));
    lblTitle_->setAlignment(Qt::AlignCenter);
    QFont big = lblTitle_->font();
    big.setPointSize(big.pointSize() * 9 / 4);
    big.setBold(true);
    lblTitle_->setFont(big);
    lblText_ = new QLabel(this);
    lblText_->setWordWrap(true);
    lblText_->setAlignment(Qt::AlignCenter);

    commands_ = new QWidget(this);
    auto* commands = new QVBoxLayout(commands_);
    commands->setContentsMargins(0, 0, 0, 0);
    commands->setSpacing(kSpacing);
    btNewTree_ = AddCommand(u"document-new", "btWelcomeNew");
    btOpen_ = AddCommand(u"document-open", "btWelcomeOpen");
    btImport_ = AddCommand(u"document-import", "btWelcomeImport");
    btSample_ = AddCommand(u"system-users", "btWelcomeSample");
    btRecent_ = AddCommand(u"document-open-recent", "btWelcomeRecent");
    btRecent_->hide();

    // One centred column of a readable width, whatever the window's size.
    auto* column = new QVBoxLayout;
    column->setSpacing(kSpacing * 2);
    column->addWidget(imgLogo_);
    column->addWidget(lblTitle_);
    column->addWidget(lblText_);
    column->addSpacing(kSpacing * 2);
    column->addWidget(commands_);
    auto* inner = new QWidget(this);
    inner->setLayout(column);
    inner->setFixedWidth(fontMetrics().averageCharWidth() * kColumnChars);
    // Stretches around it, not an alignment, so that the wrapped text gets the height it needs.
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(inner);
    row->addStretch(1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    outer->addStretch(1);
    outer->addLayout(row);
    outer->addStretch(2);

    connect(btNewTree_, &QToolButton::clicked, this, &TframWelcome::NewTreeRequested);
    connect(btOpen_, &QToolButton::clicked, this, &TframWelcome::OpenRequested);
    connect(btImport_, &QToolButton::clicked, this, &TframWelcome::ImportRequested);
    connect(btSample_, &QToolButton::clicked, this, &TframWelcome::SampleRequested);
    connect(btRecent_, &QToolButton::clicked, this, &TframWelcome::RecentTreesRequested);
    TranslateTexts();
}

QToolButton* TframWelcome::AddCommand(const char16_t* icon, const char* name) {
    auto* button = new QToolButton(commands_);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(Icon(icon));
    button->setIconSize(QSize(kCommandIcon, kCommandIcon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setMinimumHeight(kCommandIcon + 2 * kSpacing);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setCursor(Qt::PointingHandCursor);
    commands_->layout()->addWidget(button);
    return button;
}

void TframWelcome::TranslateTexts() {
    imgLogo_->setPixmap(Icon(u"verdan").pixmap(QSize(kLogoSize, kLogoSize), devicePixelRatioF()));
    lblTitle_->setText(Translate(QStringLiteral("Welcome to Verdan")));
    lblText_->setText(
        Translate(QStringLiteral("No family tree is open. Start a new tree, open one you keep, bring "
                                 "one in from a GEDCOM file, or look around in the sample family.")));
    btNewTree_->setText(StripAmpersands(Translate(QStringLiteral("Create new tree file"))));
    btOpen_->setText(StripAmpersands(Translate(QStringLiteral("Open tree file"))));
    btImport_->setText(StripAmpersands(Translate(QStringLiteral("Import GEDCOM File"))));
    btSample_->setText(Translate(QStringLiteral("Open the sample family")));
    btSample_->setToolTip(Translate(
        QStringLiteral("A fictional family of a few hundred persons over more than ten generations")));
    btRecent_->setText(Translate(QStringLiteral("Recent trees")) + QStringLiteral(".."));
}

void TframWelcome::SetRecentTreesShown(bool shown) {
    btRecent_->setVisible(shown);
}

} // namespace verdan
