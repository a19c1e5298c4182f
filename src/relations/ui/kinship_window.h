#pragma once

#include <QLineEdit>
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace verdan {

// A box naming one person, which takes a person dragged from an outline (or any list of persons).
class TKinPersonBox : public QLineEdit {
    Q_OBJECT

public:
    explicit TKinPersonBox(QWidget* parent = nullptr);

    QString PersonId() const { return personId_; }
    void SetPerson(const QString& personId);

signals:
    // The persons dropped, in their order; the first is the box's own.
    void PersonsDropped(const QStringList& ids);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QString personId_;
};

// The kinship window: what two persons are to each other, both ways, in the words of the interface
// language, the path between them as a small tree and whether they are mahram, with the reason. The two
// come from the outline's popup or are dragged onto their boxes. Non-modal.
class TfrmKinship : public QWidget {
    Q_OBJECT

public:
    explicit TfrmKinship(QWidget* parent = nullptr);

    // Both persons at once, or one: it takes the empty box, else the second.
    void SetPersons(const QString& a, const QString& b);
    void Offer(const QString& personId);
    QString PersonA() const { return txtPersonA_->PersonId(); }
    QString PersonB() const { return txtPersonB_->PersonId(); }
    // Shows the kinship of the two boxes again, as the tree is now.
    void Refresh();

    QLabel* TermOfB() const { return lblTermB_; }
    QLabel* TermOfA() const { return lblTermA_; }
    QLabel* MahramAnswer() const { return lblMahram_; }
    QTreeWidget* PathTree() const { return trvKinPath_; }
    QPushButton* SwapButton() const { return btSwap_; }

signals:
    void PersonActivated(const QString& personId);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void TranslateTexts();

    QLabel* lblPersonA_;
    QLabel* lblPersonB_;
    TKinPersonBox* txtPersonA_;
    TKinPersonBox* txtPersonB_;
    QPushButton* btSwap_;
    QLabel* lblTermB_;
    QLabel* lblTermA_;
    QTreeWidget* trvKinPath_;
    QLabel* lblMahram_;
    QPushButton* btClose_;
};

} // namespace verdan
