#pragma once

#include "storage/person_records.h"

#include <QDialog>

class QPushButton;
class QRadioButton;

namespace verdan {

// Asks how one of a person's family names goes down his father line: only to the descendants who have
// none, or to all of them, overwriting theirs.
class Tfrm_Apply_To_Descendents : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Apply_To_Descendents(QWidget* parent = nullptr);

    // Shows the question for the kind of name modally; true after OK, with overwrite as chosen.
    bool Ask(TFamilyNameKind kind, bool& overwrite);

    QRadioButton* OnlyEmptyButton() const { return rb_Apply_for_None_Value_Only_; }
    QRadioButton* AllButton() const { return rb_Apply_to_All_; }
    QPushButton* OkButton() const { return btOk_; }

private:
    QRadioButton* rb_Apply_for_None_Value_Only_;
    QRadioButton* rb_Apply_to_All_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
};

// The caption a kind of family name has in the outline's menu ("Family Name", ...), in English.
QString FamilyNameCaption(TFamilyNameKind kind);

} // namespace verdan
