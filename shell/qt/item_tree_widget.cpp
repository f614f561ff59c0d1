#include "shell/qt/item_tree_widget.h"

#include <QDateTime>
#include <QDrag>
#include <QDragMoveEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <unordered_map>

#include "shell/qt/artwork.h"
#include "shell/qt/item_names.h"

namespace korvane {
namespace {

constexpr char kDragMime[] = "application/x-korvane-item";

// Hands the edited label to the tree's rename hook instead of writing it.
class LabelDelegate : public QStyledItemDelegate {
 public:
  explicit LabelDelegate(ItemTreeWidget* tree) : QStyledItemDelegate(tree), tree_(tree) {}

  // The store cuts longer names; the label must not show more than it keeps.
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setMaxLength(static_cast<int>(MAX_ITEM_NAME));
    return editor;
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) return;
    const QString text = line->text();
    if (text.isEmpty() || text == index.data(Qt::DisplayRole).toString()) return;  // nothing to rename
    const ItemId id = index.data(ItemTreeWidget::kIdRole).value<ItemId>();
    if (tree_->renameRequested && !tree_->renameRequested(id, text)) return;  // refused: old label stays
    model->setData(index, text, Qt::DisplayRole);
  }

 private:
  ItemTreeWidget* tree_;
};

// Asks the tree before the current node or the selection changes.
class GuardedSelectionModel : public QItemSelectionModel {
 public:
  GuardedSelectionModel(QAbstractItemModel* model, ItemTreeWidget* tree) : QItemSelectionModel(model), tree_(tree) {}

  void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override {
    if (index != currentIndex() && !MayChange()) return;
    QItemSelectionModel::setCurrentIndex(index, command);
  }
  void select(const QModelIndex& index, SelectionFlags command) override {
    if (!(selectedIndexes().size() == 1 && selectedIndexes().front() == index) && !MayChange()) return;
    QItemSelectionModel::select(index, command);
  }
  void select(const QItemSelection& selection, SelectionFlags command) override {
    if (selection != this->selection() && !MayChange()) return;
    QItemSelectionModel::select(selection, command);
  }

 private:
  bool MayChange() const { return !tree_->selectionMayChange || tree_->selectionMayChange(); }
  ItemTreeWidget* tree_;
};

int CompareLabels(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive); }

}  // namespace

int TreeImageIndex(ItemType type) {
  if (IsFolderType(type)) return 1;
  switch (type) {
    case ITEM_PROGRAM: return 0;
    case ITEM_MATRIX: return 2;
    case ITEM_MEM_BU: return 3;
    case ITEM_SCREEN_DC:
    case ITEM_PICTURE: return 4;
    case ITEM_SCREEN_DD: return 5;
    case ITEM_LIST: return 6;
    case ITEM_RAW: return 7;
    case ITEM_TEXT_FM: return 9;
    default: return 8;
  }
}

ItemTreeWidget::ItemTreeWidget(QWidget* parent) : QTreeWidget(parent) {
  now = [] { return QDateTime::currentMSecsSinceEpoch(); };
  for (int i = 0; i < 10; ++i) images_[i] = TreeImage(i);
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(true);
  setSortingEnabled(false);  // nodes are inserted at their sorted place
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  setItemDelegate(new LabelDelegate(this));
  setSelectionModel(new GuardedSelectionModel(model(), this));
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setIconSize(QSize(16, 16));
  setFrameShape(QFrame::StyledPanel);
}

void ItemTreeWidget::Fill(const TreeBuild& build) {
  // Hidden while filling, as a rebuild of many items would otherwise repaint per node.
  const bool wasVisible = isVisible();
  setUpdatesEnabled(false);
  clear();
  std::unordered_map<ItemId, QTreeWidgetItem*> folders;
  for (const TreeInsertion& ins : build.insertions) {
    QTreeWidgetItem* parentNode = nullptr;
    if (ins.parent != ROOT_FOLDER_ID) {
      auto it = folders.find(ins.parent);
      if (it == folders.end()) continue;
      parentNode = it->second;
    }
    QTreeWidgetItem* node = InsertNode(parentNode, ins.header);
    if (parentNode && ins.expandParent) parentNode->setExpanded(true);
    if (IsFolderType(ins.header.type)) folders.emplace(ins.header.id, node);
  }
  if (topLevelItemCount() > 0) scrollToItem(topLevelItem(0));
  setUpdatesEnabled(true);
  if (wasVisible) viewport()->update();
}

QTreeWidgetItem* ItemTreeWidget::InsertNode(QTreeWidgetItem* parent, const ItemHeader& header) {
  auto* node = new QTreeWidgetItem;
  const QString label = ItemNameToQString(header.name, header.type);
  node->setText(0, label);
  node->setData(0, kIdRole, QVariant::fromValue<ItemId>(header.id));
  node->setData(0, kTypeRole, QVariant::fromValue<ItemType>(header.type));
  node->setIcon(0, images_[TreeImageIndex(header.type)]);
  node->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
                 (IsFolderType(header.type) ? Qt::ItemIsDropEnabled : Qt::NoItemFlags));
  if (IsFolderType(header.type)) node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);

  // Binary search for the sorted place among the siblings.
  const int count = parent ? parent->childCount() : topLevelItemCount();
  int lo = 0, hi = count;
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    const QTreeWidgetItem* sibling = parent ? parent->child(mid) : topLevelItem(mid);
    if (CompareLabels(sibling->text(0), label) <= 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  if (parent)
    parent->insertChild(lo, node);
  else
    insertTopLevelItem(lo, node);
  return node;
}

