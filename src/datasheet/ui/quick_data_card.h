#pragma once

#include "datasheet/quick_cards.h"
#include "storage/person_records.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace verdan {

class TframDates;
class TframMateChild;
class Tfram_Details;
class Tfram_Names;

// The data card: a small window with the names, relationships, dates, texts and details of one person,
// editable. While "Synchronize" is on it follows the person chosen in any list of persons; with "Instant
// Save" on it writes its pending edits before it moves to another person, otherwise they are dropped
// unless saved with the Save button. Closing it saves nothing; it keeps its person while hidden.
class TfrmQuiqkData : public QWidget {
    Q_OBJECT
public:
    explicit TfrmQuiqkData(QWidget* parent = nullptr);

    // Saves the pending edits when instant save is on, then shows the person (blank: nobody).
    void LoadQuickData(const QString& personId);
    // Writes the texts, the bookmark and the changed pages.
    bool SaveQuickData();
    bool HasPendingEdits() const;
    QString PersonId() const { return personId_; }
    bool Synchronised() const;
    bool InstantSave() const;
    void SetSynchronised(bool on);
    void SetInstantSave(bool on);
    bool IsStayOnTop() const;
    void SetStayOnTop(bool on);
    void TranslateTexts();

    QTabWidget* Pages() const { return PageControl_; }
    Tfram_Names* NamesFrame() const { return names_; }
    TframMateChild* RelationsFrame() const { return relations_; }
    TframDates* DatesFrame() const { return dates_; }
    Tfram_Details* DetailsFrame() const { return details_; }
    QPlainTextEdit* NotesBox() const { return txtNotes_; }
    QPlainTextEdit* BriefingBox() const { return txtBriefing_; }
    QPlainTextEdit* BookmarkBox() const { return txtBookMark_; }
    QCheckBox* SynchronizeBox() const { return chkSynchronize_; }
    QCheckBox* AutoSaveBox() const { return chkAutoSave_; }

signals:
    // Something of the person was written from the card.
    void PersonSaved(const QString& personId);
    // A tree window is wanted at a person listed on the card.
    void TreeWindowWanted(const QString& personId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum Page { kNamesPage, kRelationsPage, kDatesPage, kTextPage, kDetailsPage, kPageCount };
    void FillPage(int page);
    void TextEdited();
    void Followed(const QString& personId, const QObject* source);

    QString personId_;
    TPerson person_;
    TCardTexts loadedTexts_;
    bool textChanged_ = false;
    bool filling_ = false;
    bool loaded_[kPageCount] = {};

    QLabel* lblName_;
    QTabWidget* PageControl_;
    Tfram_Names* names_;
    TframMateChild* relations_;
    TframDates* dates_;
    Tfram_Details* details_;
    QLabel* lblBriefing_;
    QLabel* lblNotes_;
    QLabel* lblBookMark_;
    QPlainTextEdit* txtBriefing_;
    QPlainTextEdit* txtNotes_;
    QPlainTextEdit* txtBookMark_;
    QPushButton* btSave_;
    QPushButton* btClose_;
    QToolButton* btStayOnTop_;
    QCheckBox* chkSynchronize_;
    QCheckBox* chkAutoSave_;
};

} // namespace verdan
