#include "datasheet/ui/data_sheet.h"
#include "main_window.h"
#include "shell/ui/tree_file_checks.h"
#include "shell/ui/tree_rescue_progress.h"
#include "storage/database.h"
#include "storage/tree_file.h"
#include "text/bidi_text.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"
#include "text/user_options.h"

#include <QFileInfo>
#include <QTimer>

// The main window with a damaged tree: the tree turns read-only the moment damage is found, the user is
// asked what to do, and a copy with everything that can still be read is rescued; maintenance, which
// looks for damage before it compacts.

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

bool TfrmFamilyMain::MaintainTree() {
    if (!IsTreeOpen())
        return false;
    framDataSheet_->SavePendingEdits();
    // A tree that takes no changes is not compacted; the refusal says why.
    if (IsTreeReadOnly())
        return MaintainTreeFile();
    // A damaged file is left as it is: compacting it could lose more of it. The damage found makes the
    // tree read-only, and the user is asked what to do, as with damage found any other way.
    QString problems;
    if (!CheckOpenTreeWithProgress(this, &problems)) {
        if (!problems.isEmpty()) {
            const bool messages = Dm().SetDamageMessages(false);
            Dm().NoteDamage(problems);
            Dm().SetDamageMessages(messages);
            TreeFoundDamaged(problems, true);
        }
        return false;
    }
    bool done = false;
    {
        TBusyCursor busy;
        done = MaintainTreeFile();
    }
    if (done)
        MsgInfo(Isolate(Translate(QStringLiteral("No damage was found in the tree file."))) + u'|' +
                Isolate(Translate(QStringLiteral("The tree file was compacted."))));
    return done;
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
