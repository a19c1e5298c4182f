#include <QApplication>
#include <QMainWindow>

#include "text/localisation.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("verdan"));
    QApplication::setApplicationDisplayName(verdan::Translate(QStringLiteral("Verdan")));
    QMainWindow window;
    window.setWindowTitle(verdan::Translate(QStringLiteral("Verdan")));
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
