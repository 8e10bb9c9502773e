// The tree control's window: a working tree shown as rows, edits written straight back.
#pragma once

#include <QTreeWidget>
#include <cstdint>
#include <functional>

#include "configobject/proptree/Node.h"

namespace treecontrol {

// TreeControlWidget: shows the children of one item of a property tree:
// groups as branches, booleans as check boxes, numbers as spin boxes, type-7
// selectors as a choice among their children's captions, texts as line
// edits standing in their caption's "<>", text arrays as editable lists.
// Every edit is written into the tree at once. Editors are named
// "item-XXXXXXXX" after their item's identifier.
class TreeControlWidget final : public QTreeWidget {
 public:
  // CaptionSource: the caption text of a string id ("" when there is none).
  using CaptionSource = std::function<QString(uint32_t id)>;

  TreeControlWidget(QWidget* parent, CaptionSource captions, bool expandAll);

  // ShowTree: rebuilds the rows from `item`'s children; null shows nothing.
  // The tree must stay valid until the next ShowTree or Forget.
  void ShowTree(proptree::Node* item);

  // Refresh: rebuilds the rows of the item shown, from the tree's values.
  void Refresh() { ShowTree(shown_); }

  // Forget: shows nothing and lets go of the tree.
  void Forget() { ShowTree(nullptr); }

  proptree::Node* shownItem() const { return shown_; }

 private:
  void AddNode(QTreeWidgetItem* parent, proptree::Node* node);
  QTreeWidgetItem* NewItem(QTreeWidgetItem* parent, const QString& text);
  QString Caption(proptree::Node* node) const;
  QWidget* NumberEditor(proptree::Node* node);
  QWidget* TextEditor(proptree::Node* node);
  QWidget* ChoiceEditor(proptree::Node* node);
  QWidget* ListEditor(proptree::Node* node);

  CaptionSource captions_;
  bool expandAll_;
  bool building_ = false;
  proptree::Node* shown_ = nullptr;
};

// EditorName: "item-XXXXXXXX", the object name of an item's editor.
QString EditorName(uint32_t id);

}  // namespace treecontrol
