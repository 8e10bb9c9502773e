// The interactive run without a window: texts, the watch thread's end of a run, Cancel, the closing
// message.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/ScriptedPrompt.h"
#include "update/app/HeadlessFrontEnd.h"
#include "update/app/UpdateApp.h"
#include "update/tests/UpdateTest.h"

namespace update {
namespace {

using namespace std::chrono_literals;
using platform::testing::HttpReply;

constexpr int64_t kNow = 1700000000;
constexpr char kIncomplete[] =
    "Not all of update files were succesfuly received.\nCheck your \"LastUpdate\\Download\" "
    "folder.";

class UpdateDialogTest : public testing::UpdateTest {
 protected:
  UpdateOptions Options(uint32_t limitMs = 20000) {
    UpdateOptions o;
    o.fetchLimitMs = limitMs;
    o.now = [] { return kNow; };
    o.limits = {2000, 2000};
    return o;
  }
  int Run(const UpdateOptions& options) {
    HeadlessFrontEnd frontEnd(prompt_);
    frontEnd.onOpen = onOpen_;
    return RunUpdate("", frontEnd, options);
  }
  void SlowFile(const std::string& path) {
    HttpReply slow(Body(64 * 1024));
    slow.Pieces(1024, 50);
    server_.Serve(path, slow);
  }

  platform::ScriptedPrompt prompt_;
  std::function<void(UpdateDialog&, TextDialogView&)> onOpen_;
};

TEST_F(UpdateDialogTest, NoAddressShowsOnlyMessage204AndWritesNothing) {
  Configure({}, {"ZEPDB.pdb"});
  EXPECT_EQ(Run(Options()), kExitNoAddress);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "No update path is specified!");
  EXPECT_EQ(prompt_.last().caption, "Quillmark AV for PalmOS - Get Update");
  EXPECT_EQ(prompt_.last().icon, platform::MB_ICONERROR);
  EXPECT_FALSE(StoredLastUpdate().has_value());
  EXPECT_FALSE(Exists(Host("ZEPP/LastUpdate")));
}

TEST_F(UpdateDialogTest, WithoutSettingsTheDefaultsHaveNoAddress) {
  EXPECT_EQ(Run(Options()), kExitNoAddress);
  EXPECT_EQ(prompt_.count(), 1u);
  EXPECT_FALSE(StoredLastUpdate().has_value());
}

TEST_F(UpdateDialogTest, ACompleteRunStoresLastUpdatePromotesAndSaysNothing) {
  server_.Serve("/u/ZEPDB.pdb", HttpReply(Body(3000)));
  server_.Serve("/u/ZEPVE.pdb", HttpReply(Body(10, 'z')));
  Configure({server_.Url("/u")}, {"ZEPDB.pdb", "ZEPVE.pdb"});
  std::string caption, cancel;
  onOpen_ = [&](UpdateDialog&, TextDialogView& view) {
    caption = view.caption();
    cancel = view.cancelText();
  };
  EXPECT_EQ(Run(Options()), kExitComplete);
  EXPECT_EQ(caption, "Quillmark AV for PalmOS - Get Update");
  EXPECT_EQ(cancel, "Cancel");
  EXPECT_EQ(prompt_.count(), 0u);
  EXPECT_EQ(StoredLastUpdate(), static_cast<uint32_t>(kNow));
  EXPECT_EQ(Read(Current("ZEPDB.pdb")), Body(3000));
  EXPECT_EQ(Read(Current("ZEPVE.pdb")), Body(10, 'z'));
  EXPECT_FALSE(Exists(Staged("ZEPDB.pdb")));
}

TEST_F(UpdateDialogTest, AnIncompleteSetIsReportedOnceAndStaysInDownload) {
  server_.Serve("/u/ZEPDB.pdb", HttpReply(Body(100)));
  Configure({server_.Url("/u")}, {"ZEPDB.pdb", "ZEPVE.pdb"});
  home_.Write("drive_c/ZEPP/LastUpdate/ZEPDB.pdb", "current");
  EXPECT_EQ(Run(Options()), kExitIncomplete);
  ASSERT_EQ(prompt_.count(), 1u) << "message 202 and no closing message after it";
  EXPECT_EQ(prompt_.last().text, kIncomplete);
  EXPECT_EQ(prompt_.last().caption, "Error!");
  EXPECT_EQ(prompt_.last().icon, platform::MB_ICONERROR);
  EXPECT_EQ(StoredLastUpdate(), static_cast<uint32_t>(kNow));
  EXPECT_EQ(Read(Current("ZEPDB.pdb")), "current");
  EXPECT_EQ(Read(Staged("ZEPDB.pdb")), Body(100));
}

TEST_F(UpdateDialogTest, ARunOverTheLimitStopsTheFetchStoresLastUpdateAndCloses) {
  SlowFile("/s/ZEPDB.pdb");
  Configure({server_.Url("/s")}, {"ZEPDB.pdb"});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Run(Options(300)), kExitIncomplete);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms);
  EXPECT_EQ(StoredLastUpdate(), static_cast<uint32_t>(kNow));
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().caption, "Error!");
  EXPECT_FALSE(Exists(Staged("ZEPDB.pdb.tmp")));
  EXPECT_FALSE(Exists(Staged("ZEPDB.pdb")));
}

TEST_F(UpdateDialogTest, CancelEndsBothThreadsAndWritesNothing) {
  SlowFile("/s/ZEPDB.pdb");
  Configure({server_.Url("/s")}, {"ZEPDB.pdb"});
  bool cancelled = false;
  onOpen_ = [&](UpdateDialog& dialog, TextDialogView&) {
    while (!Exists(Staged("ZEPDB.pdb.tmp"))) std::this_thread::sleep_for(5ms);
    cancelled = dialog.Cancel();
    EXPECT_FALSE(dialog.Cancel()) << "a second Cancel finds the run over";
  };
  EXPECT_EQ(Run(Options()), kExitIncomplete);
  EXPECT_TRUE(cancelled);
  EXPECT_FALSE(StoredLastUpdate().has_value());
  EXPECT_FALSE(Exists(Staged("ZEPDB.pdb.tmp")));
  ASSERT_EQ(prompt_.count(), 1u) << "only the closing message";
  EXPECT_EQ(prompt_.last().text, "Not all of update files were succesfuly received.");
  EXPECT_EQ(prompt_.last().caption, "Error");
}

TEST_F(UpdateDialogTest, PauseHoldsTheFetchUntilResume) {
  SlowFile("/u/ZEPDB.pdb");
  Configure({server_.Url("/u")}, {"ZEPDB.pdb"});
  UpdateDialog dialog(record_, prompt_, Options());
  TextDialogView view;
  dialog.Pause();  // before the threads exist: nothing to hold
  ASSERT_EQ(dialog.Open(view), 0);
  dialog.Pause();
  std::this_thread::sleep_for(300ms);
  // Held before one of its reads, the fetch has not placed its file.
  EXPECT_FALSE(view.closed().has_value());
  EXPECT_FALSE(Exists(Current("ZEPDB.pdb")));
  dialog.Resume();
  EXPECT_EQ(view.WaitClosed(), DialogResult::Ok);
  EXPECT_EQ(dialog.Finish(), RunOutcome::Complete);
  EXPECT_EQ(Read(Current("ZEPDB.pdb")), Body(64 * 1024));
  EXPECT_EQ(record_.progressWindow, nullptr);
}

}  // namespace
}  // namespace update
