#include "RecordTreeModel.h"

#include "RecordTree.h"
#include "UiTexts.h"

#include <algorithm>

namespace kelvara {

RecordTreeModel::RecordTreeModel(RecordTree& tree, QObject* parent)
    : QAbstractItemModel(parent), mTree(tree) {}

QModelIndex RecordTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0) {
        return {};
    }
    const auto r = static_cast<size_t>(row);
    if (!parent.isValid()) {
        return r < mTree.RootCount() ? createIndex(row, 0, mTree.Root(r)) : QModelIndex{};
    }
    RecordNode* node = NodeAt(parent);
    return r < node->ChildCount() ? createIndex(row, 0, node->Child(r)) : QModelIndex{};
}

QModelIndex RecordTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) {
        return {};
    }
    return IndexOf(NodeAt(child)->Parent());
}

int RecordTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) {
        return 0;
    }
    if (!parent.isValid()) {
        return static_cast<int>(mTree.RootCount());
    }
    return static_cast<int>(NodeAt(parent)->ChildCount());
}

int RecordTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant RecordTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) {
        return {};
    }
    // Captions join dictionary names with the record's values.
    const RecordNode* node = NodeAt(index);
    return FromConfigText(mCaptionOf ? mCaptionOf(*node) : node->Caption());
}

RecordNode* RecordTreeModel::NodeAt(const QModelIndex& index) {
    return index.isValid() ? static_cast<RecordNode*>(index.internalPointer()) : nullptr;
}

QModelIndex RecordTreeModel::IndexOf(const RecordNode* node) const {
    if (!node) {
        return {};
    }
    return createIndex(node->Row(), 0, const_cast<RecordNode*>(node));
}

void RecordTreeModel::CaptionChanged(const RecordNode* node) {
    const QModelIndex at = IndexOf(node);
    if (at.isValid()) {
        emit dataChanged(at, at, {Qt::DisplayRole});
    }
}

std::unique_ptr<RecordNode> RecordTreeModel::TakeRoot(size_t index) {
    if (index >= mTree.RootCount()) {
        return nullptr;
    }
    const int row = static_cast<int>(index);
    beginRemoveRows({}, row, row);
    std::unique_ptr<RecordNode> node = mTree.TakeRoot(index);
    endRemoveRows();
    return node;
}

RecordNode* RecordTreeModel::InsertRoot(size_t index, std::unique_ptr<RecordNode> node) {
    index = std::min(index, mTree.RootCount());
    const int row = static_cast<int>(index);
    beginInsertRows({}, row, row);
    RecordNode* inserted = mTree.InsertRoot(index, std::move(node));
    endInsertRows();
    return inserted;
}

} // namespace kelvara
