// Tree structure, path lookup and the allocation pair.
#include "configobject/proptree/Node.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "configobject/proptree/Allocation.h"
#include "configobject/proptree/Value.h"
#include "configobject/proptree/tests/TestAllocator.h"

namespace proptree {
namespace {

constexpr ItemId kGroup = 0x01010001;
constexpr ItemId kChoice = 0x07010005;
constexpr ItemId kFlag = 0x0A010002;
constexpr ItemId kText = 0x28010007;

TEST(Node, EveryNodeIsBornWithItsAddressTag) {
  Node* node = CreateNode(nullptr, kGroup);
  ASSERT_NE(node, nullptr);
  ValueSlot* tag = FindProperty(node, kNodeAddressId);
  ASSERT_NE(tag, nullptr);
  EXPECT_EQ(node->properties, tag);
  uint32_t value = 0;
  ASSERT_EQ(GetValue(tag, &value, 4), 4u);
  EXPECT_EQ(value, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(node)));
  DeleteSubtree(node);
}

TEST(Node, SiblingIdentifiersAreUniqueIgnoringBit31) {
  Node* root = CreateNode(nullptr, kGroup);
  ASSERT_NE(CreateNode(root, kFlag), nullptr);
  EXPECT_EQ(CreateNode(root, kFlag), nullptr);
  EXPECT_EQ(CreateNode(root, kFlag | 0x80000000), nullptr);
  ASSERT_NE(CreateNode(root, kText), nullptr);
  EXPECT_EQ(ChildCount(root), 2u);
  DeleteSubtree(root);
}

TEST(Node, IdentifiersOutsideTheTypeTableAreRefused) {
  EXPECT_EQ(CreateNode(nullptr, 0x00010001), nullptr);           // type 0
  EXPECT_EQ(CreateNode(nullptr, 0x12010001), nullptr);           // type 18
  EXPECT_EQ(CreateNode(nullptr, 0x2B010001), nullptr);           // type 43
  EXPECT_EQ(CreateNode(nullptr, kGroup | kArrayFlag), nullptr);  // array of groups
  Node* node = CreateNode(nullptr, kGroup);
  EXPECT_EQ(AddProperty(node, 0x3F000001), nullptr);
  DeleteSubtree(node);
}

TEST(Node, PropertiesAreDistinct) {
  Node* node = CreateNode(nullptr, kGroup);
  ValueSlot* caption = AddProperty(node, kText);
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(AddProperty(node, kText), nullptr);
  EXPECT_EQ(AddProperty(node, kNodeAddressId), nullptr);
  EXPECT_EQ(FindProperty(node, kText | 0x80000000), caption);
  DeleteSubtree(node);
}

TEST(Node, AttachAtTheEndOrAfterASibling) {
  Node* root = CreateNode(nullptr, kGroup);
  Node* a = CreateNode(root, 0x01010002);
  Node* c = CreateNode(root, 0x01010004);
  Node* b = CreateNode(nullptr, 0x01010003);
  ASSERT_EQ(AttachAfter(b, a), kTreeOk);
  EXPECT_EQ(root->firstChild, a);
  EXPECT_EQ(a->nextSibling, b);
  EXPECT_EQ(b->nextSibling, c);
  EXPECT_EQ(b->parent, root);

  DetachNode(a);
  EXPECT_EQ(root->firstChild, b);
  EXPECT_EQ(a->parent, nullptr);
  EXPECT_EQ(a->nextSibling, nullptr);
  ASSERT_EQ(AttachNode(a, root), kTreeOk);
  EXPECT_EQ(c->nextSibling, a);

  Node* twin = CreateNode(nullptr, 0x01010003);
  EXPECT_EQ(AttachNode(twin, root), kTreeDuplicate);
  EXPECT_EQ(AttachAfter(twin, c), kTreeDuplicate);
  EXPECT_EQ(AttachNode(c, root), kTreeInvalid);  // still attached
  DeleteSubtree(twin);
  DeleteSubtree(root);
}

TEST(Node, DeletingASubtreeReleasesAllItsMemory) {
  const long before = test::LiveBlocks();
  Node* root = CreateNode(nullptr, kGroup);
  Node* child = CreateNode(root, kText);
  SetValue(&child->own, reinterpret_cast<uintptr_t>("a text"), 0);
  ValueSlot* list = AddProperty(child, 0x68010009);
  SetValue(list, reinterpret_cast<uintptr_t>("first"), 0);
  SetValue(list, reinterpret_cast<uintptr_t>("second"), 0);
  CreateNode(child, kFlag);
  EXPECT_GT(test::LiveBlocks(), before);

  DeleteSubtree(child);
  EXPECT_EQ(root->firstChild, nullptr);
  DeleteSubtree(root);
  EXPECT_EQ(test::LiveBlocks(), before);
}

// Tree for the path tests: a choice with value 2 over four children.
class PathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = CreateNode(nullptr, kGroup);
    choice_ = CreateNode(root_, kChoice);
    SetValue(&choice_->own, 2, 0);
    for (ItemId id : {0x28010010u, 0x28010011u, 0x28010012u, 0x28010013u}) {
      children_.push_back(CreateNode(choice_, id));
    }
    plain_ = CreateNode(root_, 0x03010006);
    SetValue(&plain_->own, 2, 0);
    CreateNode(plain_, 0x0A010020);
    CreateNode(plain_, 0x0A010021);
    CreateNode(plain_, 0x0A010022);
  }
  void TearDown() override { DeleteSubtree(root_); }

  Node* root_ = nullptr;
  Node* choice_ = nullptr;
  Node* plain_ = nullptr;
  std::vector<Node*> children_;
};

