// The tree control offscreen: the pattern copied, rows and editors rendered, edits written back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <map>

#include "configobject/module/ModuleResources.h"
#include "configobject/page/SettingPaths.h"
#include "configobject/page/TreeControlApi.h"
#include "configobject/proptree/TreeReader.h"
#include "configobject/proptree/Value.h"
#include "outside/treecontrol/TreeControlObject.h"
#include "outside/treecontrol/TreeEditors.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ServerModule.h"
#include "ui/testing/OffscreenApp.h"

namespace treecontrol {
namespace {

using namespace platform::com;
namespace api = qrx::treectrl;
namespace paths = qrx::paths;

using ui::testing::OffscreenApp;

// Captions: the host side of event 5, answering from a table.
class Captions final : public IAutomation {
 public:
  std::map<int32_t, std::u16string> texts = {{30002, u"Conduit"},
                                             {30003, u"Show Dialog"},
                                             {30004, u"During <> seconds"},
                                             {30005, u"Sync-time Action"},
                                             {30007, u"Do Nothing"},
                                             {30008, u"Update Now"},
                                             {30009, u"Update At Schedule"},
                                             {30010, u"Directories"},
                                             {30011, u"ZEPPalm Directory - <>"},
                                             {30012, u"Palm Desktop Directory - <>"},
                                             {30013, u"Update URLs"}};
  int asked = 0;

  HRESULT QueryInterface(const IID&, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  HRESULT Invoke(DISPID id, const Variant* args, uint32_t count, Variant* result) override {
    EXPECT_EQ(id, api::kGetString);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(args[1].lVal, api::kCaptionUnits);
    ++asked;
    auto it = texts.find(static_cast<int32_t>(args[0].lVal));
    auto* buffer = static_cast<char16_t*>(args[1].byref);
    if (it != texts.end()) std::copy(it->second.begin(), it->second.end() + 1, buffer);
    *result = BoolResult(it != texts.end());
    return S_OK;
  }
  ULONG refs = 1;
};

class TreeControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OffscreenApp();
    const auto bytes = qrx::FindModuleResource(qrx::ResourceType::Data, qrx::kPatternResource);
    pattern_ = proptree::CreateNode(nullptr, api::kTreeHolderId);
    ASSERT_NE(proptree::ReadTree(bytes.data(), bytes.size(), pattern_), nullptr);
    ASSERT_EQ(TreeControlObject::Create(IID_IHostedControl, hosted_.Put()), S_OK);
    ASSERT_EQ(hosted_->QueryInterface(IID_IAutomation, automation_.Put()), S_OK);
    parent_.resize(400, 300);
  }
  void TearDown() override {
    automation_.Reset();
    hosted_.Reset();
    proptree::DeleteSubtree(pattern_);
  }

  void MakeWindow(const std::vector<uint8_t>& data = {'Q', 'M', 't', 'c', 1, 0, 1, 0}) {
    HWND window = nullptr;
    ASSERT_EQ(
        hosted_->CreateControlWindow(reinterpret_cast<HWND>(&parent_), 1213, {0, 0, 400, 300},
                                     data.data(), static_cast<uint32_t>(data.size()), &window),
        S_OK);
    tree_ = reinterpret_cast<QTreeWidget*>(window);
    ASSERT_EQ(tree_->parentWidget(), &parent_);
    ASSERT_EQ(hosted_->Advise(&captions_), S_OK);
  }

  HRESULT Call(DISPID id, std::vector<Variant> args) {
    return automation_->Invoke(id, args.data(), static_cast<uint32_t>(args.size()), nullptr);
  }

  // Working: the pattern copied into a working tree, filled as a page fills it, and shown.
  proptree::Node* Working() {
    intptr_t working = 0;
    EXPECT_EQ(Call(api::kTransferTree, {LongArg(0), LongArg(reinterpret_cast<intptr_t>(pattern_)),
                                        LongRefArg(&working)}),
              S_OK);
    auto* tree = reinterpret_cast<proptree::Node*>(working);
    EXPECT_NE(tree, pattern_);
    intptr_t access = 0;
    intptr_t none = 0;
    EXPECT_EQ(Call(api::kAccessTree, {LongArg(working), LongRefArg(&access), LongRefArg(nullptr)}),
              S_OK);
    EXPECT_GT(access, 0);
    proptree::SetValue(Slot(tree, paths::kSyncShowDlg), 1, 4);
    proptree::SetValue(Slot(tree, paths::kSyncWaitTime), 45, 2);
    proptree::SetValue(Slot(tree, paths::kDefaultAction), 1, 1);
    proptree::SetValue(Slot(tree, paths::kZeppDir), reinterpret_cast<uintptr_t>("C:\\Q"), 0);
    for (const char* url : {"http://a/", "http://b/", "http://c/"})
      proptree::SetValue(Slot(tree, paths::kUpdateAddresses), reinterpret_cast<uintptr_t>(url), 0);
    EXPECT_EQ(Call(api::kTransferTree, {LongArg(working), LongArg(access), LongRefArg(&none)}),
              S_OK);
    proptree::Node* root = proptree::FindByPath(tree, paths::kRoot);
    EXPECT_EQ(Call(api::kShowItem, {LongArg(reinterpret_cast<intptr_t>(root)), LongArg(0)}), S_OK);
    return tree;
  }

