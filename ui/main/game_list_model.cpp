#include "ui/main/game_list_model.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace kestrin {

void GameListModel::setNames(PackedLines names) {
    beginResetModel();
    names_ = std::move(names);
    endResetModel();
}

int GameListModel::rowCount(const QModelIndex& parent) const {
    // The scan keeps at most a million games, far below what a row number holds.
    return parent.isValid() ? 0
                            : static_cast<int>(std::min<std::size_t>(
                                  names_.size(), std::numeric_limits<int>::max()));
}

QModelIndex GameListModel::index(int row, int column, const QModelIndex& parent) const {
    const bool inside = row >= 0 && static_cast<std::size_t>(row) < names_.size() && column == 0 &&
                        !parent.isValid();
    return inside ? createIndex(row, column) : QModelIndex();
}

QVariant GameListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const std::string_view text = name(index.row());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace kestrin
