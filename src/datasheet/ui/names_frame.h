#pragma once

#include "datasheet/sheet_edits.h"

#include <QHash>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace verdan {

class TFormGrid;

// The names section of the data sheet: the seven name parts, the group flag with its kind, the gender and
// the two birth orders of one person. Edits stay in the boxes until SaveNames.
class Tfram_Names : public QWidget {
    Q_OBJECT
public:
    explicit Tfram_Names(QWidget* parent = nullptr);

    // Fills the boxes for the person (empty: nobody); pending edits of the person before are forgotten,
    // so the caller saves them first.
    void LoadNames(const QString& personId);
    // Empties the boxes: nobody shown.
    void Clear() { LoadNames(QString()); }
    // Writes the pending edits; NamesSaved follows a write.
    TSaveResult SaveNames();

    QString PersonId() const { return edits_.PersonId(); }
    bool NamesChanged() const { return edits_.Changed(); }
    TNamesBoxes Boxes() const;
    void TranslateTexts();

signals:
    void NamesSaved(const QString& personId);
    void Edited();

private:
    QLineEdit* AddBox(const char* name, const char* caption);
    void MarkChanged();
    void chkIsSectionClick();

    TNamesEdits edits_;
    bool filling_ = false;
    QList<QPair<QLabel*, const char*>> labels_;
    TFormGrid* form_ = nullptr;
    QHash<QLineEdit*, int> rows_;
    QLineEdit* txtPerson_Name_;
    QLineEdit* txtCognomen_;
    QLineEdit* txtOther_Name_;
    QLineEdit* txtNickname_;
    QLineEdit* txtLast_Name_;
    QLineEdit* txtFamily_Name_;
    QLineEdit* txtFamily_Nickname_;
    QCheckBox* chkIsSection_;
    QComboBox* cmbSection_Type_;
    QLineEdit* txtGender_;
    QLineEdit* txtOrder_By_Father_;
    QLineEdit* txtOrder_By_Mother_;
};

} // namespace verdan
