// The Download dialog's logic: texts, timer, Cancel, escape, message 123, and the menu command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scanner/scanrun/Scanner.h"
#include "scanner/updater/DownloadDialog.h"
#include "scanner/updater/tests/DialogDoubles.h"

namespace scanner {
namespace {

using testing::DrivenDownload;
using testing::FixedDownload;
using testing::HttpReply;

class DownloadDialogTest : public testing::UpdaterFixture {
 protected:
  void SetUp() override {
    UpdaterFixture::SetUp();
    Put("device/Bases/ZEPBase.zvb", "old");
  }
  DrivenDownload runner_{prompt_};
};

TEST_F(DownloadDialogTest, SuccessfulDownloadClosesOnTheTickWithoutMessage) {
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase()));
  StoreUrls({server_.Url("/")});
  EXPECT_EQ(RunDownload(runner_, prompt_), kDownloadDone);
  EXPECT_EQ(runner_.view.titles, std::vector<std::string>{"Downloading"});
  EXPECT_EQ(runner_.view.button, "Cancel");
  EXPECT_EQ(runner_.view.timerMs, 500u);
  EXPECT_EQ(runner_.view.closed, 1);
  EXPECT_EQ(prompt_.count(), 0u);
  EXPECT_EQ(Read(Bases()), GoodBase());
  // The view was the status text and the progress bar.
  const std::vector<std::string> bar = runner_.view.bar.calls();
  ASSERT_FALSE(bar.empty());
  EXPECT_EQ(bar.front(), "status " + server_.Url("/"));
  EXPECT_EQ(bar.back(), "pos 0");
}

TEST_F(DownloadDialogTest, FailedDownloadShowsMessage123AfterTheDialog) {
  server_.Serve("/ZEPBase.zvb", HttpReply("<HTML>no</HTML>", 404));
  StoreUrls({server_.Url("/")});
  EXPECT_EQ(RunDownload(runner_, prompt_), kDownloadFailed);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Cannot download new anti-virus database.");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus");
  EXPECT_EQ(prompt_.last().icon, platform::MB_ICONERROR);
  EXPECT_EQ(Read(Bases()), "old");
}

TEST_F(DownloadDialogTest, CancelButtonCancelsAndRetitles) {
  server_.Serve("/a/ZEPBase.zvb", HttpReply("<HTML>busy</HTML>").HeaderDelay(300));
  server_.Serve("/b/ZEPBase.zvb", HttpReply(GoodBase()));
  StoreUrls({server_.Url("/a/"), server_.Url("/b/")});
  runner_.during = [this](DownloadDialog& dialog) {
    ASSERT_TRUE(runner_.view.bar.WaitFor("status " + server_.Url("/a/")));
    dialog.OnCancelButton();
  };
  EXPECT_EQ(RunDownload(runner_, prompt_), kDownloadCancelled);
  EXPECT_EQ(runner_.view.titles, (std::vector<std::string>{"Downloading", "Cancelling..."}));
  EXPECT_EQ(server_.Requests().size(), 1u);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Cannot download new anti-virus database.");
}

TEST_F(DownloadDialogTest, EscapeAbortsAtOnceAndLeavesTheOldBase) {
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase(50 * 1024)).Pieces(1024, 200));
  StoreUrls({server_.Url("/")});
  runner_.during = [this](DownloadDialog& dialog) {
    ASSERT_TRUE(runner_.view.bar.WaitFor("advance 2"));
    dialog.OnEscape();
  };
  EXPECT_EQ(RunDownload(runner_, prompt_), kDownloadCancelled);
  EXPECT_EQ(runner_.view.titles, (std::vector<std::string>{"Downloading", "Cancelling..."}));
  EXPECT_EQ(Read(Bases()), "old");
  EXPECT_TRUE(NoLeftovers());
  EXPECT_EQ(prompt_.last().text, "Cannot download new anti-virus database.");
}

TEST_F(DownloadDialogTest, RunDownloadShowsMessage123ForEveryFailedResult) {
  for (int32_t result :
       {kDownloadNoInternet, kDownloadFailed, kDownloadCancelled, kDownloadBadSignature}) {
    prompt_.Clear();
    FixedDownload fixed(result);
    EXPECT_EQ(RunDownload(fixed, prompt_), result);
    ASSERT_EQ(prompt_.count(), 1u) << result;
    EXPECT_EQ(prompt_.last().text, "Cannot download new anti-virus database.");
  }
}

TEST_F(DownloadDialogTest, MenuCommandIsRefusedWhileAScanRuns) {
  Scanner scanner;
  FixedDownload fixed(kDownloadDone);
  for (uint32_t busy : {kRunning, kPaused, kStopping}) {
    prompt_.Clear();
    scanner.state = busy;
    EXPECT_EQ(UpdateFromMenu(scanner, fixed, prompt_), kWrongState);
    ASSERT_EQ(prompt_.count(), 1u);
    EXPECT_EQ(prompt_.last().text, "Scanner is running.Cannot update database.");
    EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus");
  }
  EXPECT_EQ(fixed.runs, 0);

  prompt_.Clear();
  scanner.state = kIdle;
  EXPECT_EQ(UpdateFromMenu(scanner, fixed, prompt_), kDownloadDone);
  EXPECT_EQ(fixed.runs, 1);
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(DownloadDialogTest, ClosingTheModelDuringADownloadEndsIt) {
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase()).HeaderDelay(60000));
  StoreUrls({server_.Url("/")});
  UpdaterState updater;
  testing::DownloadView view;
  {
    DownloadDialog dialog(updater, view);
    dialog.OnInit();
    ASSERT_TRUE(view.bar.WaitFor("advance 2"));
  }
  EXPECT_EQ(updater.state, kUpdaterIdle);
  EXPECT_EQ(updater.statusWindow, nullptr);
  EXPECT_EQ(updater.progressWindow, nullptr);
  EXPECT_TRUE(NoLeftovers());
}

}  // namespace
}  // namespace scanner
