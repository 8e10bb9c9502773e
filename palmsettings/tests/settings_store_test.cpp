// The settings record over its registry key: defaults, Load, Save, CreateDefaults, Tasks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "palmsettings/PalmSettings.h"
#include "palmsettings/tests/SettingsTest.h"
#include "platform/Text.h"

namespace palmsettings {
namespace {

using platform::FieldText;
using PalmStore = testing::SettingsTest;

constexpr char kDefaultUpdateFolder[] =
    "C:\\Program Files\\Quillmark Lab\\ZEPP for PalmOS\\LastUpdate";

TEST_F(PalmStore, NewRecordHoldsTheDefaults) {
  PalmSettings s;
  EXPECT_EQ(s.SyncWaitTime, 5);
  EXPECT_EQ(s.SyncShowDlg, 1u);
  EXPECT_EQ(s.DefaultAction, 2u);
  EXPECT_EQ(s.DaysBetweenUpdate, 7);
  EXPECT_EQ(s.LastUpdate, 0);
  EXPECT_EQ(s.Language, 9u);
  EXPECT_EQ(FieldText(s.DesktopPath), "C:\\Program Files\\Palm");
  EXPECT_EQ(FieldText(s.ZEPPDir), "C:\\Program Files\\Quillmark Lab\\ZEPP for PalmOS");
  EXPECT_EQ(FieldText(s.UpdateFolder), kDefaultUpdateFolder);
  EXPECT_EQ(s.NoTasksKey, 1u);
  EXPECT_EQ(s.addressList, nullptr);
  EXPECT_EQ(s.fileList, nullptr);
  EXPECT_EQ(s.languageLibrary, nullptr);
  EXPECT_EQ(s.progressWindow, nullptr);
  EXPECT_EQ(s.statusWindow, nullptr);
}

TEST_F(PalmStore, WithoutTheComponentKeyLoadAndSaveFailAndChangeNothing) {
  PalmSettings s;
  s.SyncWaitTime = 30;
  AppendEntry(s.addressList, "http://a.example/");
  EXPECT_EQ(s.Load(), -1);
  EXPECT_EQ(s.SyncWaitTime, 30);
  EXPECT_EQ(Names(s.addressList), std::vector<std::string>{"http://a.example/"});
  EXPECT_EQ(s.Save(), -1);
  EXPECT_FALSE(HasComponentKey());
  EXPECT_FALSE(s.OpenComponentKey().isOpen());
}

TEST_F(PalmStore, CreateDefaultsWritesExactlyTheListedValues) {
  platform::RegKey palm;
  ASSERT_EQ(palm.Create(Root(platform::HKEY_CURRENT_USER), kPalmDesktopKey), 0u);
  ASSERT_EQ(palm.SetString("DesktopPath", "C:\\Palm Desktop"), 0u);  // stored with terminator
  PalmSettings s;
  s.SyncWaitTime = 12;  // the record's numbers are written, its ZEPPDir is not
  platform::CopyToField(s.ZEPPDir, "C:\\Elsewhere");
  ASSERT_EQ(s.Load(), -1);
  EXPECT_EQ(s.CreateDefaults(), 0);

  std::vector<std::string> names = ValueNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"DaysBetweenUpdate", "DefaultAction", "DesktopPath",
                                             "File1", "File2", "LastUpdate", "SyncShowDlg",
                                             "SyncWaitTime", "ZEPPDir"}));
  EXPECT_EQ(Stored("SyncWaitTime"), std::string("\x0c\0\0\0", 4));
  EXPECT_EQ(Stored("SyncShowDlg"), std::string("\x01\0\0\0", 4));
  EXPECT_EQ(Stored("DaysBetweenUpdate"), std::string("\x07\0\0\0", 4));
  EXPECT_EQ(Stored("DefaultAction"), std::string("\x02\0\0\0", 4));
  EXPECT_EQ(Stored("LastUpdate"), std::string("\0\0\0\0", 4));
  // Texts go without their terminator.
  EXPECT_EQ(Stored("ZEPPDir"), "C:\\Program Files\\Quillmark Lab\\ZEPP for PalmOS");
  EXPECT_EQ(Stored("File1"), "ZEPDB.pdb");
  EXPECT_EQ(Stored("File2"), "ZEPVE.pdb");
  EXPECT_EQ(Stored("DesktopPath"), "C:\\Palm Desktop");
  platform::RegValue value;
  ASSERT_EQ(ComponentKey().QueryValue("SyncWaitTime", &value), 0u);
  EXPECT_EQ(value.type, platform::REG_DWORD);
  ASSERT_EQ(ComponentKey().QueryValue("File1", &value), 0u);
  EXPECT_EQ(value.type, platform::REG_SZ);

  EXPECT_EQ(FieldText(s.DesktopPath), "C:\\Palm Desktop");
  EXPECT_EQ(FieldText(s.ZEPPDir), "C:\\Elsewhere");
  EXPECT_EQ(s.fileList, nullptr);  // the record's lists stay as they were
  EXPECT_EQ(s.addressList, nullptr);
}

