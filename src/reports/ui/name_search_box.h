#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QListView;
class QPushButton;

namespace verdan {

class TSearchResultModel;
class TResultListView;

// The name search of the main window and of tree windows: a search box with its Find button above a list
// of the persons found, each shown with its lineage name. Placed in a splitter above an outline, it grows
// to show the list when a search found somebody and shrinks back to the search box on request.
//
// Keys: Enter in the box searches (as the button does, so not for a text of one character); Enter or a
// double-click on an entry chooses that person. Ctrl+Up and Ctrl+Down move the focus round the box, the
// list and the outline given to SetOutline.
class TNameSearchBox : public QWidget {
    Q_OBJECT

public:
    explicit TNameSearchBox(QWidget* parent = nullptr);

    // With identifiers accepted (the main window), a text in the full identifier form of an existing person
    // is handed on through identifierEntered instead of being searched. Any other text is searched as a
    // name, also when it begins with "{".
    void SetAcceptIdentifiers(bool accept) { acceptIdentifiers_ = accept; }

    // The widget that takes the focus in the outline beside the box, for the Ctrl+Up and Ctrl+Down keys;
    // its own Ctrl+Up and Ctrl+Down lead to the list and to the box.
    void SetOutline(QWidget* outline);

    // Captions in the current language.
    void TranslateTexts();

    // The Find button: searches the text in the box.
    void Find();
    // Lists the persons found for a text; the number listed. Blank text changes nothing. When nobody is
    // found the list says so ("No person found").
    int FillSearchResults(const QString& text);
    // Empties the list, as when the tree closes.
    void ClearResults();
    // Searches the text of the list again after the tree changed; the entry chosen stays chosen while it is
    // listed, and the keyboard stays where it is.
    void RefreshResults();
    // The identifier behind the current entry; empty when there is none.
    QString CurrentPersonId() const;

    // Height of the search area inside its splitter: grown to show the list, or shrunk to the box alone.
    void ExpandResults();
    void CollapseResults();

    QLineEdit* SearchEdit() const { return txtFind_; }
    QPushButton* FindButton() const { return btFind_; }
    QListView* ResultList() const;
    int ResultCount() const;
    // The text the list shows in a row, and the person behind it.
    QString ResultText(int row) const;
    QString ResultPersonId(int row) const;
    void SetCurrentResult(int row);
    // What the empty list says: "No person found" after a search that found nobody, else nothing.
    QString EmptyListText() const;

signals:
    // The current entry changed to this person (a click, the arrow keys, or a new search), or the current
    // entry was clicked.
    void personSelected(const QString& id);
    // Enter or a double-click on this person's entry: the host shows the person in its outline.
    void personChosen(const QString& id);
    // A person identifier was typed and Find pressed (only with identifiers accepted).
    void identifierEntered(const QString& id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetAreaHeight(int height);
    int CollapsedHeight() const;
    bool MoveFocus(QObject* from, bool up);
    void ChooseCurrent();

    QLineEdit* txtFind_;
    QPushButton* btFind_;
    TSearchResultModel* results_;
    TResultListView* lstName_;
    QWidget* searchRow_;
    QPointer<QWidget> outline_;
    bool acceptIdentifiers_ = false;
    QString searched_;
};

} // namespace verdan
