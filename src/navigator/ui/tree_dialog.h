#pragma once

#include "navigator/family_links.h"
#include "text/messages.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTabWidget;
class QToolButton;

namespace verdan {

class TframTree;
class TNameSearchBox;
class TZelGrid;

// What a caller's check says of the persons chosen in the picker, before the picker closes.
struct TPickVerdict {
    enum class Kind { Allowed, Ask, Refused };
    Kind kind = Kind::Allowed;
    // Refused: why, shown in the picker, which stays open with its search and tabs as they are; empty
    // when the check has told the user already.
    QString reason;
    // Ask: asked over the open picker; its escape answer goes back to the picker, any other closes it.
    TQuestion question;

    static TPickVerdict Allowed() { return {}; }
    static TPickVerdict Refused(const QString& reason = QString()) { return {Kind::Refused, reason, {}}; }
    static TPickVerdict Ask(const TQuestion& question) { return {Kind::Ask, QString(), question}; }
};

using TPickCheck = std::function<TPickVerdict(const TPickedPersons&)>;

// The person picker: the user chooses one or several existing persons from a read-only outline (with
// the name search), an alphabetical list of full names, or the bookmarks. Made once and reused; the
// caller sets the caption, single or multiple choice and, when it wants one, the gender filter of the
// name list (kept from one use to the next), then runs it modally and reads the choice.
class TfrmTreeDialog : public QDialog {
    Q_OBJECT

public:
    explicit TfrmTreeDialog(QWidget* parent = nullptr);

    // Opens the picker; true when a person (or several) was chosen with OK. The check, when given, runs on
    // OK before the picker closes, for this opening only.
    bool Choose(const QString& caption, bool multiple);
    bool Choose(const QString& caption, bool multiple, const QString& genderFilter, TPickCheck check = {});

    void SetGenderFilter(const QString& gender) { genderFilter_ = gender; }
    QString GenderFilter() const { return genderFilter_; }
    void SetMultiSelect(bool multiple);
    void SetOkVisible(bool visible);

    bool Accepted() const { return accepted_; }
    // The choice of the last opening; empty after Close. The caption names a chosen person with his lineage.
    const TPickedPersons& Chosen() const { return chosen_; }
    // The code of the answer given to the check's question; 0 when none was asked.
    int Answer() const { return answer_; }
    // Why the check refused the last choice, as the picker shows it; empty when nothing is refused.
    QString RefusalShown() const;

    // The next picker and the next tree window open at the top-left corner again.
    static void ResetCascade();

    TframTree* Outline() const { return framTree_; }
    TNameSearchBox* SearchBox() const { return search_; }
    QTabWidget* Tabs() const { return tabs_; }
    TZelGrid* NameGrid() const { return g_; }
    TZelGrid* BookmarkGrid() const { return gBookmark_; }
    QLineEdit* NameListEdit() const { return txtNameList_; }
    QCheckBox* InFullNameBox() const { return chkInFullName_; }
    QPushButton* OkButton() const { return btOk_; }
    QToolButton* StayOnTopButton() const { return btStayOnTop_; }

    // The List tab's find: the next row whose name holds the text (at its start only, unless "Find in
    // whole name" is checked), after the current one; row 1 when there is none after it.
    void FindInList();
    // The Tree tab's outline shows the person.
    void LocateInOutline(const QString& personId);

public slots:
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TranslateTexts();
    void Prepare();
    void FillNameList();
    void FillBookmarks();
    void DrawNameCell(QPainter& painter, const QRect& rect, int col, int row);
    void OpenBookmark(int row);
    void DeleteBookmarkRow(int row);
    void SavePosition();
    void ShowRefusal(const QString& reason);
    // Runs the caller's check on the choice; true when the picker may close.
    bool Checked();

    QToolButton* btStayOnTop_;
    QTabWidget* tabs_;
    QWidget* tabTree_;
    QWidget* tabList_;
    QWidget* tabBookMark_;
    QSplitter* splitter_;
    TNameSearchBox* search_;
    TframTree* framTree_;
    QLineEdit* txtNameList_;
    QPushButton* btFindInList_;
    QCheckBox* chkInFullName_;
    QPushButton* btRefreshList_;
    TZelGrid* g_;
    TZelGrid* gBookmark_;
    QPushButton* btOpenbookmark_;
    QLabel* lblRefusal_;
    QPushButton* btOk_;
    QPushButton* btCancel_;

    QString genderFilter_;
    TPickedPersons chosen_;
    TPickCheck check_;
    int answer_ = 0;
    bool accepted_ = false;
    bool multiple_ = false;
    quint64 filledGeneration_ = 0; // the tree the outline was filled from; 0 before the first filling
    bool listFilled_ = false;
};

} // namespace verdan