  static proptree::ValueSlot* Slot(proptree::Node* tree, const proptree::ItemId* path) {
    return proptree::ValueSlotOf(tree, path, 0);
  }
  static uint32_t Number(proptree::Node* tree, const proptree::ItemId* path, uint32_t size) {
    uint32_t v = 0;
    proptree::GetValue(Slot(tree, path), &v, size);
    return v;
  }
  static std::vector<std::string> Elements(proptree::Node* tree) {
    std::vector<std::string> out;
    proptree::ValueSlot* s = Slot(tree, paths::kUpdateAddresses);
    for (uint32_t i = 0; i < proptree::ArrayCount(s); ++i) {
      char buffer[64] = {};
      proptree::ArrayElement(s, i, buffer, sizeof buffer);
      out.emplace_back(buffer);
    }
    return out;
  }
  template <typename T>
  T* Editor(const char* name) {
    return tree_->findChild<T*>(QString::fromLatin1(name));
  }
  QTreeWidgetItem* ItemWithText(const QString& text) {
    const auto found = tree_->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
  }

  struct AppFirst {
    AppFirst() { OffscreenApp(); }
  } app_;  // before any widget
  QWidget parent_;
  proptree::Node* pattern_ = nullptr;
  ComPtr<IHostedControl> hosted_;
  ComPtr<IAutomation> automation_;
  Captions captions_;
  QTreeWidget* tree_ = nullptr;
};

TEST_F(TreeControlTest, ShowsGroupsFlagsNumbersChoicesTextsAndLists) {
  MakeWindow();
  Working();
  ASSERT_EQ(tree_->topLevelItemCount(), 3);
  EXPECT_EQ(tree_->topLevelItem(0)->text(0), "Conduit");
  EXPECT_EQ(tree_->topLevelItem(1)->text(0), "Directories");
  EXPECT_EQ(tree_->topLevelItem(2)->text(0), "Update URLs");
  EXPECT_TRUE(tree_->topLevelItem(0)->isExpanded());

  QTreeWidgetItem* show = ItemWithText("Show Dialog");
  ASSERT_NE(show, nullptr);
  EXPECT_EQ(show->checkState(0), Qt::Checked);

  auto* wait = Editor<QSpinBox>("item-08010003");
  ASSERT_NE(wait, nullptr);
  EXPECT_EQ(wait->value(), 45);
  EXPECT_EQ(wait->maximum(), 65535);
  QStringList labels;
  for (QLabel* label : wait->parentWidget()->findChildren<QLabel*>()) labels << label->text();
  EXPECT_EQ(labels, (QStringList{"During ", " seconds"}));

  auto* action = Editor<QComboBox>("item-07010005");
  ASSERT_NE(action, nullptr);
  ASSERT_EQ(action->count(), 3);
  EXPECT_EQ(action->itemText(0), "Do Nothing");
  EXPECT_EQ(action->itemText(2), "Update At Schedule");
  EXPECT_EQ(action->currentIndex(), 1);

  auto* zepp = Editor<QLineEdit>("item-28010006");
  ASSERT_NE(zepp, nullptr);
  EXPECT_EQ(zepp->text(), "C:\\Q");
  EXPECT_EQ(zepp->parentWidget()->findChild<QLabel*>()->text(), "ZEPPalm Directory - ");
  EXPECT_EQ(Editor<QLineEdit>("item-28010007")->text(), "");  // no text yet

  auto* list = Editor<TextListEditor>("item-68010001");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Texts(), (QStringList{"http://a/", "http://b/", "http://c/"}));
  EXPECT_GT(captions_.asked, 0);
}

TEST_F(TreeControlTest, EditsAreWrittenIntoTheWorkingTree) {
  MakeWindow();
  proptree::Node* tree = Working();
  Editor<QSpinBox>("item-08010003")->setValue(300);
  EXPECT_EQ(Number(tree, paths::kSyncWaitTime, 2), 300u);
  Editor<QComboBox>("item-07010005")->setCurrentIndex(2);
  EXPECT_EQ(Number(tree, paths::kDefaultAction, 1), 2u);
  ItemWithText("Show Dialog")->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(Number(tree, paths::kSyncShowDlg, 4), 0u);
  Editor<QLineEdit>("item-28010007")->setText("D:\\Palm");
  char text[32] = {};
  proptree::GetValue(Slot(tree, paths::kDesktopPath), text, sizeof text);
  EXPECT_STREQ(text, "D:\\Palm");

  auto* list = Editor<TextListEditor>("item-68010001");
  auto* rows = list->findChild<QListWidget*>("list");
  rows->setCurrentRow(1);
  list->findChild<QPushButton*>("remove")->click();
  EXPECT_EQ(Elements(tree), (std::vector<std::string>{"http://a/", "http://c/"}));
  list->findChild<QPushButton*>("add")->click();
  rows->item(rows->count() - 1)->setText("http://d/");
  EXPECT_EQ(Elements(tree), (std::vector<std::string>{"http://a/", "http://c/", "http://d/"}));
  rows->item(0)->setText("   ");  // a blank row is no address
  EXPECT_EQ(Elements(tree), (std::vector<std::string>{"http://c/", "http://d/"}));
}

