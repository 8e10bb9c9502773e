// Setdesk's run from load to save, the main dialog's logic and geometry, and texts with and without
// a language library.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "configapp/ControlIds.h"
#include "configapp/DialogGeometry.h"
#include "configapp/HintLine.h"
#include "configapp/SetdeskDialog.h"
#include "configapp/SetdeskRun.h"
#include "configapp/SetdeskStrings.h"
#include "configapp/tests/SetdeskTest.h"
#include "platform/Text.h"

namespace configapp {
namespace {

using palmsettings::PalmSettings;

TEST(DialogGeometry, PagesGoInsideTheTabControlBelowItsTabs) {
  EXPECT_EQ(PageRect({150, 10, 610, 280}, 1, 20), (DialogRect{154, 35, 607, 276}));
  EXPECT_EQ(PageRect({0, 0, 100, 100}, 2, 18), (DialogRect{4, 41, 97, 96}));
  EXPECT_EQ(PageRect({0, 0, 100, 100}, 0, 18), (DialogRect{4, 5, 97, 96}));
}

TEST(DialogGeometry, DialogUnitsRoundToTheNearestPixel) {
  const DialogBaseUnits sansSerif8{6, 13};
  EXPECT_EQ(UnitsToPixels(kMainDialogUnits, sansSerif8), (DialogRect{0, 0, 621, 307}));
  EXPECT_EQ(UnitsToPixelsX(1, sansSerif8), 2);    // 1.5 rounds up
  EXPECT_EQ(UnitsToPixelsX(-1, sansSerif8), -2);  // and away from zero below it
  EXPECT_EQ(UnitsToPixelsY(3, sansSerif8), 5);    // 4.875
  EXPECT_EQ(UnitsToPixelsX(301, {7, 16}), 527);   // 526.75
  // The tab control holds a whole page below its tabs.
  const DialogRect page = PageRect(UnitsToPixels(kTabControlUnits, sansSerif8), 1, 20);
  EXPECT_GE(page.width(), UnitsToPixelsX(kPageUnits.width(), sansSerif8));
  EXPECT_GE(page.height(), UnitsToPixelsY(kPageUnits.height(), sansSerif8));
}

class SetdeskDialogTest : public testing::SetdeskTest {
 protected:
  PalmSettings record_;
  SetdeskDialog dialog_{record_, prompt_};
};

TEST_F(SetdeskDialogTest, OpensOnTheConduitPageAndShowsOnePagePerTab) {
  dialog_.OnInitDialog();
  EXPECT_EQ(dialog_.Caption(), "Updater for PalmOS Configuration  v4.0.0.4");
  EXPECT_EQ(dialog_.CancelText(), "Cancel");
  EXPECT_EQ(dialog_.TabTitle(SetdeskPage::Conduit), "Conduit");
  EXPECT_EQ(dialog_.TabTitle(SetdeskPage::Urls), "URLs");
  EXPECT_EQ(dialog_.TabTitle(SetdeskPage::Paths), "Paths");
  EXPECT_TRUE(dialog_.PageVisible(SetdeskPage::Conduit));
  EXPECT_FALSE(dialog_.PageVisible(SetdeskPage::Urls));
  dialog_.OnSelChange(2);
  EXPECT_FALSE(dialog_.PageVisible(SetdeskPage::Conduit));
  EXPECT_TRUE(dialog_.PageVisible(SetdeskPage::Paths));
  dialog_.OnSelChange(7);
  for (auto page : {SetdeskPage::Conduit, SetdeskPage::Urls, SetdeskPage::Paths})
    EXPECT_FALSE(dialog_.PageVisible(page));
}

TEST_F(SetdeskDialogTest, OkWithADirectoryTooLongStaysOnThePathsPage) {
  dialog_.OnInitDialog();
  dialog_.paths().SetZeppDir(std::string(256, 'z'));
  EXPECT_EQ(dialog_.OnOk(), static_cast<uint32_t>(kIdZeppDir));
  EXPECT_EQ(dialog_.selection(), 2);
  EXPECT_TRUE(dialog_.PageVisible(SetdeskPage::Paths));
  dialog_.paths().SetZeppDir("C:\\ZEPP");
  EXPECT_EQ(dialog_.OnOk(), 0u);
}

TEST_F(SetdeskDialogTest, ClosingStoresEveryPageOnce) {
  dialog_.OnInitDialog();
  dialog_.conduit().SelectRate(0);
  dialog_.urls().SetAddress("http://a/");
  dialog_.urls().OnAdd();
  dialog_.paths().SetDesktopPath("C:\\Palm");
  dialog_.OnDestroy();
  EXPECT_EQ(record_.DaysBetweenUpdate, 1);
  EXPECT_EQ(Names(record_.addressList), std::vector<std::string>{"http://a/"});
  EXPECT_EQ(platform::FieldText(record_.DesktopPath), "C:\\Palm");
  // A second close (the window closing after OK) changes nothing more.
  record_.DaysBetweenUpdate = 3;
  dialog_.OnDestroy();
  EXPECT_EQ(record_.DaysBetweenUpdate, 3);
}

// ScriptedDialog: stands in for the window; `run` sees the record as loaded.
class ScriptedDialog final : public ModalDialog {
 public:
  ScriptedDialog(PalmSettings& record, platform::Prompt& prompt, int answer)
      : record_(record), prompt_(prompt), answer_(answer) {}
  int DoModal() override {
    SetdeskDialog dialog(record_, prompt_);
    dialog.OnInitDialog();
    if (run) run(dialog);
    dialog.OnDestroy();
    ++shown;
    return answer_;
  }
  std::function<void(SetdeskDialog&)> run;
  int shown = 0;