TEST_F(PalmStore, CreateDefaultsWithoutPalmDesktopKeyStoresNoDesktopPath) {
  PalmSettings s;
  EXPECT_EQ(s.CreateDefaults(), -1);
  EXPECT_TRUE(HasComponentKey());
  EXPECT_EQ(Stored("DesktopPath"), "<missing>");
  EXPECT_EQ(Stored("File2"), "ZEPVE.pdb");
  EXPECT_EQ(FieldText(s.DesktopPath), "C:\\Program Files\\Palm");
  // The key is closed again: a later Load opens it and reads the defaults.
  EXPECT_EQ(s.Load(), 0);
  EXPECT_EQ(Names(s.fileList), (std::vector<std::string>{"ZEPDB.pdb", "ZEPVE.pdb"}));
}

TEST_F(PalmStore, SaveFromTheRecordThatCreatedTheDefaultsRemovesTheDefaultFiles) {
  PalmSettings s;
  ASSERT_EQ(s.CreateDefaults(), -1);
  ASSERT_EQ(s.Save(), 0);  // its file list is still empty
  EXPECT_EQ(Stored("File1"), "<missing>");
  EXPECT_EQ(Stored("File2"), "<missing>");
}

TEST_F(PalmStore, LoadReadsEveryValueAndMissingOnesKeepTheirFields) {
  ComponentKey().SetDword("SyncWaitTime", 20);
  ComponentKey().SetDword("DaysBetweenUpdate", 0xFFFFFFFF);
  ComponentKey().SetDword("LastUpdate", 1700000000);
  ComponentKey().SetString("DefaultAction", "1");  // not a number: the field stays
  StoreText("ZEPPDir", "C:\\ZEPP", true);
  PalmSettings s;
  s.SyncShowDlg = 0;
  ASSERT_EQ(s.Load(), 0);
  EXPECT_EQ(s.SyncWaitTime, 20);
  EXPECT_EQ(s.SyncShowDlg, 0u);
  EXPECT_EQ(s.DefaultAction, 2u);
  EXPECT_EQ(s.DaysBetweenUpdate, -1);
  EXPECT_EQ(s.LastUpdate, 1700000000);
  EXPECT_EQ(FieldText(s.DesktopPath), "C:\\Program Files\\Palm");
  EXPECT_EQ(FieldText(s.ZEPPDir), "C:\\ZEPP");
  EXPECT_EQ(FieldText(s.UpdateFolder), "C:\\ZEPP\\LastUpdate");
}

