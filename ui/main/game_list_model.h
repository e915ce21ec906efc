// The game list's entries: the display names as the scan packed them, shown as they are asked
// for. A million games cost their own bytes and an offset each; only the rows on screen ever
// become text objects.
#pragma once

#include "catalogue/game_catalogue.h"

#include <QAbstractListModel>

#include <string_view>

namespace kestrin {

class GameListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    // Replaces every entry at once, so that the view lays the rows out once.
    void setNames(PackedLines names);
    std::string_view name(int row) const { return names_[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // The view asks for every row's index when it lays the rows out: answered without going
    // through rowCount and columnCount each time.
    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    PackedLines names_;
};

} // namespace kestrin
