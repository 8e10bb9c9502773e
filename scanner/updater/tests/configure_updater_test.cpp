// The Configure Updater dialog's logic: loading, the list rules, OK and Get Update.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "scanner/updater/ConfigureUpdater.h"
#include "scanner/updater/UpdaterMessages.h"
#include "scanner/updater/tests/DialogDoubles.h"

namespace scanner {
namespace {

using testing::ConfigureView;
using testing::FixedDownload;

class ConfigureUpdaterTest : public testing::UpdaterFixture {
 protected:
  ConfigureUpdater Make(FixedDownload& runner) {
    return ConfigureUpdater(view_, prompt_, runner, [this] { return scanRunning_; });
  }
  std::vector<std::u16string> Stored() {
    UpdaterState updater;
    EXPECT_EQ(LoadUpdaterSettings(updater), 0u);
    std::vector<std::u16string> urls;
    for (int32_t i = 0; i < updater.urlCount; ++i)
      urls.emplace_back(platform::FieldText(updater.urls[i]));
    return urls;
  }

  ConfigureView view_;
  FixedDownload runner_{kDownloadDone};
  bool scanRunning_ = false;
};

TEST_F(ConfigureUpdaterTest, OpeningShowsTheTextsAndTheStoredAddresses) {
  StoreUrls({"http://a/", "http://b"});
  ConfigureUpdater dialog = Make(runner_);
  EXPECT_EQ(dialog.OnInit(), 0u);
  EXPECT_EQ(view_.heading, "Configure Updater");
  EXPECT_EQ(view_.controls,
            (std::vector<std::pair<int, std::string>>{
                {1077, "Get Update"}, {1078, "Remove"}, {1079, "Add"}, {2, "Cancel"}}));
  EXPECT_EQ(view_.list, (std::vector<std::u16string>{u"http://a/", u"http://b/"}));
  EXPECT_EQ(view_.focused, 1);
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(ConfigureUpdaterTest, UnreadableSettingsShowMessage121AndAnEmptyList) {
  StoreUrls({"http://a/"});
  BreakRegistry();
  ConfigureUpdater dialog = Make(runner_);
  EXPECT_NE(dialog.OnInit(), 0u);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Error reading updater's settings from registry!");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus");
  EXPECT_TRUE(view_.list.empty());
}

TEST_F(ConfigureUpdaterTest, SelectingCopiesIntoTheEditAndRemoveDeletesIt) {
  StoreUrls({"http://a/", "http://b/", "http://c/"});
  ConfigureUpdater dialog = Make(runner_);
  dialog.OnInit();
  dialog.OnSelect(1);
  EXPECT_EQ(view_.edit, u"http://b/");
  dialog.OnSelect(7);  // no such entry: nothing
  EXPECT_EQ(view_.edit, u"http://b/");
  dialog.OnRemove(1);
  EXPECT_EQ(view_.list, (std::vector<std::u16string>{u"http://a/", u"http://c/"}));
  EXPECT_EQ(view_.edit, u"");
  view_.edit = u"typed";
  dialog.OnRemove(-1);  // none selected: only the edit is emptied
  EXPECT_EQ(view_.list.size(), 2u);
  EXPECT_EQ(view_.edit, u"");
}

TEST_F(ConfigureUpdaterTest, AddKeepsTheListFreeOfDuplicatesAndAtMostTen) {
  ConfigureUpdater dialog = Make(runner_);
  dialog.OnInit();
  EXPECT_FALSE(dialog.OnAdd(u"   "));
  EXPECT_EQ(prompt_.count(), 0u);
  EXPECT_EQ(view_.edit, u"typed");  // an empty edit does nothing at all

  EXPECT_TRUE(dialog.OnAdd(u" http://Mirror.example/bases "));
  EXPECT_EQ(view_.list, std::vector<std::u16string>{u"http://Mirror.example/bases"});
  EXPECT_EQ(view_.edit, u"");
  for (const char16_t* same : {u"HTTP://MIRROR.EXAMPLE/BASES", u"http://mirror.example/bases/"}) {
    prompt_.Clear();
    EXPECT_FALSE(dialog.OnAdd(same));
    ASSERT_EQ(prompt_.count(), 1u);
    EXPECT_EQ(prompt_.last().text, "Duplicate Url!");
    EXPECT_EQ(prompt_.last().caption, "Error!");
  }

  for (int i = 1; i < 10; ++i) EXPECT_TRUE(dialog.OnAdd(u"http://m" + std::u16string(1, u'0' + i)));
  prompt_.Clear();
  EXPECT_FALSE(dialog.OnAdd(u"http://eleven/"));
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Too many Urls");
  EXPECT_EQ(prompt_.last().caption, "Error!");
  EXPECT_EQ(dialog.urls().size(), 10u);
}

TEST_F(ConfigureUpdaterTest, AddRefusesAnAddressTooLongToBeReadBack) {
  ConfigureUpdater dialog = Make(runner_);
  dialog.OnInit();
  EXPECT_FALSE(dialog.OnAdd(u"http://" + std::u16string(252, u'x')));
  EXPECT_EQ(prompt_.last().text, "Url is too long");
  EXPECT_EQ(prompt_.last().caption, "Error!");
  EXPECT_TRUE(dialog.OnAdd(u"http://" + std::u16string(251, u'x')));
}

TEST_F(ConfigureUpdaterTest, OkSavesTheListAndCloses) {
  StoreUrls({"http://a/", "http://b/", "http://c/", "http://d/"});
  ConfigureUpdater dialog = Make(runner_);
  dialog.OnInit();
  dialog.OnRemove(0);
  dialog.OnRemove(0);
  dialog.OnAdd(u"http://e");
  EXPECT_TRUE(dialog.OnOk());
  EXPECT_EQ(view_.closed, 1);
  EXPECT_EQ(Stored(), (std::vector<std::u16string>{u"http://c/", u"http://d/", u"http://e/"}));
}

TEST_F(ConfigureUpdaterTest, OkThatCannotWriteShowsTheErrorAndStays) {
  ConfigureUpdater dialog = Make(runner_);
  dialog.OnInit();
  dialog.OnAdd(u"http://a/");
  BreakRegistry();
  EXPECT_FALSE(dialog.OnOk());
  EXPECT_EQ(view_.closed, 0);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Error writing settings in registry");
  EXPECT_EQ(prompt_.last().caption, "Error!");
}

TEST_F(ConfigureUpdaterTest, GetUpdateIsRefusedWhileAScanRuns) {
  ConfigureUpdater dialog = Make(runner_);
  dialog.OnInit();
  scanRunning_ = true;
  dialog.OnGetUpdate();
  EXPECT_EQ(runner_.runs, 0);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Scanner is running.Cannot update bases.");
  EXPECT_EQ(prompt_.last().caption, "Error");
}

TEST_F(ConfigureUpdaterTest, GetUpdateSavesTheListAsOpenedThenDownloads) {
  StoreUrls({"http://a", "http://b/"});
  ConfigureUpdater dialog = Make(runner_);
  dialog.OnInit();
  dialog.OnRemove(0);
  dialog.OnAdd(u"http://unsaved/");
  std::vector<std::u16string> storedDuringRun;
  runner_.onRun = [&] { storedDuringRun = Stored(); };
  dialog.OnGetUpdate();
  EXPECT_EQ(runner_.runs, 1);
  EXPECT_EQ(storedDuringRun, (std::vector<std::u16string>{u"http://a/", u"http://b/"}));
  EXPECT_EQ(prompt_.count(), 0u);
  EXPECT_EQ(view_.closed, 0);
}

TEST_F(ConfigureUpdaterTest, GetUpdateThatFailsShowsMessage123) {
  FixedDownload failing(kDownloadBadSignature);
  ConfigureUpdater dialog = Make(failing);
  dialog.OnInit();
  dialog.OnGetUpdate();
  EXPECT_EQ(failing.runs, 1);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Cannot download new anti-virus database.");
}

TEST_F(ConfigureUpdaterTest, GetUpdateThatCannotSaveDoesNotDownload) {
  ConfigureUpdater dialog = Make(runner_);
  dialog.OnInit();
  BreakRegistry();
  dialog.OnGetUpdate();
  EXPECT_EQ(runner_.runs, 0);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Error writing settings in registry");
}

TEST(SameUrl, IgnoresLetterCaseAndTheTrailingSlash) {
  EXPECT_TRUE(SameUrl(u"http://A/b", u"http://a/B/"));
  EXPECT_FALSE(SameUrl(u"http://a/b", u"http://a/bc"));
  EXPECT_FALSE(SameUrl(u"http://a/b/", u"http://a/b\\"));
}

}  // namespace
}  // namespace scanner
