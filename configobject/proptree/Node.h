// Nodes of a property tree: structure, properties and path lookup.
#pragma once

#include <cstdint>

#include "configobject/proptree/ItemId.h"

namespace proptree {

// ValueRef: one text, wide text or byte block: its units (bytes, or 16-bit
// characters for wide text; texts counting their terminator) and their block.
struct ValueRef {
  void* data = nullptr;
  uint32_t length = 0;
};

// ArrayValue: the elements of an array item. Fixed-size types keep their
// values in one block; texts and blocks keep one ValueRef per element.
struct ArrayValue {
  uint32_t count = 0;
  uint16_t step = 0;         // growth step; 0 behaves as 1
  uint16_t elementSize = 0;  // bytes of one element in the block
  uint32_t capacity = 0;
  uint8_t* elements = nullptr;
};

// ValueSlot: an identifier and its value. Scalars live in `scalar`
// (little-endian, zero-extended); texts and blocks in `ref`; arrays in `array`.
struct ValueSlot {
  ItemId id = 0;
  alignas(8) uint8_t scalar[16] = {};
  ValueRef ref;
  ArrayValue array;
  ValueSlot* next = nullptr;  // next property of the same node
};

// Node: one item of the tree. `properties` always begins with the
// kNodeAddressId property created with the node.
struct Node {
  Node* parent = nullptr;
  Node* firstChild = nullptr;
  Node* nextSibling = nullptr;
  ValueSlot own;
  ValueSlot* properties = nullptr;
};

inline constexpr int kTreeOk = 0;
inline constexpr int kTreeInvalid = -1;    // a null or attached node, or a bad identifier
inline constexpr int kTreeDuplicate = -2;  // a sibling with the same identifier exists

// CreateNode: a new node with `id`, attached at the end of `parent`'s children
// (or standing alone for a null parent). Returns null for an invalid
// identifier, an existing child with that identifier, or no memory.
Node* CreateNode(Node* parent, ItemId id);

// AddProperty: a new, empty property slot of `node`. Null for a duplicate or
// invalid identifier or no memory. The node owns the slot.
ValueSlot* AddProperty(Node* node, ItemId id);

// FindProperty: the property with that identifier (bit 31 ignored), or null.
ValueSlot* FindProperty(Node* node, ItemId id);

// AttachNode: puts a detached node (with its subtree) at the end of
// `parent`'s children. kTreeDuplicate when a child has the same identifier.
int AttachNode(Node* node, Node* parent);

// AttachAfter: puts a detached node right after `sibling`, under the same
// parent (or in the same top-level chain). kTreeDuplicate as AttachNode.
int AttachAfter(Node* node, Node* sibling);

// DetachNode: takes a node (with its subtree) out of its parent's children;
// it then stands alone and belongs to the caller. A node without a parent
// only lets go of the nodes after it: a top-level chain has no link back, so
// whoever holds the chain unlinks a later member (DeleteChain frees a chain).
void DetachNode(Node* node);

// DeleteSubtree: detaches the node and releases it, its children (first) and
// all their values. Null is ignored.
void DeleteSubtree(Node* node);

// DeleteChain: releases a top-level node and every node that follows it in
// its chain, as a tree read from a stream with root siblings is held.
void DeleteChain(Node* first);

// FindByPath: follows a zero-terminated list of identifiers from `tree`
// (kSelectorId picks by position under a type-7 node, else the first child).
// Null when a step has no such child.
Node* FindByPath(Node* tree, const ItemId* path);

// ValueSlotOf: the own value (id 0 or kOwnValueId) or a property of the node
// at `path`; null when either is missing.
ValueSlot* ValueSlotOf(Node* tree, const ItemId* path, ItemId id);

// ChildCount: the number of children of a node.
uint32_t ChildCount(const Node* node);

}  // namespace proptree
