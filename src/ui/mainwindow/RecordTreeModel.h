// The record tree as a Qt item model. It holds no data of its own: every index points at a
// node of the core's RecordTree, which stays the one record store.
#pragma once

#include "RecordClipboard.h"
#include "RecordSearch.h"

#include <QAbstractItemModel>

namespace kelvara {

class RecordTreeModel : public QAbstractItemModel, public RootEditor {
    Q_OBJECT
  public:
    explicit RecordTreeModel(RecordTree& tree, QObject* parent = nullptr);

    [[nodiscard]] QModelIndex index(int row, int column,
                                    const QModelIndex& parent = {}) const override;
    [[nodiscard]] QModelIndex parent(const QModelIndex& child) const override;
    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index,
                                int role = Qt::DisplayRole) const override;

    [[nodiscard]] static RecordNode* NodeAt(const QModelIndex& index);
    [[nodiscard]] QModelIndex IndexOf(const RecordNode* node) const;

    // Around any replacement of the tree's content.
    void BeginReplace() { beginResetModel(); }
    void EndReplace() { endResetModel(); }
    // After a node's caption was rewritten.
    void CaptionChanged(const RecordNode* node);
    // How captions are shown; by default the caption stored with each node.
    void SetCaptionOf(CaptionOf captionOf) { mCaptionOf = std::move(captionOf); }

    // Cut and paste: the view hears of each row as it goes and comes.
    [[nodiscard]] const RecordTree& Tree() const override { return mTree; }
    std::unique_ptr<RecordNode> TakeRoot(size_t index) override;
    RecordNode* InsertRoot(size_t index, std::unique_ptr<RecordNode> node) override;

  private:
    RecordTree& mTree;
    CaptionOf mCaptionOf;
};

} // namespace kelvara