TEST_F(TreeControlTest, EndingAnAccessShowsTheTreesValuesAgain) {
  MakeWindow();
  proptree::Node* tree = Working();
  intptr_t access = 0;
  intptr_t none = 0;
  ASSERT_EQ(Call(api::kAccessTree, {LongArg(reinterpret_cast<intptr_t>(tree)), LongRefArg(&access),
                                    LongRefArg(nullptr)}),
            S_OK);
  EXPECT_EQ(access, 2);  // one access per call
  proptree::SetValue(Slot(tree, paths::kSyncWaitTime), 12, 2);
  ASSERT_EQ(Call(api::kTransferTree,
                 {LongArg(reinterpret_cast<intptr_t>(tree)), LongArg(access), LongRefArg(&none)}),
            S_OK);
  EXPECT_EQ(Editor<QSpinBox>("item-08010003")->value(), 12);
}

TEST_F(TreeControlTest, AddressesFromElsewhereAreRefused) {
  MakeWindow();
  proptree::Node* tree = Working();
  intptr_t value = 0;
  EXPECT_EQ(Call(api::kAccessTree, {LongArg(reinterpret_cast<intptr_t>(pattern_)),
                                    LongRefArg(&value), LongRefArg(nullptr)}),
            E_INVALIDARG);
  EXPECT_EQ(
      Call(api::kShowItem, {LongArg(reinterpret_cast<intptr_t>(pattern_->firstChild)), LongArg(0)}),
      E_INVALIDARG);
  EXPECT_EQ(tree_->topLevelItemCount(), 3);  // still the working tree
  EXPECT_EQ(Call(api::kTransferTree, {LongArg(12345), LongArg(0), LongRefArg(&value)}),
            E_INVALIDARG);
  EXPECT_EQ(Call(api::kShowItem, {LongArg(0)}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(
      Call(api::kAccessTree, {LongArg(reinterpret_cast<intptr_t>(tree)), LongArg(0), LongArg(0)}),
      DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Call(42, {}), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Call(api::kShowItem, {LongArg(0), LongArg(0)}), S_OK);
  EXPECT_EQ(tree_->topLevelItemCount(), 0);
}

TEST_F(TreeControlTest, ANewCopyReplacesTheOldWorkingTree) {
  MakeWindow();
  proptree::Node* first = Working();
  proptree::SetValue(Slot(first, paths::kSyncWaitTime), 99, 2);
  intptr_t second = 0;
  ASSERT_EQ(Call(api::kTransferTree,
                 {LongArg(0), LongArg(reinterpret_cast<intptr_t>(pattern_)), LongRefArg(&second)}),
            S_OK);
  auto* tree = reinterpret_cast<proptree::Node*>(second);
  EXPECT_EQ(Number(tree, paths::kSyncWaitTime, 2), 5u);  // the pattern's own value
  EXPECT_EQ(tree_->topLevelItemCount(), 0);              // the old rows are gone
  intptr_t empty = 0;
  ASSERT_EQ(Call(api::kTransferTree, {LongArg(0), LongArg(0), LongRefArg(&empty)}), S_OK);
  EXPECT_EQ(reinterpret_cast<proptree::Node*>(empty)->firstChild, nullptr);  // no pattern: empty
}

TEST_F(TreeControlTest, ItsPropertiesCanKeepTheTreeCollapsed) {
  MakeWindow({'Q', 'M', 't', 'c', 1, 0, 0, 0});
  Working();
  EXPECT_FALSE(tree_->topLevelItem(0)->isExpanded());
}

TEST_F(TreeControlTest, TheWindowGoesWithTheControlAndNotTheOtherWayRound) {
  MakeWindow();
  Working();
  QPointer<QTreeWidget> window = tree_;
  delete window.data();  // the host's window destroyed first
  EXPECT_EQ(Call(api::kShowItem, {LongArg(0), LongArg(0)}), S_OK);
  MakeWindow();
  window = tree_;
  HWND again = nullptr;
  EXPECT_EQ(
      hosted_->CreateControlWindow(reinterpret_cast<HWND>(&parent_), 1213, {}, nullptr, 0, &again),
      E_UNEXPECTED);
  automation_.Reset();
  hosted_.Reset();
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(ModuleLockCount(), 0);
}

TEST(TreeEditors, CaptionsSplitAtTheirPlaceholder) {
  EXPECT_EQ(SplitCaption("During <> seconds").before, "During ");
  EXPECT_EQ(SplitCaption("During <> seconds").after, " seconds");
  EXPECT_EQ(SplitCaption("Port").before, "Port ");
  EXPECT_EQ(SplitCaption("Port").after, "");
  EXPECT_EQ(SplitCaption("").before, "");
}

}  // namespace
}  // namespace treecontrol
