// Promoting a run's downloads, the language library behind LoadText, and the list helpers.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "palmsettings/PalmSettings.h"
#include "palmsettings/tests/SettingsTest.h"
#include "platform/Text.h"

namespace palmsettings {
namespace {

using platform::FieldText;
using testing::SettingsTest;

class PalmPromote : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    platform::CopyToField(s_.UpdateFolder, "C:\\ZEPP\\LastUpdate");
    home_.MakeFolder("drive_c/ZEPP/LastUpdate/Download");
  }
  void Download(const std::string& name, const std::string& content) {
    home_.Write("drive_c/ZEPP/LastUpdate/Download/" + name, content);
  }
  SettingsEntry* List(const std::string& name, uint16_t received = 1) {
    SettingsEntry* e = AppendEntry(s_.fileList, name);
    e->received = received;
    return e;
  }
  std::string Current(const std::string& name) const {
    return platform::testing::TempFolder::Read(Host("ZEPP/LastUpdate/" + name));
  }
  std::string Waiting(const std::string& name) const {
    return platform::testing::TempFolder::Read(Host("ZEPP/LastUpdate/Download/" + name));
  }

  PalmSettings s_;
};

TEST_F(PalmPromote, AnIncompleteSetMovesNothing) {
  Download("ZEPDB.pdb", "new db");
  Download("ZEPVE.pdb", "new ve");
  List("ZEPDB.pdb");
  List("ZEPVE.pdb", 0);
  EXPECT_EQ(s_.PromoteDownloads(), 0);
  EXPECT_EQ(Waiting("ZEPDB.pdb"), "new db");
  EXPECT_FALSE(Exists(Host("ZEPP/LastUpdate/ZEPDB.pdb")));
}

TEST_F(PalmPromote, ACompleteSetReplacesTheCurrentFilesAndSkipsAMissingOne) {
  home_.Write("drive_c/ZEPP/LastUpdate/ZEPDB.pdb", "old db");
  home_.Write("drive_c/ZEPP/LastUpdate/ZEPVE.pdb", "old ve");
  Download("ZEPDB.pdb", "new db");
  Download("Extra.pdb", "extra");
  List("ZEPDB.pdb");
  List("ZEPVE.pdb");  // marked received but not in the Download folder
  List("Extra.pdb");
  EXPECT_EQ(s_.PromoteDownloads(), 1);
  EXPECT_EQ(Current("ZEPDB.pdb"), "new db");
  EXPECT_EQ(Current("ZEPVE.pdb"), "old ve");
  EXPECT_EQ(Current("Extra.pdb"), "extra");
  EXPECT_FALSE(Exists(Host("ZEPP/LastUpdate/Download/ZEPDB.pdb")));
}

TEST_F(PalmPromote, AnEmptyListIsComplete) {
  EXPECT_EQ(s_.PromoteDownloads(), 1);
}

TEST_F(PalmPromote, NamesThatLeaveTheFolderAreNotMoved) {
  home_.Write("drive_c/ZEPP/escaped.pdb", "keep");
  Download("sub/x.pdb", "x");
  List("..\\escaped.pdb");
  List("sub/x.pdb");
  List("..");
  EXPECT_EQ(s_.PromoteDownloads(), 1);
  EXPECT_EQ(platform::testing::TempFolder::Read(Host("ZEPP/escaped.pdb")), "keep");
  EXPECT_EQ(Waiting("sub/x.pdb"), "x");
  EXPECT_FALSE(Exists(Host("ZEPP/LastUpdate/sub")));
}

TEST_F(PalmPromote, WithoutAnUpdateFolderNothingIsPlacedAnywhere) {
  platform::CopyToField(s_.UpdateFolder, "");
  Download("ZEPDB.pdb", "new db");
  List("ZEPDB.pdb");
  EXPECT_EQ(s_.PromoteDownloads(), 1);
  EXPECT_EQ(Waiting("ZEPDB.pdb"), "new db");
}

