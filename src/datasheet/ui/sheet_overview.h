#pragma once

#include "storage/person_records.h"

#include <QHash>
#include <QWidget>

class QLabel;

namespace verdan {

class TFormGrid;

// A read-only list of captioned values on the program's form grid: each value beside its caption.
class TCaptionedValues : public QWidget {
    Q_OBJECT
public:
    explicit TCaptionedValues(QWidget* parent = nullptr);

protected:
    // Adds a row and gives its value label; SetCaption sets the caption beside it.
    QLabel* AddRow(const char* name);
    void SetCaption(QLabel* value, const QString& caption);
    TFormGrid* Form() const { return form_; }

private:
    TFormGrid* form_;
    QHash<QLabel*, QLabel*> captions_; // value -> caption
};

// The overview section: the main facts of a person at a glance.
class TframOverview : public TCaptionedValues {
    Q_OBJECT
public:
    explicit TframOverview(QWidget* parent = nullptr);

    // Fills the values for the person (a record without identifier empties them).
    void Fill(const TPerson& person, const QDate& today);
    // The person's picture beside the facts; a null image shows none.
    void SetPicture(const QImage& image);
    void TranslateTexts();

private:
    QLabel* imgPicture_;
    QLabel* lblName_;
    QLabel* lblFamily_;
    QLabel* lblFather_;
    QLabel* lblGrandfather_;
    QLabel* lblGreatGrandfather_;
    QLabel* lblBirthG_;
    QLabel* lblBirthH_;
    QLabel* lblBirthSince_;
    QLabel* lblDeathSince_;
    QLabel* lblLived_;
    QLabel* lblEvents_;
    QLabel* lblIdentity_;
    QLabel* lblWork_;
    QLabel* lblCell_;
    QLabel* lblHome_;
    QLabel* lblEmail_;
    QLabel* lblNeighborhood_;
    QLabel* lblCity_;
    QLabel* lblState_;
};

// The data entry section: the person's identifier and who created and last changed the row, and when.
class TframMetaData : public TCaptionedValues {
    Q_OBJECT
public:
    explicit TframMetaData(QWidget* parent = nullptr);

    void Fill(const QString& personId);
    void TranslateTexts();

private:
    QLabel* lblPersonId_;
    QLabel* lblCreatedBy_;
    QLabel* lblCreatedDate_;
    QLabel* lblModifiedBy_;
    QLabel* lblModifiedDate_;
};

} // namespace verdan
