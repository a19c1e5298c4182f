#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace verdan {

class TfrmAddChildren;

// After a marriage is recorded: the children of the husband and those of the wife, each with the other
// parent it has, so that the user marks which are children of the couple; OK gives the marked ones both
// parents at once. Installed as the handler MarryPersons calls when either spouse has children.
class TfrmHusbandWifeDialog : public QDialog {
    Q_OBJECT

public:
    TfrmHusbandWifeDialog(TfrmAddChildren* addChildren, QWidget* parent = nullptr);

    // Opens the dialog for the couple, modally.
    void Offer(const QString& husbandId, const QString& wifeId);

    QListWidget* HusbandChildren() const { return lstChildHusband_; }
    QListWidget* WifeChildren() const { return lstChildWife_; }
    QCheckBox* AllOfHusband() const { return chkAllHusband_; }
    QCheckBox* AllOfWife() const { return chkAllWife_; }
    QPushButton* AddChildButton() const { return btAddChild_; }

    // The add-children button: the children-list dialog for the couple, then the lists again.
    void AddChildClick();

public slots:
    void accept() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void TranslateTexts();
    void Fill();

    TfrmAddChildren* addChildren_;
    QLabel* lblHusbandTitle_;
    QLabel* lblHusband_;
    QLabel* lblWifeTitle_;
    QLabel* lblWife_;
    QLabel* lblHint_;
    QListWidget* lstChildHusband_;
    QListWidget* lstChildWife_;
    QCheckBox* chkAllHusband_;
    QCheckBox* chkAllWife_;
    QPushButton* btAddChild_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
    QString husbandId_;
    QString wifeId_;
};

} // namespace verdan
