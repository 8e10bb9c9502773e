// The configuration pattern (data resource 1209) read back: container, filters, items, captions.
#include <gtest/gtest.h>

#include <set>

#include "configobject/module/ModuleResources.h"
#include "configobject/page/PageStrings.h"
#include "configobject/page/SettingPaths.h"
#include "configobject/page/TreeControlApi.h"
#include "configobject/proptree/TreeReader.h"
#include "configobject/proptree/Value.h"

namespace qrx {
namespace {

using proptree::Node;

class PatternTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto bytes = FindModuleResource(ResourceType::Data, kPatternResource);
    ASSERT_FALSE(bytes.empty());
    holder_ = proptree::CreateNode(nullptr, treectrl::kTreeHolderId);
    ASSERT_NE(proptree::ReadTree(bytes.data(), bytes.size(), holder_, &details_), nullptr);
  }
  void TearDown() override { proptree::DeleteSubtree(holder_); }

  Node* At(const proptree::ItemId* path) { return proptree::FindByPath(holder_, path); }

  static uint32_t CaptionOf(Node* node) {
    uint32_t id = 0;
    proptree::GetValue(proptree::FindProperty(node, treectrl::kCaptionProperty), &id, 4);
    return id;
  }

  static void Captions(Node* node, std::set<uint32_t>* ids) {
    for (; node != nullptr; node = node->nextSibling) {
      if (uint32_t id = CaptionOf(node)) ids->insert(id);
      Captions(node->firstChild, ids);
    }
  }

  Node* holder_ = nullptr;
  proptree::ReadDetails details_;
};

TEST_F(PatternTest, TheContainerHasItsTextAndScramblingOutermost) {
  EXPECT_EQ(details_.headerText, "\r\nQuillmark Lab configuration pattern\r\n ");
  EXPECT_EQ(details_.headerText.size(), 40u);
  ASSERT_FALSE(details_.filters.empty());
  EXPECT_EQ(details_.filters.front(), proptree::FilterCode::Scramble);
}

TEST_F(PatternTest, EveryItemOfTheTableStandsWithItsValueType) {
  struct Row {
    const proptree::ItemId* path;
    uint32_t type;
    bool array;
  };
  const Row rows[] = {{paths::kRoot, 1, false},
                      {paths::kSyncShowDlg, 10, false},
                      {paths::kSyncWaitTime, 8, false},
                      {paths::kDefaultAction, 7, false},
                      {paths::kZeppDir, 0x28, false},
                      {paths::kDesktopPath, 0x28, false},
                      {paths::kUpdateAddresses, 0x28, true}};
  for (const Row& row : rows) {
    Node* node = At(row.path);
    ASSERT_NE(node, nullptr) << std::hex << row.path[0];
    EXPECT_EQ(proptree::ValueTypeOf(node->own.id), row.type);
    EXPECT_EQ(proptree::IsArrayId(node->own.id), row.array);
  }
  EXPECT_EQ(proptree::GroupCode(At(paths::kRoot)->own.id), 8u);
  EXPECT_EQ(proptree::ArrayCount(&At(paths::kUpdateAddresses)->own), 0u);
  EXPECT_EQ(proptree::TypeInfoOf(8).memorySize, 2);  // the wait time is 16-bit
}

TEST_F(PatternTest, TheActionChoicesAreItsChildrenInValueOrder) {
  Node* action = At(paths::kDefaultAction);
  ASSERT_NE(action, nullptr);
  std::vector<uint32_t> captions;
  for (Node* choice = action->firstChild; choice; choice = choice->nextSibling)
    captions.push_back(CaptionOf(choice));
  EXPECT_EQ(captions, (std::vector<uint32_t>{30007, 30008, 30009}));
  // The selector path element picks by the item's value.
  proptree::SetValue(&action->own, 1, 1);
  const proptree::ItemId second[] = {
      0x01080001, 0x01010001, 0x01010004, 0x07010005, proptree::kSelectorId, 0};
  EXPECT_EQ(CaptionOf(At(second)), 30008u);
}

TEST_F(PatternTest, ItRefersToEveryCaptionOfTheStringTable) {
  std::set<uint32_t> used;
  Captions(holder_->firstChild, &used);
  std::set<uint32_t> table;
  for (const auto& entry : PageStrings()) table.insert(entry.id);
  EXPECT_EQ(used, table);
  EXPECT_EQ(CaptionOf(At(paths::kSyncWaitTime)), 30004u);
  EXPECT_EQ(CaptionOf(At(paths::kZeppDir)), 30011u);
  EXPECT_EQ(CaptionOf(At(paths::kDesktopPath)), 30012u);
}

}  // namespace
}  // namespace qrx
