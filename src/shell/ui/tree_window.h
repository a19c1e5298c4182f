#pragma once

#include <QWidget>

class QPushButton;
class QSplitter;
class QToolButton;

namespace verdan {

class TframTree;
class TNameSearchBox;

// A separate window onto the open tree with its own outline and name search, so that a user can look at
// two branches at once. Any number can be open; each is deleted when closed, and all close with the tree.
class TfrmTreeWindow : public QWidget {
    Q_OBJECT

public:
    explicit TfrmTreeWindow(QWidget* owner = nullptr);

    // A new window at the cascade position, shown, with the person located in its outline (blank: none).
    // The window closes itself when the owner's tree closes.
    static TfrmTreeWindow* Open(QWidget* owner, const QString& personId);
    // The next window opens at the top-left corner again (the main window does this when it is shown).
    static void ResetCascade();

    // Locates the person in the outline now, or once the outline is filled when it is shown first.
    void ShowPerson(const QString& personId);

    bool IsStayOnTop() const;
    void SetStayOnTop(bool on);

    TframTree* TreeFrame() const { return framTree_; }
    TNameSearchBox* SearchBox() const { return search_; }
    QToolButton* StayOnTopButton() const { return btStayOnTop_; }
    QPushButton* CloseButton() const { return btClose_; }

signals:
    // The person selected in the outline or in the result list, for the cards that follow the selection.
    void PersonSelected(const QString& personId);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void TranslateTexts();

    QToolButton* btStayOnTop_;
    QPushButton* btClose_;
    QSplitter* splitter_;
    TNameSearchBox* search_;
    TframTree* framTree_;
    QString pendingPersonId_;
    bool filled_ = false;
};

} // namespace verdan
