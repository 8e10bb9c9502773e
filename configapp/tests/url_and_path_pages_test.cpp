// The URLs and Paths pages' logic: editing the address list and the directories, and what reaches
// the record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "configapp/ControlIds.h"
#include "configapp/PathPage.h"
#include "configapp/UpdatePage.h"
#include "configapp/tests/SetdeskTest.h"
#include "platform/Text.h"

namespace configapp {
namespace {

using Items = std::vector<std::string>;

class UrlPageTest : public testing::SetdeskTest {
 protected:
  void SetUp() override {
    SetdeskTest::SetUp();
    for (const char* url : {"http://one/", "http://two/", "http://three/"})
      palmsettings::AppendEntry(record_.addressList, url);
    page_.OnInitDialog();
  }
  const Items& items() const { return page_.controls().items; }

  palmsettings::PalmSettings record_;
  CUpdatePage page_{record_, prompt_};
};

TEST_F(UrlPageTest, OpensWithTheAddressesInListOrder) {
  EXPECT_EQ(items(), (Items{"http://one/", "http://two/", "http://three/"}));
  EXPECT_EQ(page_.controls().selection, -1);
  EXPECT_EQ(page_.Text(kIdAddressGroup), "Address configuration");
  EXPECT_EQ(page_.Text(kIdClearAll), "Clear all");
  EXPECT_EQ(page_.Text(kIdAddressLabel), "");  // the template's "URL:" stays
}

TEST_F(UrlPageTest, AddPutsTheTrimmedTextAtTheTopAndBlanksAddNothing) {
  page_.SetAddress(" \t  ");
  EXPECT_FALSE(page_.OnAdd());
  EXPECT_EQ(items().size(), 3u);
  page_.Select(1);
  page_.SetAddress(" a ");
  EXPECT_TRUE(page_.OnAdd());
  EXPECT_EQ(items(), (Items{"a", "http://one/", "http://two/", "http://three/"}));
  EXPECT_EQ(page_.controls().address, "");
  // The selected address stays selected one place lower.
  EXPECT_EQ(page_.controls().selection, 2);
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(UrlPageTest, AnAddressTooLongForItsFieldIsRefusedAndKept) {
  const std::string fits = "http://" + std::string(248, 'x');  // 255 characters
  page_.SetAddress(fits);
  EXPECT_TRUE(page_.OnAdd());
  const std::string tooLong = fits + "y";
  page_.SetAddress(tooLong);
  EXPECT_FALSE(page_.OnAdd());
  EXPECT_EQ(prompt_.last().text,
            "The address is too long: an address may have at most 255 characters.");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus for Palm OS");
  EXPECT_EQ(page_.controls().address, tooLong);
  EXPECT_EQ(items().front(), fits);
  page_.OnDestroy();
  EXPECT_EQ(palmsettings::EntryName(*record_.addressList), fits);
}

TEST_F(UrlPageTest, DeleteRemovesTheSelectedItemOnly) {
  page_.SetAddress("typed");
  page_.OnDelete();
  EXPECT_EQ(items().size(), 3u);
  EXPECT_EQ(page_.controls().address, "typed");
  page_.Select(1);
  page_.OnDelete();
  EXPECT_EQ(items(), (Items{"http://one/", "http://three/"}));
  EXPECT_EQ(page_.controls().selection, -1);
  EXPECT_EQ(page_.controls().address, "");
}

TEST_F(UrlPageTest, ClearAllAsksFirstAndNoKeepsEverything) {
  page_.SetAddress("typed");
  prompt_.Answer(platform::IDNO);
  EXPECT_FALSE(page_.OnClearAll());
  EXPECT_EQ(prompt_.last().text, "Do you really want to delete all addresses?");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus for Palm OS");
  EXPECT_EQ(prompt_.last().buttons, platform::MB_YESNO);
  EXPECT_EQ(prompt_.last().icon, platform::MB_ICONWARNING);
  EXPECT_EQ(items().size(), 3u);
  EXPECT_EQ(page_.controls().address, "typed");
  prompt_.Answer(platform::IDYES);
  EXPECT_TRUE(page_.OnClearAll());
  EXPECT_TRUE(items().empty());
  EXPECT_EQ(page_.controls().address, "");
  page_.OnDestroy();
  EXPECT_EQ(record_.addressList, nullptr);
}

TEST_F(UrlPageTest, UpAndDownMoveTheSelectionAndStopAtTheEnds) {
  page_.OnUp();  // nothing selected
  page_.OnDown();
  EXPECT_EQ(items(), (Items{"http://one/", "http://two/", "http://three/"}));
  page_.Select(0);
  page_.OnUp();
  EXPECT_EQ(items(), (Items{"http://one/", "http://two/", "http://three/"}));
  EXPECT_EQ(page_.controls().selection, 0);
  page_.Select(2);
  page_.OnDown();
  EXPECT_EQ(items(), (Items{"http://one/", "http://two/", "http://three/"}));
  page_.OnUp();
  EXPECT_EQ(items(), (Items{"http://one/", "http://three/", "http://two/"}));
  EXPECT_EQ(page_.controls().selection, 1);
  page_.Select(0);
  page_.OnDown();
  EXPECT_EQ(items(), (Items{"http://three/", "http://one/", "http://two/"}));
  EXPECT_EQ(page_.controls().selection, 1);
}

TEST_F(UrlPageTest, DestroyRebuildsTheAddressListFromTheListBox) {
  page_.Select(2);
  page_.OnUp();
  page_.SetAddress("http://new/");
  page_.OnAdd();
  page_.OnDestroy();
  EXPECT_EQ(Names(record_.addressList),
            (Items{"http://new/", "http://one/", "http://three/", "http://two/"}));
  for (auto* e = record_.addressList; e; e = e->next) EXPECT_EQ(e->received, 0);
}

TEST_F(UrlPageTest, HintsOfTheSevenControls) {
  const std::pair<uint32_t, const char*> hints[] = {
      {kIdAddress, "Enter new URL for receiving an update"},
      {kIdAddressList, "This list contains update URLs."},
      {kIdUp, "Move selected URL up in the list"},
      {kIdDown, "Move selected URL down in the list"},
      {kIdAdd, "Add new URL to the list"},
      {kIdDelete, "Delete selected URL from the list"},
      {kIdClearAll, "Delete all entries in the URLs list"},
  };
  for (const auto& [control, text] : hints) {
    EXPECT_TRUE(page_.OnSetCursor(control));
    EXPECT_EQ(page_.hint(), text);
  }
  EXPECT_FALSE(page_.OnSetCursor(kIdAddressLabel));
  EXPECT_EQ(page_.hint(), "Delete all entries in the URLs list");
}

class PathPageTest : public testing::SetdeskTest {
 protected:
  palmsettings::PalmSettings record_;
  CPathPage page_{record_, prompt_};
};

TEST_F(PathPageTest, OpensWithTheRecordsDirectoriesAndStoresTheEditedOnes) {
  page_.OnInitDialog();
  EXPECT_EQ(page_.controls().desktopPath, "C:\\Program Files\\Palm");
  EXPECT_EQ(page_.controls().zeppDir, "C:\\Program Files\\Quillmark Lab\\ZEPP for PalmOS");
  EXPECT_EQ(page_.Text(kIdPathsGroup), "Paths");
  EXPECT_EQ(page_.Text(kIdDesktopLabel), "Palm Desktop");
  EXPECT_EQ(page_.Text(kIdZeppLabel), "ZEP for PalmOS");
  page_.SetDesktopPath("D:\\Palm");
  page_.SetZeppDir("");
  EXPECT_EQ(page_.CheckLengths(), 0u);
  page_.OnDestroy();
  EXPECT_EQ(platform::FieldText(record_.DesktopPath), "D:\\Palm");
  EXPECT_EQ(platform::FieldText(record_.ZEPPDir), "");
}

TEST_F(PathPageTest, ADirectoryTooLongForItsFieldIsRefusedNotCut) {
  page_.OnInitDialog();
  const std::string fits = "C:\\" + std::string(252, 'p');  // 255 bytes
  page_.SetDesktopPath(fits);
  page_.SetZeppDir(fits + "z");
  EXPECT_EQ(page_.CheckLengths(), static_cast<uint32_t>(kIdZeppDir));
  EXPECT_EQ(prompt_.last().text,
            "The directory is too long: a directory may have at most 255 characters.");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus for Palm OS");
  page_.SetDesktopPath(fits + "é");  // two more bytes in UTF-8
  EXPECT_EQ(page_.CheckLengths(), static_cast<uint32_t>(kIdDesktopPath));
  // Closing anyway (Cancel) stores what fits and leaves the other field as it was.
  page_.SetDesktopPath(fits);
  page_.OnDestroy();
  EXPECT_EQ(platform::FieldText(record_.DesktopPath), fits);
  EXPECT_EQ(platform::FieldText(record_.ZEPPDir),
            "C:\\Program Files\\Quillmark Lab\\ZEPP for PalmOS");
}

TEST_F(PathPageTest, HintsOfBothDirectories) {
  page_.OnInitDialog();
  page_.OnSetCursor(kIdDesktopPath);
  EXPECT_EQ(page_.hint(), "Path to Palm Desktop directory");
  page_.OnSetCursor(kIdZeppDir);
  EXPECT_EQ(page_.hint(), "Path to Quillmark Anti-Virus for PalmOS directory");
  EXPECT_FALSE(page_.OnSetCursor(kIdBrowseZepp));
}

}  // namespace
}  // namespace configapp
