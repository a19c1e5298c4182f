#include "program_updates_window.h"

#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/form_grid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

TfrmProgramUpdates::TfrmProgramUpdates(const QString& newVersion, QWidget* parent)
    : QDialog(parent), lblText_(new QLabel(this)),
      btInstall_(new QPushButton(Translate(QStringLiteral("Install new version")), this)),
      btClose_(new QPushButton(Translate(QStringLiteral("Close")), this)) {
    setWindowTitle(Translate(QStringLiteral("Program Updates")));
    lblText_->setText(Translate(QStringLiteral("A new version of")) + u' ' +
                      Translate(QStringLiteral("Verdan")) + QStringLiteral(" (") + Isolate(newVersion) +
                      QStringLiteral(")\n") + Translate(QStringLiteral("Current used version")) +
                      QStringLiteral(": ") + Isolate(QStringLiteral(VERDAN_VERSION)));
    lblText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addStretch();
    buttons->addWidget(btInstall_);
    buttons->addWidget(btClose_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    layout->setSpacing(kWindowMargin);
    layout->addWidget(lblText_);
    layout->addLayout(buttons);
    btInstall_->setDefault(true);
    StartProgram = [](const QStringList& command) {
        return QProcess::startDetached(command.first(), command.mid(1));
    };
    connect(btInstall_, &QPushButton::clicked, this, &TfrmProgramUpdates::btInstallClick);
    connect(btClose_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmProgramUpdates::btInstallClick() {
    const QStringList updater = SoftwareUpdaterCommand();
    if (updater.isEmpty() || !StartProgram(updater)) {
        MsgWarning(Translate(QStringLiteral("No software updater was found on this desktop.")) + u'|' +
                   Translate(QStringLiteral("Install the new version with the system's package manager.")));
        return;
    }
    accept();
}

void CheckForUpdatesCommand(QWidget* parent, const TCommandRunner& run) {
    TUpdateCheck check;
    {
        TBusyCursor busy;
        check = CheckForUpdate(QStringLiteral(VERDAN_VERSION), run);
    }
    switch (check.Answer) {
    case TUpdateAnswer::UpToDate:
        MsgInfo(Translate(QStringLiteral("Application is up to date")) + u'.');
        return;
    case TUpdateAnswer::NoAnswer:
        MsgInfo(Translate(QStringLiteral("Failed to check for update")) + u'.');
        return;
    case TUpdateAnswer::Newer: {
        TfrmProgramUpdates window(check.NewVersion, parent);
        window.exec();
        return;
    }
    }
}

} // namespace verdan
