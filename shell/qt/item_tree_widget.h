#pragma once
// The item tree: nodes labelled with item names (sorted without regard to
// letter case), label editing with a short block after a right click, the
// Item menu as its context menu, and drag and drop of items onto folders.
// What the edits mean for the store is decided by the main window through the
// hooks below.

#include <QIcon>
#include <QTreeWidget>
#include <functional>

#include "shell/tree_builder.h"

namespace korvane {

class ItemTreeWidget : public QTreeWidget {
  Q_OBJECT

 public:
  explicit ItemTreeWidget(QWidget* parent = nullptr);

  static constexpr int kIdRole = Qt::UserRole;
  static constexpr int kTypeRole = Qt::UserRole + 1;

  // Removes every node and inserts the nodes of `build` in its order.
  void Fill(const TreeBuild& build);
  // Inserts one node under `parent` (nullptr: the top level) at its sorted place.
  QTreeWidgetItem* InsertNode(QTreeWidgetItem* parent, const ItemHeader& header);

  // The selected node's item id, NO_ITEM when none.
  ItemId SelectedItemId() const;
  static ItemId ItemIdOfNode(const QTreeWidgetItem* node);
  QTreeWidgetItem* NodeOf(ItemId id) const;

  // Right clicks block label editing for a second, so that the click that
  // follows a context menu does not start an edit.
  void BlockLabelEdit(qint64 milliseconds);
  void ClearLabelEditBlock();
  bool LabelEditBlocked() const;
  // Starts editing the node's label unless editing is blocked.
  bool StartLabelEdit(QTreeWidgetItem* node);

  // A clock in milliseconds; tests replace it.
  std::function<qint64()> now;
  // The end of a label edit with a new text: true keeps the new label.
  std::function<bool(ItemId, const QString&)> renameRequested;
  // Asked before the selection moves; false keeps it where it is.
  std::function<bool()> selectionMayChange;
  // The folder a drop onto `target` lands in may take `dragged`.
  std::function<bool(ItemId dragged, ItemId target)> mayDrop;
  std::function<void(ItemId dragged, ItemId target)> dropped;
  // A right click on a node (already selected): show the Item menu at `globalPos`.
  std::function<void(const QPoint& globalPos)> contextMenuRequested;
  // A key pressed in the tree; true when it ran a command (the key is swallowed).
  std::function<bool(int key)> keyCommand;

  // Whether a drop at `pos` (viewport coordinates) of `dragged` would be taken.
  bool DropAllowedAt(ItemId dragged, const QPoint& pos, ItemId* target = nullptr) const;
  // The node marked as drop target during a drag, nullptr when none.
  QTreeWidgetItem* DropTarget() const;

 protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;

 private:
  QIcon images_[10];  // drawn once: a rebuild inserts up to a thousand nodes
  qint64 editBlockedUntil_ = 0;
  ItemId dragged_ = NO_ITEM;
  // The node marked as drop target while the pointer is over a node that takes the drop.
  void MarkDropTarget(QTreeWidgetItem* node);
  QPersistentModelIndex dropTarget_;
};

// The tree image of an item type (index into the ten tree images).
int TreeImageIndex(ItemType type);

}  // namespace korvane
