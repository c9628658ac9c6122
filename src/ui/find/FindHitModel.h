// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Find window's hit list as a table model: the view asks only for the
// rows it shows, so a list of many thousand hits costs nothing to swap in.

#include <QAbstractTableModel>
#include <vector>

#include "search/SearchHit.h"

namespace quorin::ui {

class FindHitModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kKind = 0, kName, kIdentity, kText, kColumns };

    using QAbstractTableModel::QAbstractTableModel;

    void setHits(std::vector<SearchHit> hits);
    [[nodiscard]] const std::vector<SearchHit>& hits() const { return hits_; }
    // The hit of a row; nullptr for a row the list does not have.
    [[nodiscard]] const SearchHit* hitAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<SearchHit> hits_;
};

}  // namespace quorin::ui
