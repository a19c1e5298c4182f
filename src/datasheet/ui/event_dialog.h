#pragma once

#include "storage/event_store.h"
#include "storage/relation_store.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace verdan {

class TDateValueRows;
class TFormGrid;

// One event of a person, added or edited: its kind (a couple's kinds with the mate it is shared with), its
// name or value where the kind has one, its date with qualifier, time, place, the person's age, agency,
// cause and notes.
class TfrmEvent : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEvent(QWidget* parent = nullptr);

    // Starts with `event` (a new one has no identifier) of the person; `mates` are offered for a couple's
    // event.
    void Edit(const TEvent& event, const QString& personId, const TMateList& mates);
    // The event as the boxes hold it.
    TEvent Result() const;
    // What keeps the boxes from holding an event; empty when they do.
    QString Problem() const;
    void TranslateTexts();

    void accept() override;

private:
    QString KindCode() const;
    void ShowRows();

    TEvent event_;
    QString personId_;
    TMateList mates_;
    TFormGrid* grid_;
    QLabel* lblKind_;
    QComboBox* cmbKind_;
    QLabel* lblMate_;
    QComboBox* cmbMate_;
    QLabel* lblDescriptor_;
    QLineEdit* txtDescriptor_;
    QLabel* lblValue_;
    QLineEdit* txtValue_;
    TDateValueRows* date_;
    QLabel* lblTime_;
    QLineEdit* txtTime_;
    QLabel* lblPlace_;
    QLineEdit* txtPlace_;
    QLabel* lblAge_;
    QLineEdit* txtAge_;
    QLabel* lblAgency_;
    QLineEdit* txtAgency_;
    QLabel* lblCause_;
    QLineEdit* txtCause_;
    QLabel* lblNotes_;
    QPlainTextEdit* txtNotes_;
    int mateRow_ = -1, descriptorRow_ = -1, valueRow_ = -1;
};

} // namespace verdan
