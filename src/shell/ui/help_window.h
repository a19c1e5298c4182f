#pragma once

#include <QDialog>

class QPushButton;
class QTextBrowser;

namespace verdan {

// The help pages inside the program, for a desktop without a viewer of its own: links between the pages
// are followed here, links to the web go to the desktop.
class TfrmHelp : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHelp(QWidget* parent = nullptr);

    // Shows the page (a local file) and brings the window up.
    void ShowPage(const QString& path);
    QTextBrowser* Browser() const { return browser_; }

private:
    void TranslateTexts();

    QTextBrowser* browser_;
    QPushButton* btBack_;
    QPushButton* btClose_;
};

} // namespace verdan
