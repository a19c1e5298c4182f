#include "shell/file_type.h"
#include "shell/startup.h"
#include "shell/ui/main_window.h"
#include "text/messages.h"
#include "text/system_message.h"
#include "text/ui/caption_style.h"
#include "text/ui/keyboard_groups_x11.h"
#include "text/ui/message_dialog.h"
#include "text/ui/plain_clipboard.h"
#include "text/user_options.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <cstdio>

int main(int argc, char** argv) {
    // --help and --version answer on the terminal, without a display.
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    if (const QString answer = verdan::ProgramAnswer(words); !answer.isEmpty()) {
        fputs(answer.toLocal8Bit().constData(), stdout);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("verdan"));
    verdan::InstallCaptionStyle();
    verdan::InstallMessageDialogs();
    verdan::KeepCopiedTextsPlain();
    verdan::InstallDesktopKeyboardGroups();
    verdan::SetSystemMessageHandler(
        [](const QString& caption, const QString& text) { QMessageBox::critical(nullptr, caption, text); });
    const verdan::TStartupArguments arguments =
        verdan::ParseStartupArguments(QApplication::arguments().mid(1));
    verdan::InitialiseProgram(arguments);
    // A program started from a build or a copied folder opens tree files on a double click, as an installed
    // one does; the desktop's caches are refreshed in the background.
    verdan::RegisterFileType(QApplication::applicationFilePath(),
                             [](const QString& program, const QStringList& arguments, QString&) {
                                 return QProcess::startDetached(program, arguments);
                             });

    // The title goes to the messages only: a display name would make the toolkit repeat it after every
    // window's own caption.
    verdan::SetMessageTitle(verdan::ApplicationTitle());
    verdan::TfrmFamilyMain window;
    window.StartUp(arguments.TreeFile);
    const int code = app.exec();
    verdan::SaveOptions();
    return code;
}
