#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace verdan {

// The breastfeeding section: a person's breastfeeding siblings and mothers and, for a woman, the children
// she nursed, each with a delete button that removes the selected relation after asking.
class TframBreastfeeding : public QWidget {
    Q_OBJECT
public:
    explicit TframBreastfeeding(QWidget* parent = nullptr);

    // Fills the three lists (empty identifier: nobody); true when any list has an entry.
    bool Load(const QString& personId, const QString& gender);
    bool HasEntries() const;
    void TranslateTexts();

    void btDeleteMotherhoodClick();
    void btDeleteSonhoodClick();
    void btDeleteBrotherhoodClick();

signals:
    // A relation was deleted; the person's relations changed.
    void RelationDeleted(const QString& personId);

private:
    struct Part {
        QLabel* label = nullptr;
        QListWidget* list = nullptr;
        QPushButton* remove = nullptr;
    };
    Part AddPart(const char* list, const char* button);
    // The selected entry's identifier after the user agreed to remove it; empty otherwise.
    QString ConfirmRemoval(const Part& part, const char* question);
    // The selected entry's relation is gone: its entry goes too.
    void Removed(const Part& part);

    QString personId_;
    Part siblings_;
    Part mothers_;
    Part children_;
};

} // namespace verdan
