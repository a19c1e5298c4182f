#pragma once

#include "navigator/tree_commands.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

class QLabel;
class QPushButton;

namespace verdan {

class TZelGrid;

// After a child was added under a married person: offers that person's mates as the child's other
// parent. It opens without waiting and without taking the focus from the name being typed in the outline,
// stays on top, and closes by itself when left alone for kLifetime; the child then keeps the parents it
// was created with.
class Tfrm_ConfirmSecondParent : public QDialog {
    Q_OBJECT

public:
    static constexpr int kLifetime = 20000;  // milliseconds
    static constexpr int kFocusGrace = 1000; // an activation this soon after showing is the platform's

    explicit Tfrm_ConfirmSecondParent(QWidget* parent = nullptr);

    // Shows the mates of the status's person for the new child, without waiting.
    void Offer(const QString& childId, const TMateStatus& mates);

    TZelGrid* MateGrid() const { return gMates_; }
    QTimer& CloseTimer() { return timer_; }
    QString ChildId() const { return childId_; }

public slots:
    void accept() override;

signals:
    // The child got the chosen mate as its other parent.
    void ParentSet(const QString& childId);

protected:
    void changeEvent(QEvent* event) override;

private:
    void Fill();
    void ExpireOrWait();
    void GiveFocusBack();

    QLabel* lblParent_;
    QLabel* lblMsg_;
    TZelGrid* gMates_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
    QTimer timer_;
    QPointer<QWidget> returnFocus_; // where the keys went before the window was shown
    QPointer<QWidget> returnWindow_;
    QString childId_;
    TMateStatus mates_;
};

} // namespace verdan
