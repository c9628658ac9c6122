// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/find/FindHitModel.h"

#include "base/TextFormat.h"
#include "search/HitLines.h"
#include "ui/shell/MapText.h"

namespace quorin::ui {

namespace {

QString KindWord(HitKind kind) {
    switch (kind) {
    case HitKind::Script: return QStringLiteral("script");
    case HitKind::Global: return QStringLiteral("global");
    case HitKind::Use: return QStringLiteral("use");
    }
    return {};
}

// Names and texts as the command line writes them: a tab or a line break
// would hide the rest of a one-line cell.
QString Field(const std::string& text) { return FromMapText(EscapedField(text)); }

}  // namespace

void FindHitModel::setHits(std::vector<SearchHit> hits) {
    beginResetModel();
    hits_ = std::move(hits);
    endResetModel();
}

const SearchHit* FindHitModel::hitAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= hits_.size()) return nullptr;
    return &hits_[static_cast<std::size_t>(row)];
}

int FindHitModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(hits_.size());
}

int FindHitModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant FindHitModel::data(const QModelIndex& index, int role) const {
    const SearchHit* hit = hitAt(index.row());
    if (!hit || role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case kKind: return KindWord(hit->kind);
    case kName: return Field(hit->name);
    case kIdentity: return hit->kind == HitKind::Use ? QString::number(hit->identity) : QString();
    case kText: return hit->kind == HitKind::Use ? Field(hit->text) : QString();
    default: return {};
    }
}

QVariant FindHitModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case kKind: return QStringLiteral("Kind");
    case kName: return QStringLiteral("Name or script");
    case kIdentity: return QStringLiteral("Identity");
    case kText: return QStringLiteral("Text");
    default: return {};
    }
}

}  // namespace quorin::ui
