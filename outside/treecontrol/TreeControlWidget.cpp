// Rendering a property tree into rows and editors, and writing edits back.
#include "outside/treecontrol/TreeControlWidget.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <climits>
#include <string>
#include <vector>

#include "configobject/page/TreeControlApi.h"
#include "configobject/proptree/Value.h"
#include "outside/treecontrol/TreeEditors.h"

namespace treecontrol {
namespace {

using proptree::Node;
using proptree::Storage;

constexpr int kNodeRole = Qt::UserRole + 1;

Storage StorageOf(const Node* node) {
  return proptree::TypeInfoOf(proptree::ValueTypeOf(node->own.id)).storage;
}

// TextOf: a text or wide text held by pointer (sizes in bytes), as a QString.
QString TextOf(const void* units, Storage storage) {
  return storage == Storage::WideText ? QString::fromUtf16(static_cast<const char16_t*>(units))
                                      : QString::fromUtf8(static_cast<const char*>(units));
}

QString ValueText(const proptree::ValueSlot* slot, Storage storage) {
  const uint32_t needed = proptree::GetValue(slot, nullptr, 0);
  std::vector<char16_t> buffer(needed / 2 + 2, 0);  // room for either width and a terminator
  proptree::GetValue(slot, buffer.data(), static_cast<uint32_t>(buffer.size() * 2));
  return TextOf(buffer.data(), storage);
}

QString ElementText(const proptree::ValueSlot* slot, uint32_t index, Storage storage) {
  const uint32_t needed = proptree::ArrayElement(slot, index, nullptr, 0);
  std::vector<char16_t> buffer(needed / 2 + 2, 0);
  proptree::ArrayElement(slot, index, buffer.data(), static_cast<uint32_t>(buffer.size() * 2));
  return TextOf(buffer.data(), storage);
}

// StoreText: one text into a slot, or appended to an array slot.
void StoreText(proptree::ValueSlot* slot, const QString& text, Storage storage) {
  if (storage == Storage::WideText) {
    const std::u16string units = text.toStdU16String();
    proptree::SetValue(slot, reinterpret_cast<uintptr_t>(units.c_str()), 0);
  } else {
    const QByteArray bytes = text.toUtf8();
    proptree::SetValue(slot, reinterpret_cast<uintptr_t>(bytes.constData()), 0);
  }
}

}  // namespace

QString EditorName(uint32_t id) {
  return QStringLiteral("item-") +
         QString::number(id, 16).rightJustified(8, QLatin1Char('0')).toUpper();
}

TreeControlWidget::TreeControlWidget(QWidget* parent, CaptionSource captions, bool expandAll)
    : QTreeWidget(parent), captions_(std::move(captions)), expandAll_(expandAll) {
  setHeaderHidden(true);
  setColumnCount(1);
  setSelectionMode(QAbstractItemView::SingleSelection);
  header()->setStretchLastSection(true);
  connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
    if (building_) return;
    auto* node = reinterpret_cast<Node*>(item->data(0, kNodeRole).value<qulonglong>());
    if (node != nullptr && StorageOf(node) == Storage::Boolean)
      proptree::SetValue(&node->own, item->checkState(0) == Qt::Checked ? 1 : 0, 4);
  });
}

void TreeControlWidget::ShowTree(Node* item) {
  building_ = true;
  // Editors go now, not later with the rows, so none of them outlives the
  // nodes it writes to.
  std::vector<QTreeWidgetItem*> rows;
  for (int i = 0; i < topLevelItemCount(); ++i) rows.push_back(topLevelItem(i));
  while (!rows.empty()) {
    QTreeWidgetItem* row = rows.back();
    rows.pop_back();
    QPointer<QWidget> editor = itemWidget(row, 0);
    removeItemWidget(row, 0);
    delete editor.data();
    for (int i = 0; i < row->childCount(); ++i) rows.push_back(row->child(i));
  }
  clear();
  shown_ = item;
  if (item != nullptr)
    for (Node* child = item->firstChild; child != nullptr; child = child->nextSibling)
      AddNode(nullptr, child);
  if (expandAll_) expandAll();
  building_ = false;
}

QTreeWidgetItem* TreeControlWidget::NewItem(QTreeWidgetItem* parent, const QString& text) {
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
  item->setText(0, text);
  return item;
}

QString TreeControlWidget::Caption(Node* node) const {
  const proptree::ValueSlot* slot = proptree::FindProperty(node, qrx::treectrl::kCaptionProperty);
  uint32_t id = 0;
  if (slot == nullptr || proptree::GetValue(slot, &id, 4) != 4 || !captions_) return {};
  return captions_(id);
}

