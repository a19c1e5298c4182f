#pragma once

#include <QDialog>
#include <QList>

class QListWidget;
class QPushButton;

namespace verdan {

// Lets the user put the data sheet's sections in another order and choose which start expanded
// (checked) or collapsed.
class TfrmReorderControls : public QDialog {
    Q_OBJECT
public:
    struct Entry {
        QString Key;   // the section's key, kept with the entry
        QString Title; // as shown
        bool Checked = false;
    };

    explicit TfrmReorderControls(QWidget* parent = nullptr);

    // Fills the list and selects the first entry.
    void SetEntries(const QList<Entry>& entries);
    QList<Entry> Entries() const;
    QListWidget* List() const { return lst_; }

    // Move the selected entry one place; the selection moves with it.
    void btUpClick();
    void btDownClick();

private:
    void Move(int step);

    QListWidget* lst_;
    QPushButton* btUp_;
    QPushButton* btDown_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
};

} // namespace verdan