// The deliverable's own table in these tests.
constexpr platform::DesktopString kOwn[] = {
    {203, "Error!"},
    {204, "No update path is specified!"},
    {512, "Quillmark Anti-Virus for PalmOS Updater"},
};
constexpr platform::DeviceString kOwnWide[] = {{203, u"Error!"}};

class PalmText : public SettingsTest {
 protected:
  // InstallLanguage: a ZEPPDir on drive C holding "Dodo_voz.dll", stored in
  // the component key.
  void InstallLanguage() {
    home_.MakeFolder("drive_c/ZEPP");
    std::filesystem::copy_file(PALMSETTINGS_TEST_LANGUAGE, Host("ZEPP/Dodo_voz.so"));
    StoreText("ZEPPDir", "C:\\ZEPP");
  }
};

TEST_F(PalmText, WithoutALanguageLibraryTextsComeFromTheOwnTable) {
  ComponentKey();  // the default ZEPPDir holds no library
  PalmSettings s;
  ASSERT_EQ(s.Load(), 0);
  EXPECT_EQ(s.languageLibrary, nullptr);
  char buffer[128];
  EXPECT_EQ(s.LoadText(204, kOwn, buffer, sizeof buffer), 28u);
  EXPECT_STREQ(buffer, "No update path is specified!");
  EXPECT_EQ(s.LoadText(999, kOwn, buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(s.LoadText(204, kOwn, buffer, 6), 5u);  // the buffer's size with the terminator
  EXPECT_STREQ(buffer, "No up");
  char16_t wide[16];
  EXPECT_EQ(s.LoadText(203, kOwn, wide, 16), 6u);
  EXPECT_EQ(std::u16string(wide), u"Error!");
  EXPECT_EQ(s.LoadText(203, kOwnWide, wide, 16), 6u);
  EXPECT_EQ(std::u16string(wide), u"Error!");
}

TEST_F(PalmText, TheLanguageLibraryReplacesTheWholeTable) {
  InstallLanguage();
  PalmSettings s;
  ASSERT_EQ(s.Load(), 0);
  ASSERT_NE(s.languageLibrary, nullptr);
  char buffer[128];
  EXPECT_GT(s.LoadText(204, kOwn, buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "Aucune adresse de mise à jour !");
  // A string the library lacks is absent, not the own table's text.
  EXPECT_EQ(s.LoadText(203, kOwn, buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "");
  char16_t wide[64];
  EXPECT_EQ(s.LoadText(203, kOwn, wide, 64), 0u);
  EXPECT_EQ(s.LoadText(203, kOwnWide, wide, 64), 0u);
  EXPECT_GT(s.LoadText(512, kOwnWide, wide, 64), 0u);
  EXPECT_EQ(std::u16string(wide), u"Mise à jour de l'antivirus pour PalmOS");
}

TEST_F(PalmText, ReloadingFromAnotherDirectoryDropsTheLibrary) {
  InstallLanguage();
  PalmSettings s;
  ASSERT_EQ(s.Load(), 0);
  ASSERT_NE(s.languageLibrary, nullptr);
  StoreText("ZEPPDir", "C:\\Elsewhere");
  ASSERT_EQ(s.Load(), 0);
  EXPECT_EQ(s.languageLibrary, nullptr);
  char buffer[64];
  s.LoadText(203, kOwn, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "Error!");
}

TEST(PalmEntries, AppendCutsLongNamesAndFreeEmptiesTheList) {
  SettingsEntry* list = nullptr;
  EXPECT_EQ(CountEntries(list), 0u);
  AppendEntry(list, "first");
  SettingsEntry* second = AppendEntry(list, std::string(300, 'x'));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(EntryName(*second), std::string(255, 'x'));
  EXPECT_EQ(second->received, 0);
  EXPECT_EQ(list->next, second);
  EXPECT_EQ(CountEntries(list), 2u);
  FreeEntries(list);
  EXPECT_EQ(list, nullptr);
}

}  // namespace
}  // namespace palmsettings
