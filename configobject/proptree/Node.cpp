// Tree structure: creating, linking, unlinking and finding nodes.
#include "configobject/proptree/Node.h"

#include <new>

#include "configobject/proptree/Allocation.h"
#include "configobject/proptree/Value.h"

namespace proptree {
namespace {

void InitSlot(ValueSlot* slot, ItemId id) {
  slot->id = id;
  if (IsArrayId(id)) {
    const TypeInfo info = TypeInfoOf(ValueTypeOf(id));
    slot->array.elementSize = IsHeldByRef(info.storage) ? sizeof(ValueRef) : info.memorySize;
  }
}

ValueSlot* NewSlot(ItemId id) {
  void* block = Allocate(sizeof(ValueSlot));
  if (block == nullptr) return nullptr;
  auto* slot = new (block) ValueSlot;
  InitSlot(slot, id);
  return slot;
}

void FreeSlot(ValueSlot* slot) {
  ReleaseValue(slot);
  slot->~ValueSlot();
  Release(slot);
}

bool HasChild(const Node* first, ItemId id) {
  for (const Node* n = first; n != nullptr; n = n->nextSibling) {
    if (SameItem(n->own.id, id)) return true;
  }
  return false;
}

void FreeNode(Node* node) {
  while (node->firstChild != nullptr) {
    Node* child = node->firstChild;
    node->firstChild = child->nextSibling;
    FreeNode(child);
  }
  ValueSlot* slot = node->properties;
  while (slot != nullptr) {
    ValueSlot* next = slot->next;
    FreeSlot(slot);
    slot = next;
  }
  ReleaseValue(&node->own);
  node->~Node();
  Release(node);
}

}  // namespace

Node* CreateNode(Node* parent, ItemId id) {
  if (!IsValidItemId(id)) return nullptr;
  if (parent != nullptr && HasChild(parent->firstChild, id)) return nullptr;
  void* block = Allocate(sizeof(Node));
  if (block == nullptr) return nullptr;
  Node* node = new (block) Node;
  InitSlot(&node->own, id);
  ValueSlot* address = AddProperty(node, kNodeAddressId);
  if (address == nullptr) {
    FreeNode(node);
    return nullptr;
  }
  // The tag is 32-bit by definition; on this host it keeps the address's low half.
  SetValue(address, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(node)), 0);
  if (parent != nullptr) AttachNode(node, parent);
  return node;
}

ValueSlot* FindProperty(Node* node, ItemId id) {
  if (node == nullptr) return nullptr;
  for (ValueSlot* s = node->properties; s != nullptr; s = s->next) {
    if (SameItem(s->id, id)) return s;
  }
  return nullptr;
}

ValueSlot* AddProperty(Node* node, ItemId id) {
  if (node == nullptr || !IsValidItemId(id) || FindProperty(node, id) != nullptr) return nullptr;
  ValueSlot* slot = NewSlot(id);
  if (slot == nullptr) return nullptr;
  ValueSlot** tail = &node->properties;
  while (*tail != nullptr) tail = &(*tail)->next;
  *tail = slot;
  return slot;
}

int AttachNode(Node* node, Node* parent) {
  if (node == nullptr || parent == nullptr || node == parent) return kTreeInvalid;
  if (node->parent != nullptr || node->nextSibling != nullptr) return kTreeInvalid;
  if (HasChild(parent->firstChild, node->own.id)) return kTreeDuplicate;
  Node** tail = &parent->firstChild;
  while (*tail != nullptr) tail = &(*tail)->nextSibling;
  *tail = node;
  node->parent = parent;
  return kTreeOk;
}

int AttachAfter(Node* node, Node* sibling) {
  if (node == nullptr || sibling == nullptr || node == sibling) return kTreeInvalid;
  if (node->parent != nullptr || node->nextSibling != nullptr) return kTreeInvalid;
  const Node* first = sibling->parent != nullptr ? sibling->parent->firstChild : sibling;
  if (HasChild(first, node->own.id)) return kTreeDuplicate;
  node->nextSibling = sibling->nextSibling;
  sibling->nextSibling = node;
  node->parent = sibling->parent;
  return kTreeOk;
}

void DetachNode(Node* node) {
  if (node == nullptr) return;
  if (node->parent != nullptr) {
    Node** link = &node->parent->firstChild;
    while (*link != nullptr && *link != node) link = &(*link)->nextSibling;
    if (*link == node) *link = node->nextSibling;
  }
  node->parent = nullptr;
  node->nextSibling = nullptr;
}

void DeleteSubtree(Node* node) {
  if (node == nullptr) return;
  DetachNode(node);
  FreeNode(node);
}

void DeleteChain(Node* first) {
  while (first != nullptr) {
    Node* next = first->nextSibling;
    first->nextSibling = nullptr;
    DeleteSubtree(first);
    first = next;
  }
}

Node* FindByPath(Node* tree, const ItemId* path) {
  Node* current = tree;
  for (; current != nullptr && path != nullptr && *path != 0; ++path) {
    Node* child = current->firstChild;
    if (SameItem(*path, kSelectorId)) {
      if (ValueTypeOf(current->own.id) == 7) {
        for (uint8_t skip = current->own.scalar[0]; child != nullptr && skip > 0; --skip) {
          child = child->nextSibling;
        }
      }
    } else {
      while (child != nullptr && !SameItem(child->own.id, *path)) child = child->nextSibling;
    }
    current = child;
  }
  return current;
}

ValueSlot* ValueSlotOf(Node* tree, const ItemId* path, ItemId id) {
  Node* node = FindByPath(tree, path);
  if (node == nullptr) return nullptr;
  if (id == 0 || SameItem(id, kOwnValueId)) return &node->own;
  return FindProperty(node, id);
}

uint32_t ChildCount(const Node* node) {
  uint32_t count = 0;
  for (const Node* c = node != nullptr ? node->firstChild : nullptr; c; c = c->nextSibling) ++count;
  return count;
}

}  // namespace proptree
