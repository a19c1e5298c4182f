#include <QApplication>
#include <QMainWindow>

#include "text/localisation.h"
#include "text/ui/message_dialog.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    verdan::InstallMessageDialogs();
    QApplication::setApplicationName(QStringLiteral("verdan"));
    QApplication::setApplicationDisplayName(verdan::Translate(QStringLiteral("Verdan")));
    QMainWindow window;
    window.setWindowTitle(verdan::Translate(QStringLiteral("Verdan")));
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