ItemId ItemTreeWidget::ItemIdOfNode(const QTreeWidgetItem* node) {
  if (!node) return NO_ITEM;
  return node->data(0, kIdRole).value<ItemId>();
}

ItemId ItemTreeWidget::SelectedItemId() const {
  const auto items = selectedItems();
  return items.isEmpty() ? NO_ITEM : ItemIdOfNode(items.front());
}

QTreeWidgetItem* ItemTreeWidget::NodeOf(ItemId id) const {
  for (QTreeWidgetItemIterator it(const_cast<ItemTreeWidget*>(this)); *it; ++it)
    if (ItemIdOfNode(*it) == id) return *it;
  return nullptr;
}

void ItemTreeWidget::BlockLabelEdit(qint64 milliseconds) { editBlockedUntil_ = now() + milliseconds; }
void ItemTreeWidget::ClearLabelEditBlock() { editBlockedUntil_ = 0; }
bool ItemTreeWidget::LabelEditBlocked() const { return now() < editBlockedUntil_; }

bool ItemTreeWidget::StartLabelEdit(QTreeWidgetItem* node) {
  if (!node) return false;
  return edit(indexFromItem(node), QAbstractItemView::AllEditTriggers, nullptr);
}

bool ItemTreeWidget::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  // Only label edits are refused here; other triggers pass through.
  if (index.isValid() && (trigger & (SelectedClicked | EditKeyPressed | AllEditTriggers)) != 0) {
    if (LabelEditBlocked() || ItemIdOfNode(itemFromIndex(index)) == NO_ITEM) return false;
  }
  return QTreeWidget::edit(index, trigger, event);
}

void ItemTreeWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    BlockLabelEdit(1000);
    QTreeWidgetItem* node = itemAt(event->position().toPoint());
    if (node) setCurrentItem(node);
    // Off the nodes the menu is for the node that stays selected.
    if (SelectedItemId() != NO_ITEM && contextMenuRequested) contextMenuRequested(event->globalPosition().toPoint());
    return;
  }
  QTreeWidget::mousePressEvent(event);
}

void ItemTreeWidget::keyPressEvent(QKeyEvent* event) {
  if (state() != EditingState && keyCommand && keyCommand(event->key())) {
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void ItemTreeWidget::startDrag(Qt::DropActions) {
  QTreeWidgetItem* node = currentItem();
  if (!node) return;
  dragged_ = ItemIdOfNode(node);
  auto* mime = new QMimeData;
  mime->setData(kDragMime, QByteArray::number(dragged_));
  auto* drag = new QDrag(this);
  drag->setMimeData(mime);
  drag->setPixmap(node->icon(0).pixmap(16, 16));
  drag->setHotSpot(QPoint(-4, -4));
  drag->setDragCursor(DragCursor(true), Qt::MoveAction);
  drag->setDragCursor(DragCursor(false), Qt::IgnoreAction);
  drag->exec(Qt::MoveAction);
  dragged_ = NO_ITEM;
  MarkDropTarget(nullptr);
}

bool ItemTreeWidget::DropAllowedAt(ItemId dragged, const QPoint& pos, ItemId* target) const {
  QTreeWidgetItem* node = itemAt(pos);
  if (!node || dragged == NO_ITEM) return false;
  const ItemId targetId = ItemIdOfNode(node);
  if (target) *target = targetId;
  return mayDrop && mayDrop(dragged, targetId);
}

void ItemTreeWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (event->source() == this && event->mimeData()->hasFormat(kDragMime))
    event->acceptProposedAction();
  else
    event->ignore();
}

void ItemTreeWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (event->source() != this) {
    event->ignore();
    return;
  }
  const ItemId dragged = event->mimeData()->data(kDragMime).toUInt();
  const QPoint pos = event->position().toPoint();
  if (DropAllowedAt(dragged, pos)) {
    MarkDropTarget(itemAt(pos));
    event->setDropAction(Qt::MoveAction);
    event->accept(visualItemRect(itemAt(pos)));
  } else {
    MarkDropTarget(nullptr);
    event->ignore(visualItemRect(itemAt(pos)));
  }
}

void ItemTreeWidget::dragLeaveEvent(QDragLeaveEvent* event) {
  MarkDropTarget(nullptr);
  event->accept();
}

QTreeWidgetItem* ItemTreeWidget::DropTarget() const {
  return dropTarget_.isValid() ? itemFromIndex(dropTarget_) : nullptr;
}

void ItemTreeWidget::MarkDropTarget(QTreeWidgetItem* node) {
  // Shown like a selection without moving it: moving the selection would close the view.
  if (QTreeWidgetItem* old = DropTarget(); old && old != node) old->setData(0, Qt::BackgroundRole, QVariant());
  dropTarget_ = node ? QPersistentModelIndex(indexFromItem(node)) : QPersistentModelIndex();
  if (node) node->setBackground(0, palette().brush(QPalette::Highlight).color().lighter(160));
}

void ItemTreeWidget::dropEvent(QDropEvent* event) {
  const ItemId dragged = event->mimeData()->data(kDragMime).toUInt();
  ItemId target = NO_ITEM;
  MarkDropTarget(nullptr);
  if (event->source() == this && DropAllowedAt(dragged, event->position().toPoint(), &target)) {
    // The move goes through the store and a rebuild, not through the view's own model move.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (dropped) dropped(dragged, target);
  } else {
    event->ignore();
  }
}

}  // namespace korvane
