#pragma once

#include "shell/program_updates.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace verdan {

// "Program Updates": the newer version the package manager offers beside the running one; "Install new
// version" opens the desktop's software updater, which installs it as it installs any package.
class TfrmProgramUpdates : public QDialog {
    Q_OBJECT

public:
    TfrmProgramUpdates(const QString& newVersion, QWidget* parent);
    QLabel* Text() const { return lblText_; }
    QPushButton* InstallButton() const { return btInstall_; }
    QPushButton* CloseButton() const { return btClose_; }

    // Starts a program with its arguments, without waiting for it; tests replace it.
    std::function<bool(const QStringList& command)> StartProgram;

private:
    void btInstallClick();

    QLabel* lblText_;
    QPushButton* btInstall_;
    QPushButton* btClose_;
};

// Help > Check for Updates: asks the package manager, with the hourglass, and answers "up to date", "failed
// to check" or with the "Program Updates" window.
void CheckForUpdatesCommand(QWidget* parent, const TCommandRunner& run = SystemCommandRunner());

} // namespace verdan
