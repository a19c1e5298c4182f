#include "shell/options.h"
#include "shell/startup.h"
#include "text/system_message.h"
#include "text/ui/message_dialog.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("verdan"));
    verdan::InstallMessageDialogs();
    verdan::SetSystemMessageHandler(
        [](const QString& caption, const QString& text) { QMessageBox::critical(nullptr, caption, text); });
    verdan::InitialiseProgram(verdan::ParseStartupArguments(QApplication::arguments().mid(1)));

    const QString title = verdan::ApplicationTitle();
    QApplication::setApplicationDisplayName(title);
    QMainWindow window;
    window.setWindowTitle(title);
    window.resize(1000, 700);
    window.show();
    const int code = app.exec();
    verdan::SaveOptions();
    return code;
}