TEST_F(PalmStore, ListsStopAtTheFirstGapAndSaveRenumbersThem) {
  StoreText("UpdateUrl1", "http://one.example/", true);
  StoreText("UpdateUrl2", "http://two.example/");
  StoreText("UpdateUrl4", "http://four.example/");
  StoreText("File1", "ZEPDB.pdb");
  PalmSettings s;
  ASSERT_EQ(s.Load(), 0);
  EXPECT_EQ(Names(s.addressList),
            (std::vector<std::string>{"http://one.example/", "http://two.example/"}));
  EXPECT_EQ(s.addressList->received, 0);
  EXPECT_EQ(Names(s.fileList), std::vector<std::string>{"ZEPDB.pdb"});

  ASSERT_EQ(s.Save(), 0);
  EXPECT_EQ(Stored("UpdateUrl1"), "http://one.example/");  // rewritten without terminator
  EXPECT_EQ(Stored("UpdateUrl2"), "http://two.example/");
  EXPECT_EQ(Stored("UpdateUrl3"), "<missing>");
  EXPECT_EQ(Stored("UpdateUrl4"), "http://four.example/");  // beyond the gap: untouched
  EXPECT_EQ(Stored("File1"), "ZEPDB.pdb");
}

TEST_F(PalmStore, SavingAnEmptiedOrShortenedListLeavesNoStaleNumbers) {
  for (const char* n : {"1", "2", "3"}) StoreText(std::string("UpdateUrl") + n, n);
  for (const char* n : {"1", "2", "3"}) StoreText(std::string("File") + n, n);
  PalmSettings s;
  ASSERT_EQ(s.Load(), 0);
  FreeEntries(s.addressList);
  FreeEntries(s.fileList);
  AppendEntry(s.fileList, "only.pdb");
  ASSERT_EQ(s.Save(), 0);
  for (const char* n : {"1", "2", "3"})
    EXPECT_EQ(Stored(std::string("UpdateUrl") + n), "<missing>");
  EXPECT_EQ(Stored("File1"), "only.pdb");
  EXPECT_EQ(Stored("File2"), "<missing>");
  EXPECT_EQ(Stored("File3"), "<missing>");
}

TEST_F(PalmStore, SaveWritesTheRecordAndAReloadGivesItBack) {
  ComponentKey();
  PalmSettings s;
  s.SyncWaitTime = 9;
  s.SyncShowDlg = 0;
  s.DefaultAction = 1;
  s.DaysBetweenUpdate = 14;
  s.LastUpdate = 1234567;
  platform::CopyToField(s.ZEPPDir, "C:\\Z");
  platform::CopyToField(s.DesktopPath, "");
  AppendEntry(s.addressList, "http://a/")->received = 1;  // marks are not stored
  AppendEntry(s.addressList, "http://b/");
  ASSERT_EQ(s.Save(), 0);
  EXPECT_EQ(Stored("DesktopPath"), "");
  EXPECT_EQ(Stored("ZEPPDir"), "C:\\Z");

  PalmSettings t;
  ASSERT_EQ(t.Load(), 0);
  EXPECT_EQ(t.SyncWaitTime, 9);
  EXPECT_EQ(t.SyncShowDlg, 0u);
  EXPECT_EQ(t.DefaultAction, 1u);
  EXPECT_EQ(t.DaysBetweenUpdate, 14);
  EXPECT_EQ(t.LastUpdate, 1234567);
  EXPECT_EQ(FieldText(t.DesktopPath), "");
  EXPECT_EQ(FieldText(t.UpdateFolder), "C:\\Z\\LastUpdate");
  EXPECT_EQ(Names(t.addressList), (std::vector<std::string>{"http://a/", "http://b/"}));
  EXPECT_EQ(t.addressList->received, 0);
}

TEST_F(PalmStore, LanguageIsReadButNeverWritten) {
  ComponentKey();
  PalmSettings s;
  s.Language = 3;
  ASSERT_EQ(s.Load(), 0);
  EXPECT_EQ(s.Language, 9u);  // absent: 9, whatever the record held
  ASSERT_EQ(s.Save(), 0);
  EXPECT_EQ(Stored("Language"), "<missing>");

  ComponentKey().SetDword("Language", 25);
  ASSERT_EQ(s.Load(), 0);
  EXPECT_EQ(s.Language, 25u);
  s.Language = 7;
  ASSERT_EQ(s.Save(), 0);
  EXPECT_EQ(Stored("Language"), std::string("\x19\0\0\0", 4));
}

