// The conduit page's logic over a recording control: the calls, filling, collecting, captions,
// layout.
#include <filesystem>

#include "configobject/layout/tests/FakeWindow.h"
#include "configobject/page/SettingPaths.h"
#include "configobject/page/tests/PageTest.h"
#include "configobject/proptree/Value.h"
#include "platform/ScriptedPrompt.h"

namespace qrx::testing {
namespace {

using platform::HKEY_LOCAL_MACHINE;
using proptree::ValueSlot;

ValueSlot* Slot(CConduitTreePage& page, const proptree::ItemId* path) {
  return proptree::ValueSlotOf(page.workingTree(), path, 0);
}

uint32_t Number(CConduitTreePage& page, const proptree::ItemId* path, uint32_t size) {
  uint32_t v = 0;
  EXPECT_EQ(proptree::GetValue(Slot(page, path), &v, size), size);
  return v;
}

std::string TreeText(CConduitTreePage& page, const proptree::ItemId* path) {
  char buffer[300] = {};
  proptree::GetValue(Slot(page, path), buffer, sizeof buffer);
  return buffer;
}

std::vector<std::string> Addresses(CConduitTreePage& page) {
  std::vector<std::string> out;
  ValueSlot* s = Slot(page, paths::kUpdateAddresses);
  for (uint32_t i = 0; i < proptree::ArrayCount(s); ++i) {
    char buffer[300] = {};
    proptree::ArrayElement(s, i, buffer, sizeof buffer);
    out.emplace_back(buffer);
  }
  return out;
}

void SetTreeText(CConduitTreePage& page, const proptree::ItemId* path, const char* text) {
  ASSERT_GT(proptree::SetValue(Slot(page, path), reinterpret_cast<uintptr_t>(text), 0), 0u);
}

class ConduitTreePageTest : public PageTest {
 protected:
  void StoreSample() {
    SetDword("SyncShowDlg", 0);
    SetDword("SyncWaitTime", 0x00012345);
    SetDword("DefaultAction", 0x101);
    SetText("ZEPPDir", "C:\\Quill");
    SetText("DesktopPath", "C:\\Palm Desktop");
    SetText("UpdateUrl1", "http://one.example/");
    SetText("UpdateUrl2", "http://two.example/");
    SetText("UpdateUrl3", "http://three.example/");
  }
};

TEST_F(ConduitTreePageTest, InitialisationCallsTheControlInOrderAndShowsTheRoot) {
  StoreSample();
  Open();
  EXPECT_EQ(loaded_, 0);
  EXPECT_EQ(fake_->calls(),
            (std::vector<std::string>{"5(0,0)", "8(0,P,&)", "9(W,&,0)", "8(W,1,&)", "5(R,0)"}));
  EXPECT_EQ(fake_->controlId(), 1213);
  EXPECT_TRUE(fake_->advised());
  ASSERT_NE(page_->rootItem(), nullptr);
  EXPECT_EQ(page_->rootItem()->own.id, 0x01080001u);
  EXPECT_EQ(page_->workingTree(), fake_->working());
}

TEST_F(ConduitTreePageTest, TheTreeShowsTheStoredValues) {
  StoreSample();
  Open();
  EXPECT_EQ(Number(*page_, paths::kSyncShowDlg, 4), 0u);
  EXPECT_EQ(Number(*page_, paths::kSyncWaitTime, 2), 0x2345u);  // the low 16 bits
  EXPECT_EQ(Number(*page_, paths::kDefaultAction, 1), 1u);      // the lowest byte
  EXPECT_EQ(TreeText(*page_, paths::kZeppDir), "C:\\Quill");
  EXPECT_EQ(TreeText(*page_, paths::kDesktopPath), "C:\\Palm Desktop");
  EXPECT_EQ(Addresses(*page_),
            (std::vector<std::string>{"http://one.example/", "http://two.example/",
                                      "http://three.example/"}));
}

TEST_F(ConduitTreePageTest, CollectingReplacesOnlyTheLowBitsAndKeepsTheAddressOrder) {
  StoreSample();
  Open();
  ASSERT_GT(proptree::SetValue(Slot(*page_, paths::kSyncWaitTime), 7, 2), 0u);
  ASSERT_GT(proptree::SetValue(Slot(*page_, paths::kDefaultAction), 2, 1), 0u);
  ASSERT_GT(proptree::SetValue(Slot(*page_, paths::kSyncShowDlg), 1, 4), 0u);
  SetTreeText(*page_, paths::kZeppDir, "C:\\Other");
  page_->GetDataFromPage();
  EXPECT_EQ(fake_->calls().back(), "9(W,&,0)");
  EXPECT_EQ(Dword("SyncWaitTime"), 0x00010007u);
  EXPECT_EQ(Dword("DefaultAction"), 0x102u);
  EXPECT_EQ(Dword("SyncShowDlg"), 1u);
  EXPECT_EQ(Text("ZEPPDir"), "C:\\Other");
  EXPECT_EQ(Text("DesktopPath"), "C:\\Palm Desktop");
  EXPECT_EQ(Text("UpdateUrl1"), "http://one.example/");
  EXPECT_EQ(Text("UpdateUrl2"), "http://two.example/");
  EXPECT_EQ(Text("UpdateUrl3"), "http://three.example/");
  EXPECT_EQ(Text("UpdateUrl4"), "<missing>");
}

TEST_F(ConduitTreePageTest, TheAddressListIsRebuiltFromTheArray) {
  StoreSample();
  Open();
  ValueSlot* s = Slot(*page_, paths::kUpdateAddresses);
  proptree::SetValue(s, 0, 0);  // empties the array
  for (const char* a : {"http://c.example/", "http://a.example/"})
    proptree::SetValue(s, reinterpret_cast<uintptr_t>(a), 0);
  page_->GetDataFromPage();
  EXPECT_EQ(Text("UpdateUrl1"), "http://c.example/");
  EXPECT_EQ(Text("UpdateUrl2"), "http://a.example/");
  EXPECT_EQ(Text("UpdateUrl3"), "<missing>");
  ASSERT_NE(page_->settings().addressList, nullptr);
  EXPECT_EQ(page_->settings().addressList->received, 0);
}

TEST_F(ConduitTreePageTest, ALongTextIsCutWithoutSplittingACharacter) {
  StoreSample();
  Open();
  // 254 ASCII bytes and a two-byte letter: the letter would end at byte 256.
  const std::string text = std::string(254, 'd') + "\xC3\xA9";
  SetTreeText(*page_, paths::kDesktopPath, text.c_str());
  page_->GetDataFromPage();
  EXPECT_EQ(Text("DesktopPath"), std::string(254, 'd'));
}

TEST_F(ConduitTreePageTest, WithoutTheComponentKeyTheDefaultsShowAndNothingIsWritten) {
  Open();
  EXPECT_EQ(loaded_, palmsettings::PalmSettings::kKeyNotOpened);
  EXPECT_EQ(Number(*page_, paths::kSyncShowDlg, 4), 1u);
  EXPECT_EQ(Number(*page_, paths::kSyncWaitTime, 2), 5u);
  EXPECT_EQ(Number(*page_, paths::kDefaultAction, 1), 2u);
  EXPECT_EQ(TreeText(*page_, paths::kZeppDir), palmsettings::kDefaultZeppDir);
  EXPECT_EQ(TreeText(*page_, paths::kDesktopPath), palmsettings::kDefaultDesktopPath);
  EXPECT_TRUE(Addresses(*page_).empty());
  ASSERT_GT(proptree::SetValue(Slot(*page_, paths::kSyncWaitTime), 30, 2), 0u);
  page_->GetDataFromPage();
  EXPECT_TRUE(platform::com::testing::Snapshot(HKEY_LOCAL_MACHINE, "").empty());
}

TEST_F(ConduitTreePageTest, AMissingPathIsNeitherShownNorReadBack) {
  StoreSample();
  Open(Pattern(), {0x01080001, 0x01010002});  // no "Update URLs" group in the tree
  EXPECT_EQ(Slot(*page_, paths::kUpdateAddresses), nullptr);
  ASSERT_GT(proptree::SetValue(Slot(*page_, paths::kSyncWaitTime), 9, 2), 0u);
  page_->GetDataFromPage();
  EXPECT_EQ(Dword("SyncWaitTime"), 0x00010009u);
  EXPECT_EQ(Text("UpdateUrl1"), "http://one.example/");  // the list is kept, not emptied
  EXPECT_EQ(Text("UpdateUrl3"), "http://three.example/");
}

TEST_F(ConduitTreePageTest, APatternThatDoesNotReadHandsTheControlNone) {
  StoreSample();
  const uint8_t garbage[] = {'Q', 'M', 's', 'w', 3, 0, 'a', 'b'};
  Open(garbage);
  EXPECT_EQ(page_->patternTree(), nullptr);
  EXPECT_EQ(fake_->calls()[1], "8(0,0,&)");
  EXPECT_EQ(page_->rootItem(), nullptr);
  EXPECT_EQ(fake_->calls().back(), "5(0,0)");
  page_->GetDataFromPage();  // nothing to read; the stored values stay
  EXPECT_EQ(Dword("SyncWaitTime"), 0x00012345u);
}

TEST_F(ConduitTreePageTest, CaptionsComeFromTheOwnTableWhenNoLanguageLibraryLoads) {
  StoreSample();
  Open();
  EXPECT_EQ(fake_->Caption(30002), "Conduit");
  EXPECT_EQ(fake_->Caption(30004), "During <> seconds");
  EXPECT_EQ(fake_->Caption(30012), "Palm Desktop Directory - <>");
  EXPECT_EQ(fake_->Caption(30006), "<none>");
  EXPECT_EQ(fake_->Caption(30004, 5), "Duri");
  // At most 128 characters, whatever buffer the control offers.
  EXPECT_EQ(fake_->Caption(30004, 4096), "During <> seconds");
}

TEST_F(ConduitTreePageTest, ALanguageLibraryReplacesTheWholeTable) {
  const std::string folder = home_.folder().MakeFolder("drive_c/lang");
  std::filesystem::copy_file(PAGE_TEST_LANGUAGE, folder + "/Dodo_voz.so");
  StoreSample();
  SetText("ZEPPDir", "C:\\lang");
  Open();
  EXPECT_EQ(fake_->Caption(30002), "Conduite");
  EXPECT_EQ(fake_->Caption(30003), "<none>");  // no fallback to the own table
}

TEST_F(ConduitTreePageTest, ResizingStretchesTheControlWithThePage) {
  Open();
  layout::test::FakeWindow window;
  window.client = {0, 0, 403, 321};
  window.children = {{1213, {0, 0, 363, 291}}};
  platform::ScriptedPrompt prompt;
  ASSERT_TRUE(page_->OnSize(window, prompt));
  ASSERT_EQ(window.moves.size(), 1u);
  EXPECT_EQ(window.moves[0], (layout::test::Move{0, 0, 0, 403, 321}));
  EXPECT_EQ(prompt.count(), 0u);
}

TEST_F(ConduitTreePageTest, AfterThePageGoesItsEventsAreRefused) {
  Open();
  platform::com::IAutomation* events = page_->events();
  events->AddRef();  // as a control that keeps its sink would
  page_.reset();
  EXPECT_FALSE(fake_->advised());
  char16_t buffer[treectrl::kCaptionUnits] = {};
  const platform::com::Variant args[] = {
      platform::com::LongArg(30002), platform::com::WideBufferArg(buffer, treectrl::kCaptionUnits)};
  platform::com::Variant result;
  EXPECT_EQ(events->Invoke(treectrl::kGetString, args, 2, &result), platform::com::S_OK);
  EXPECT_EQ(result.lVal, platform::com::VARIANT_FALSE);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(events->Invoke(7, args, 2, &result), platform::com::DISP_E_MEMBERNOTFOUND);
  events->Release();
}

}  // namespace
}  // namespace qrx::testing