TEST_F(PathTest, SelectorUnderAChoicePicksThePositionOfItsValue) {
  const ItemId path[] = {kChoice, kSelectorId, 0};
  EXPECT_EQ(FindByPath(root_, path), children_[2]);
  const ItemId high[] = {kChoice, kSelectorId | 0x80000000, 0};
  EXPECT_EQ(FindByPath(root_, high), children_[2]);
  SetValue(&choice_->own, 7, 0);
  EXPECT_EQ(FindByPath(root_, path), nullptr);
}

TEST_F(PathTest, SelectorUnderAnyOtherTypeTakesTheFirstChild) {
  const ItemId path[] = {0x03010006, kSelectorId, 0};
  Node* found = FindByPath(root_, path);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->own.id, 0x0A010020u);
}

TEST_F(PathTest, PathsMatchIdentifiersIgnoringBit31) {
  const ItemId path[] = {kChoice | 0x80000000, 0x28010013, 0};
  EXPECT_EQ(FindByPath(root_, path), children_[3]);
  const ItemId missing[] = {kChoice, 0x28010099, 0};
  EXPECT_EQ(FindByPath(root_, missing), nullptr);
  const ItemId empty[] = {0};
  EXPECT_EQ(FindByPath(root_, empty), root_);
}

TEST_F(PathTest, ValueSlotOfTakesOwnValueOrAProperty) {
  const ItemId path[] = {kChoice, 0};
  EXPECT_EQ(ValueSlotOf(root_, path, 0), &choice_->own);
  EXPECT_EQ(ValueSlotOf(root_, path, kOwnValueId), &choice_->own);
  EXPECT_EQ(ValueSlotOf(root_, path, kText), nullptr);
  ValueSlot* caption = AddProperty(choice_, kText);
  EXPECT_EQ(ValueSlotOf(root_, path, kText), caption);
  const ItemId missing[] = {0x01019999, 0};
  EXPECT_EQ(ValueSlotOf(root_, missing, 0), nullptr);
}

void* OtherAllocate(size_t size) {
  return std::malloc(size);
}
void OtherRelease(void* p) {
  std::free(p);
}

TEST(Allocation, ThePairIsSetOnce) {
  EXPECT_EQ(SetAllocationPair(&test::CountingAllocate, &test::CountingRelease), 0);
  EXPECT_EQ(SetAllocationPair(&OtherAllocate, &OtherRelease), kPairRefused);
  EXPECT_EQ(SetAllocationPair(&test::CountingAllocate, &OtherRelease), kPairRefused);
  EXPECT_EQ(SetAllocationPair(nullptr, nullptr), kPairRefused);
  EXPECT_GE(test::LiveBlocks(), 0);  // the counting pair is the one in use
}

}  // namespace
}  // namespace proptree
