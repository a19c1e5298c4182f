#pragma once

#include "relations/relation_options.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace verdan {

// Sets a relation between two persons: the one dragged (the source) and the one it was dropped on (the
// target). It shows both, lists the relations that join them already, offers the relations that may still
// be set, phrased from the source's side, and writes the chosen one on OK.
class TfrmRelationOptionDialog : public QDialog {
    Q_OBJECT

public:
    explicit TfrmRelationOptionDialog(QWidget* parent = nullptr);

    // Opens the dialog for the two persons, modally; true when OK wrote a relation.
    bool Ask(const QString& sourceId, const QString& targetId);
    // Fills the dialog for the two persons without showing it.
    void Prepare(const QString& sourceId, const QString& targetId);

    bool Changed() const { return changed_; }
    QRadioButton* Option(TRelationOption option) const { return options_[static_cast<int>(option)]; }
    QListWidget* ExistingRelations() const { return lstRelations_; }
    QLabel* RelationLabel() const { return lblRelation_; }
    QPushButton* OkButton() const { return btOk_; }

public slots:
    void accept() override;
    void reject() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void TranslateTexts();
    void ShowLabels();

    QLabel* lblSourceName_;
    QLabel* lblRelation_;
    QLabel* lblTargetName_;
    QGroupBox* grp_Relations_;
    QButtonGroup* group_;
    std::array<QRadioButton*, kRelationOptionCount> options_{};
    QListWidget* lstRelations_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
    QString sourceId_;
    QString targetId_;
    bool sourceMale_ = true;
    TRelationOption selected_ = TRelationOption::FatherMother;
    bool changed_ = false;
};

} // namespace verdan
