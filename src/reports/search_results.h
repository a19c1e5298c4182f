#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <vector>

namespace verdan {

// The persons a name search found, as the search box lists them: each row shows the person's lineage
// name, composed only when the row is first shown, so a search that finds tens of thousands of persons
// lists them at once.
class TSearchResultModel : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr int PersonIdRole = Qt::UserRole;

    explicit TSearchResultModel(QObject* parent = nullptr);

    void SetPersons(const QStringList& ids);
    void Clear() { SetPersons({}); }
    QString PersonId(int row) const { return ids_.value(row); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QStringList ids_;
    mutable std::vector<QString> names_;
    mutable std::vector<bool> composed_;
};

} // namespace verdan
