#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QDialogButtonBox;
class QListWidget;

namespace verdan {

// Chooses which children of a person the chart adds: a check list of the children, all males and all
// females ticked at first. Asked again for the same person, it keeps the ticks the user left.
class Tfrm_Chrt_Cildren_List : public QDialog {
    Q_OBJECT

public:
    explicit Tfrm_Chrt_Cildren_List(QWidget* parent = nullptr);

    // Modal, its trailing edge at the pointer; ids receives the ticked children in list order. False when
    // cancelled.
    bool ShowChildrenDialog(const QString& personId, const QPoint& pointer, QStringList& ids);
    // Fills the list for the person (kept as it is for the same person as last time).
    void Prepare(const QString& personId);
    QStringList TickedIds() const;

    QListWidget* List() const { return lst_; }
    QCheckBox* MalesBox() const { return chkMales_; }
    QCheckBox* FemalesBox() const { return chkFemales_; }
    QDialogButtonBox* Buttons() const { return buttons_; }

private:
    void TickByGender();
    void TranslateTexts();

    QListWidget* lst_;
    QCheckBox* chkMales_;
    QCheckBox* chkFemales_;
    QDialogButtonBox* buttons_;
    QString shownPersonId_;
};

} // namespace verdan
