#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace verdan {

// A note typed in a box of its own: the bookmarks window's notes and the outline's bookmark of a person.
// Escape in the box cancels.
class TfrmEditNote : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEditNote(QWidget* parent = nullptr);

    // Shows the dialog modally with the caption and the note; true with the edited note after OK.
    bool Edit(const QString& caption, QString& note);

    QPlainTextEdit* NoteBox() const { return txtNote_; }
    QPushButton* OkButton() const { return btOk_; }
    QPushButton* CancelButton() const { return btCancel_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void TranslateTexts();

    QLabel* lblNote_;
    QPlainTextEdit* txtNote_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
};

// The outline's "Bookmark" of a person: the note of the person's bookmark edited in the dialog; on OK an
// empty note removes the bookmark, any other is written to it (a new one when the person had none). True
// when the user pressed OK and the tree took the change.
bool EditPersonBookmark(TfrmEditNote& dialog, const QString& personId);

} // namespace verdan
