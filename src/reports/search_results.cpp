#include "search_results.h"

#include "storage/person_names.h"

namespace verdan {

TSearchResultModel::TSearchResultModel(QObject* parent) : QAbstractListModel(parent) {
}

void TSearchResultModel::SetPersons(const QStringList& ids) {
    beginResetModel();
    ids_ = ids;
    names_.assign(size_t(ids.size()), QString());
    composed_.assign(size_t(ids.size()), false);
    endResetModel();
}

int TSearchResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(ids_.size());
}

QVariant TSearchResultModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= ids_.size())
        return {};
    const auto row = size_t(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        if (!composed_[row]) {
            names_[row] = GetLineageName(ids_[index.row()]);
            composed_[row] = true;
        }
        return names_[row];
    case PersonIdRole:
        return ids_[index.row()];
    default:
        return {};
    }
}

} // namespace verdan