void TreeControlWidget::AddNode(QTreeWidgetItem* parent, Node* node) {
  const uint32_t type = proptree::ValueTypeOf(node->own.id);
  const bool array = proptree::IsArrayId(node->own.id);
  const QString caption = Caption(node);
  QTreeWidgetItem* item = NewItem(parent, QString());
  item->setData(0, kNodeRole, QVariant::fromValue(reinterpret_cast<qulonglong>(node)));
  QWidget* editor = nullptr;
  bool children = true;
  if (array && (StorageOf(node) == Storage::Text || StorageOf(node) == Storage::WideText)) {
    // Under its caption when it has one, else in its own row.
    QTreeWidgetItem* row = item;
    if (!caption.isEmpty()) {
      item->setText(0, caption);
      row = NewItem(item, QString());
    }
    setItemWidget(row, 0, ListEditor(node));
    children = false;
  } else if (array) {
    item->setText(0, caption + QStringLiteral(" (%1)").arg(proptree::ArrayCount(&node->own)));
  } else if (type == 7) {
    editor = new ValueLine(caption, ChoiceEditor(node), Fill::No);
    children = false;  // the children are the choices
  } else if (StorageOf(node) == Storage::Boolean) {
    uint32_t on = 0;
    proptree::GetValue(&node->own, &on, 4);
    item->setText(0, caption);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
  } else if (StorageOf(node) == Storage::Scalar) {
    editor = new ValueLine(caption, NumberEditor(node), Fill::No);
  } else if (StorageOf(node) == Storage::Text || StorageOf(node) == Storage::WideText) {
    editor = new ValueLine(caption, TextEditor(node), Fill::Yes);
  } else {
    item->setText(0, caption);
  }
  if (editor != nullptr) setItemWidget(item, 0, editor);
  if (children)
    for (Node* child = node->firstChild; child != nullptr; child = child->nextSibling)
      AddNode(item, child);
}

QWidget* TreeControlWidget::NumberEditor(Node* node) {
  auto* spin = new QSpinBox();
  spin->setObjectName(EditorName(node->own.id));
  const uint8_t size = proptree::TypeInfoOf(proptree::ValueTypeOf(node->own.id)).memorySize;
  spin->setRange(0, size == 1 ? 255 : size == 2 ? 65535 : INT_MAX);
  uint32_t value = 0;
  proptree::GetValue(&node->own, &value, size);
  spin->setValue(static_cast<int>(value > INT_MAX ? INT_MAX : value));
  connect(spin, &QSpinBox::valueChanged, this, [this, node, size](int v) {
    if (!building_) proptree::SetValue(&node->own, static_cast<uint32_t>(v), size);
  });
  return spin;
}

QWidget* TreeControlWidget::TextEditor(Node* node) {
  auto* edit = new QLineEdit();
  edit->setObjectName(EditorName(node->own.id));
  const Storage storage = StorageOf(node);
  edit->setText(ValueText(&node->own, storage));
  edit->setCursorPosition(0);  // a long path shows its beginning
  connect(edit, &QLineEdit::textChanged, this, [this, node, storage](const QString& text) {
    if (!building_) StoreText(&node->own, text, storage);
  });
  return edit;
}

QWidget* TreeControlWidget::ChoiceEditor(Node* node) {
  auto* box = new QComboBox();
  box->setObjectName(EditorName(node->own.id));
  for (Node* choice = node->firstChild; choice != nullptr; choice = choice->nextSibling)
    box->addItem(Caption(choice));
  uint8_t value = 0;
  proptree::GetValue(&node->own, &value, 1);
  box->setCurrentIndex(value < box->count() ? value : -1);
  connect(box, &QComboBox::currentIndexChanged, this, [this, node](int index) {
    if (!building_ && index >= 0) proptree::SetValue(&node->own, static_cast<uint32_t>(index), 1);
  });
  return box;
}

QWidget* TreeControlWidget::ListEditor(Node* node) {
  const Storage storage = StorageOf(node);
  QStringList texts;
  const uint32_t count = proptree::ArrayCount(&node->own);
  for (uint32_t i = 0; i < count; ++i) texts << ElementText(&node->own, i, storage);
  auto* editor = new TextListEditor(texts, [this, node, storage](const QStringList& now) {
    if (building_) return;
    proptree::SetValue(&node->own, 0, 0);  // empties the array
    for (const QString& text : now) StoreText(&node->own, text, storage);
  });
  editor->setObjectName(EditorName(node->own.id));
  return editor;
}

}  // namespace treecontrol