TEST_F(PalmStore, TextsOfTheFieldSizeLoadWholeAndLongerOnesAreCut) {
  const std::string full(255, 'u');
  StoreText("UpdateUrl1", full);
  StoreText("UpdateUrl2", full, true);
  StoreText("UpdateUrl3", std::string(300, 'v'));  // longer than any field
  StoreText("UpdateUrl4", "after");
  StoreText("DesktopPath", std::string(254, 'd') + "é");  // 256 bytes: the last letter goes whole
  StoreText("ZEPPDir", std::string(255, 'z'));
  PalmSettings s;
  ASSERT_EQ(s.Load(), 0);
  EXPECT_EQ(Names(s.addressList),
            (std::vector<std::string>{full, full, std::string(255, 'v'), "after"}));
  EXPECT_EQ(FieldText(s.DesktopPath), std::string(254, 'd'));
  EXPECT_EQ(FieldText(s.ZEPPDir), std::string(255, 'z'));
  // ZEPPDir\LastUpdate no longer fits: no update folder rather than a cut one.
  EXPECT_EQ(FieldText(s.UpdateFolder), "");
}

TEST_F(PalmStore, ANonTextListValueDoesNotEndTheList) {
  StoreText("UpdateUrl1", "http://a/");
  ComponentKey().SetDword("UpdateUrl2", 5);
  StoreText("UpdateUrl3", "http://c/");
  PalmSettings s;
  ASSERT_EQ(s.Load(), 0);
  EXPECT_EQ(Names(s.addressList), (std::vector<std::string>{"http://a/", "http://c/"}));
  ASSERT_EQ(s.Save(), 0);  // the later address survives, renumbered
  EXPECT_EQ(Stored("UpdateUrl2"), "http://c/");
  EXPECT_EQ(Stored("UpdateUrl3"), "<missing>");
}

TEST_F(PalmStore, LoadReplacesTheListsOfARecordThatHoldsEntries) {
  StoreText("UpdateUrl1", "http://a/");
  StoreText("File1", "ZEPDB.pdb");
  PalmSettings s;
  AppendEntry(s.addressList, "http://stale/");
  ASSERT_EQ(s.Load(), 0);
  ASSERT_EQ(s.Load(), 0);
  EXPECT_EQ(Names(s.addressList), std::vector<std::string>{"http://a/"});
  EXPECT_EQ(Names(s.fileList), std::vector<std::string>{"ZEPDB.pdb"});
}

TEST_F(PalmStore, TheTasksSubkeyDecidesNoTasksKey) {
  ComponentKey();
  PalmSettings s;
  EXPECT_EQ(s.HasTasksKey(), 0);
  ASSERT_EQ(s.Load(), 0);
  EXPECT_EQ(s.NoTasksKey, 1u);
  platform::RegKey tasks;
  ASSERT_EQ(tasks.Create(Root(platform::HKEY_LOCAL_MACHINE), kTasksKey), 0u);
  EXPECT_EQ(s.HasTasksKey(), 1);
  ASSERT_EQ(s.Load(), 0);
  EXPECT_EQ(s.NoTasksKey, 0u);
  ASSERT_EQ(s.Save(), 0);  // never created or deleted here
  EXPECT_EQ(s.HasTasksKey(), 1);
}

TEST_F(PalmStore, OpenComponentKeyHandsAWritableKeyToTheCaller) {
  ComponentKey();
  PalmSettings s;
  {
    platform::RegKey key = s.OpenComponentKey();
    ASSERT_TRUE(key.isOpen());
    EXPECT_EQ(key.SetDword("LastUpdate", 99), 0u);
  }
  ASSERT_EQ(s.Load(), 0);
  EXPECT_EQ(s.LastUpdate, 99);
}

}  // namespace
}  // namespace palmsettings