 private:
  PalmSettings& record_;
  platform::Prompt& prompt_;
  int answer_;
};

class SetdeskRunTest : public testing::SetdeskTest {
 protected:
  void StorePalmDesktop(const std::string& path) {
    platform::RegKey key;
    ASSERT_EQ(key.Create(Root(platform::HKEY_CURRENT_USER), palmsettings::kPalmDesktopKey), 0u);
    ASSERT_EQ(key.SetString("DesktopPath", path), 0u);
  }
  PalmSettings record_;
};

TEST_F(SetdeskRunTest, WithoutTheKeyTheDefaultsAreWrittenAndOkKeepsTheFileList) {
  StorePalmDesktop("C:\\Palm Desktop");
  ScriptedDialog dialog(record_, prompt_, platform::IDOK);
  dialog.run = [](SetdeskDialog& d) {
    EXPECT_EQ(d.paths().controls().desktopPath, "C:\\Palm Desktop");
    EXPECT_EQ(d.conduit().controls().seconds, "5");
  };
  EXPECT_EQ(RunSetdesk(record_, dialog, prompt_), kSetdeskDone);
  EXPECT_EQ(dialog.shown, 1);
  EXPECT_EQ(Stored("File1"), "ZEPDB.pdb");
  EXPECT_EQ(Stored("File2"), "ZEPVE.pdb");
  EXPECT_EQ(Stored("File3"), "<missing>");
  EXPECT_EQ(Stored("DesktopPath"), "C:\\Palm Desktop");
  EXPECT_EQ(Stored("UpdateUrl1"), "<missing>");
  EXPECT_EQ(Stored("Language"), "<missing>");
  EXPECT_EQ(Setting("SyncWaitTime"), 5);
  EXPECT_EQ(Setting("DaysBetweenUpdate"), 7);
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(SetdeskRunTest, CancelWritesNothingAfterTheDefaults) {
  ScriptedDialog dialog(record_, prompt_, platform::IDCANCEL);
  dialog.run = [](SetdeskDialog& d) { d.conduit().SelectRate(4); };
  EXPECT_EQ(RunSetdesk(record_, dialog, prompt_), kSetdeskDone);
  // The Palm Desktop's key is missing: the defaults go in without DesktopPath.
  EXPECT_EQ(Setting("DaysBetweenUpdate"), 7);
  EXPECT_EQ(Stored("DesktopPath"), "<missing>");
  EXPECT_EQ(record_.DaysBetweenUpdate, 60);  // the pages stored into the record only
}

TEST_F(SetdeskRunTest, OkSavesTheLoadedRecordWithThePagesValues) {
  StoreText("UpdateUrl1", "http://one/");
  StoreText("UpdateUrl2", "http://two/");
  StoreText("File1", "ZEPDB.pdb");
  ComponentKey().SetDword("DaysBetweenUpdate", 14);
  ComponentKey().SetDword("LastUpdate", 1234);
  ScriptedDialog dialog(record_, prompt_, platform::IDOK);
  dialog.run = [](SetdeskDialog& d) {
    EXPECT_EQ(d.conduit().controls().rateSelection, -1);
    d.urls().Select(0);
    d.urls().OnDelete();
  };
  EXPECT_EQ(RunSetdesk(record_, dialog, prompt_), kSetdeskDone);
  EXPECT_EQ(Stored("UpdateUrl1"), "http://two/");
  EXPECT_EQ(Stored("UpdateUrl2"), "<missing>");
  EXPECT_EQ(Stored("File1"), "ZEPDB.pdb");
  EXPECT_EQ(Setting("DaysBetweenUpdate"), 14);
  EXPECT_EQ(Setting("LastUpdate"), 1234);
}

TEST_F(SetdeskRunTest, NoTasksKeyFollowsTheTasksSubkey) {
  ComponentKey();
  ScriptedDialog dialog(record_, prompt_, platform::IDCANCEL);
  RunSetdesk(record_, dialog, prompt_);
  EXPECT_EQ(record_.NoTasksKey, 1u);
  platform::RegKey tasks;
  ASSERT_EQ(tasks.Create(Root(platform::HKEY_LOCAL_MACHINE), palmsettings::kTasksKey), 0u);
  PalmSettings again;
  ScriptedDialog second(again, prompt_, platform::IDCANCEL);
  RunSetdesk(again, second, prompt_);
  EXPECT_EQ(again.NoTasksKey, 0u);
}

TEST_F(SetdeskRunTest, ASaveThatFailsIsReported) {
  ScriptedDialog dialog(record_, prompt_, platform::IDOK);
  dialog.run = [](SetdeskDialog&) {
    platform::RegKey software;
    ASSERT_EQ(software.Open(Root(platform::HKEY_LOCAL_MACHINE),
                            "SOFTWARE\\QuillmarkLab\\Components", platform::RegAccess::All),
              0u);
    ASSERT_EQ(software.DeleteSubKey("31"), 0u);
  };
  EXPECT_EQ(RunSetdesk(record_, dialog, prompt_), kSetdeskNotSaved);
  EXPECT_EQ(prompt_.last().text, "The settings could not be saved.");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus for Palm OS");
  EXPECT_FALSE(HasComponentKey());
}

class SetdeskTextTest : public testing::SetdeskTest {};

TEST_F(SetdeskTextTest, WithoutTheLanguageLibraryEveryTextIsTheOwnTables) {
  StoreText("ZEPPDir", testing::kZeppDir);
  PalmSettings record;
  ASSERT_EQ(record.Load(), 0);
  EXPECT_EQ(record.languageLibrary, nullptr);
  for (const platform::DesktopString& own : SetdeskStringTable())
    EXPECT_EQ(SetdeskText(record, own.id), own.text) << own.id;
}

TEST_F(SetdeskTextTest, WithTheLanguageLibraryEveryTextIsReplaced) {
  StoreText("ZEPPDir", testing::kZeppDir);
  InstallLanguage();
  PalmSettings record;
  ASSERT_EQ(record.Load(), 0);
  ASSERT_NE(record.languageLibrary, nullptr);
  for (const platform::DesktopString& own : SetdeskStringTable()) {
    const std::string text = SetdeskText(record, own.id);
    EXPECT_EQ(text.substr(0, 4), "L" + std::to_string(own.id)) << own.id;
  }
}

TEST_F(SetdeskTextTest, HintsAreCutAtTheirPagesBuffers) {
  StoreText("ZEPPDir", testing::kZeppDir);
  InstallLanguage();
  PalmSettings record;
  ASSERT_EQ(record.Load(), 0);
  HintLine urls(record, SetdeskPage::Urls);
  urls.OnSetCursor(kIdAddress);
  EXPECT_EQ(urls.text().size(), 255u);
  HintLine paths(record, SetdeskPage::Paths);
  paths.OnSetCursor(kIdZeppDir);
  EXPECT_EQ(paths.text().size(), 127u);
  EXPECT_EQ(paths.text().substr(0, 5), "L354 ");
}

}  // namespace
}  // namespace configapp
