#include "main_window.h"
#include "shell/ui/tree_rescue_progress.h"
#include "storage/database.h"
#include "storage/tree_file.h"
#include "text/user_options.h"

#include <QFileInfo>
#include <QTimer>

// The main window with a damaged tree: the tree turns read-only the moment damage is found, the user is
// asked what to do, and a copy with everything that can still be read is rescued.

namespace verdan {

void TfrmFamilyMain::WatchDamage() {
    // Damage is found inside whatever statement meets it: the question waits until that work is done.
    SetDamageHandler([this](const QString& path, const QString& reason, bool messageWanted) {
        if (path != CurrentTreePath())
            return false;
        QTimer::singleShot(0, this,
                           [this, reason, messageWanted] { TreeFoundDamaged(reason, messageWanted); });
        return true;
    });
}

void TfrmFamilyMain::TreeFoundDamaged(const QString& reason, bool ask) {
    UpdateCommandStates();
    if (!ask || askingAboutDamage_ || !IsTreeOpen())
        return;
    askingAboutDamage_ = true;
    const QString path = CurrentTreePath();
    const TDamageChoice choice = AskDamagedTree(path, reason);
    askingAboutDamage_ = false;
    switch (choice) {
    case TDamageChoice::Rescue:
        RescueTreeAndOpen(path);
        break;
    case TDamageChoice::ReadOnly:
        break;
    case TDamageChoice::Cancel:
        // Not kept open at all: the tree goes as if it had never been opened.
        if (CloseOtherWindows())
            CloseCurrentTree();
        break;
    }
}

bool TfrmFamilyMain::RescueDamagedTree() {
    const QString last = IsTreeOpen() ? CurrentTreePath() : Options().LastOpenedProject.trimmed();
    const QString file =
        ChooseTreeFile(TreeFileFilter(), last.isEmpty() ? QString() : QFileInfo(last).absolutePath());
    return !file.isEmpty() && RescueTreeAndOpen(file);
}

bool TfrmFamilyMain::RescueTreeAndOpen(const QString& damaged) {
    const QString rescued = RescueTreeWithProgress(this, damaged);
    return !rescued.isEmpty() && LoadTree(rescued);
}

} // namespace verdan
