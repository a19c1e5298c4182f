#pragma once

#include "datasheet/section_layout.h"
#include "datasheet/sheet_edits.h"
#include "storage/person_records.h"

#include <QDate>
#include <QWidget>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QScrollArea;
class QToolButton;
class QVBoxLayout;

namespace verdan {

class TCaptionColumn;
class TCollapsiblePanel;
class TframBreastfeeding;
class TframDates;
class TframEvents;
class TframMateChild;
class TframPictures;
class Tfram_Details;
class TframMetaData;
class TframOverview;
class Tfram_Names;
class TfrmReorderControls;

// The data sheet: one person shown and edited in a stack of collapsible sections, each section's edits
// kept until the sheet leaves the person (there is no save step). The main window points it at the person
// whose outline node is being selected, and has it write its pending edits before any command that
// changes persons, closes the tree or copies it.
class TframDataSheet : public QWidget {
    Q_OBJECT
public:
    // Person identifiers dragged from person lists (one per line); dropping them on the sheet's header
    // asks for the first one to be located in the outline.
    static const char* const kPersonIdsMimeType;

    explicit TframDataSheet(QWidget* parent = nullptr);

    // Shows the person (empty: nobody) after writing the pending edits of the person shown so far.
    // Nothing happens when that person is shown already.
    void LoadPerson(const QString& personId);
    // Writes the pending edits, then fills every section again for the person shown: after a command
    // changed the person.
    void ReloadPerson();
    // Writes the pending edits of the person shown now. False when some could not be written (a failed
    // write, or dates that contradict each other); the edits then stay in the sheet.
    bool SavePendingEdits();
    // Before the tree is closed (another opened, the program quit): dates that cannot be written ask to go
    // back to their person (false) or to leave without the date edits (true).
    bool MayLeaveTree();
    // The person was removed from the tree: edits pending for them are dropped and, when they are
    // shown, the sheet shows nobody.
    void PersonRemoved(const QString& personId);
    // Shows nobody: every section emptied and disabled. Pending edits are dropped, so callers write
    // them first (LoadPerson with an empty identifier does both).
    void ClearSheet();
    // For a tree that takes no changes: the person is shown with every section greyed.
    void SetWritable(bool writable);
    bool IsWritable() const { return writable_; }

    // The reordering dialog, then the chosen layout applied and kept in the options.
    void ReorderSections();
    // Puts the sections in the order and states of the options' "Data Sections" layout.
    void ApplySectionLayout();
    // Stacks the visible sections in their order.
    void LayoutSections();

    QString CurrentPersonId() const { return personId_; }
    bool HasPendingEdits() const;
    // The sections, in their order; a section by its key (its English title).
    QList<TCollapsiblePanel*> Sections() const;
    TCollapsiblePanel* Section(const QString& key) const;
    // The current layout: every section's key and collapse state, in order.
    QList<TSectionState> SectionStates() const;
    // Moves a section to the place of another, as dropping a dragged section does.
    void MoveSection(TCollapsiblePanel* moved, TCollapsiblePanel* target);

    Tfram_Names* NamesFrame() const { return names_; }
    TframDates* DatesFrame() const { return dates_; }
    TframEvents* EventsFrame() const { return events_; }
    TframMateChild* RelationsFrame() const { return relations_; }
    Tfram_Details* DetailsFrame() const { return details_; }
    TframPictures* PicturesFrame() const { return pictures_; }
    TframBreastfeeding* BreastfeedingFrame() const { return breastfeeding_; }
    TfrmReorderControls* ReorderDialog() const { return reorder_; }
    QPlainTextEdit* NotesBox() const { return txtNotes_; }
    QPlainTextEdit* BriefingBox() const { return txtBriefing_; }

    void TranslateTexts();

    // Today's date; tests fix it.
    std::function<QDate()> Today = [] {
        return QDate::currentDate();
    };

signals:
    // The person's names were written: the outline shows the new name (RefreshPersonNode).
    void NamesSaved(const QString& personId);
    // Something of the person was written by the sheet.
    void PersonSaved(const QString& personId);
    // A person dropped on the header is to be located in the outline (LocatePerson).
    void LocatePersonRequested(const QString& personId);
    // A relation of the person was deleted from the sheet.
    void RelationsChanged(const QString& personId);
    // A person listed in the sheet was double-clicked: a tree window is wanted at it.
    void TreeWindowWanted(const QString& personId);
    // The picture browser is wanted for the person.
    void PictureBrowserWanted(const QString& personId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SectionDef {
        const char* key;
        const char* objectName;
        bool collapsed;
    };
    TCollapsiblePanel* AddSection(const SectionDef& def, QWidget* content);
    // Shows personId_ afresh: its sections load again as they open.
    void ShowPerson();
    void FillSheet();
    void FillHeader();
    void FillBreastfeeding();
    // The parents in the header after the relationships section changed them.
    void RefreshParents();
    // The person's picture in the header and the overview.
    void ShowPersonPicture();
    void SetSheetEnabled(bool enabled);
    void SectionExpanding(TCollapsiblePanel* panel);
    void TextEdited();
    TTextBoxes TextBoxes() const;
    void StoreLayoutInMemory();
    bool DropOnSections(QEvent* event);
    bool DropOnHeader(QEvent* event);
    bool WheelOverSections(QEvent* event);
    bool WheelOverText(QPlainTextEdit* box, QEvent* event);

    QString personId_;
    TPerson person_;
    bool namesLoaded_ = false;
    bool datesLoaded_ = false;
    bool filling_ = false;
    bool writable_ = true;
    TTextEdits text_;
    QList<TCollapsiblePanel*> sections_; // in order

    QWidget* pnlName_;
    QLabel* lblShortName_;
    QLabel* lblFather_Name_;
    QLabel* lblMother_Name_;
    QWidget* pnlPesonImageSmall_;
    QLabel* imgPersonSmall_;
    QToolButton* btReorderControls_;
    QScrollArea* scrSections_;
    QWidget* sectionHost_;
    QVBoxLayout* sectionLayout_;
    TCollapsiblePanel* cpnl_Summary_;
    TCollapsiblePanel* cpnlData_;
    TCollapsiblePanel* cpnlRelations_;
    TCollapsiblePanel* cpnlDates_;
    TCollapsiblePanel* cpnlEvents_;
    TCollapsiblePanel* cpnl_Details_;
    TCollapsiblePanel* cpnlBriefing_;
    TCollapsiblePanel* cpnlPictures_;
    TCollapsiblePanel* cpnlMotherhoods_;
    TCollapsiblePanel* cpnlNote_;
    TCollapsiblePanel* cpnl_Meta_Data_;
    TframOverview* overview_;
    Tfram_Names* names_;
    TframMateChild* relations_;
    TframDates* dates_;
    TframEvents* events_;
    Tfram_Details* details_;
    TframPictures* pictures_;
    QPlainTextEdit* txtBriefing_;
    TframBreastfeeding* breastfeeding_;
    QPlainTextEdit* txtNotes_;
    TframMetaData* metaData_;
    TfrmReorderControls* reorder_;
    TCaptionColumn* captions_ = nullptr;
};

} // namespace verdan
