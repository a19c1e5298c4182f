#include "help_window.h"

#include "text/localisation.h"
#include "text/ui/form_grid.h"
#include "text/ui/icons.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace verdan {

TfrmHelp::TfrmHelp(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmHelp"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtHelp"));
    browser_->setOpenExternalLinks(true);
    btBack_ = new QPushButton(this);
    btBack_->setIcon(Icon(u"go-previous"));
    btBack_->setEnabled(false);
    btClose_ = new QPushButton(this);
    btClose_->setIcon(Icon(u"window-close"));
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addWidget(btBack_);
    buttons->addStretch();
    buttons->addWidget(btClose_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    layout->setSpacing(kSpacing);
    layout->addWidget(browser_, 1);
    layout->addLayout(buttons);
    resize(720, 640);

    connect(btBack_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, btBack_, &QPushButton::setEnabled);
    connect(btClose_, &QPushButton::clicked, this, &QDialog::close);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle().trimmed();
        setWindowTitle(title.isEmpty() ? StripAmpersands(Translate(QStringLiteral("Help"))) : title);
    });
    TranslateTexts();
}

void TfrmHelp::TranslateTexts() {
    setWindowTitle(StripAmpersands(Translate(QStringLiteral("Help"))));
    btBack_->setText(Translate(QStringLiteral("Back")));
    btClose_->setText(Translate(QStringLiteral("&Close")));
}

void TfrmHelp::ShowPage(const QString& path) {
    TranslateTexts();
    browser_->clearHistory();
    browser_->setSource(QUrl::fromLocalFile(path));
    show();
    raise();
    activateWindow();
}

} // namespace verdan
