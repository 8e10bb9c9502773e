// The progress dialog's logic: the address check, the install pass, and the fetch with its
// watcher, time limit and Cancel, against a local HTTP server.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "conduit/dialogs/UpdateProgressDialog.h"
#include "conduit/tests/RecordingProgressView.h"
#include "palmsettings/tests/SettingsTest.h"
#include "platform/ScriptedPrompt.h"
#include "platform/Text.h"
#include "platform/testing/HttpTestServer.h"

namespace conduit {
namespace {

using platform::testing::HttpReply;
using testing::RecordingProgressView;
using D = UpdateProgressDialog;

class ProgressDialogTest : public palmsettings::testing::SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    home_.MakeFolder("drive_c/ZEPP");
    platform::CopyToField(record_.ZEPPDir, "C:\\ZEPP");
    palmsettings::FormUpdateFolder("C:\\ZEPP", record_.UpdateFolder);
    palmsettings::AppendEntry(record_.fileList, "ZEPDB.pdb");
    palmsettings::AppendEntry(record_.fileList, "ZEPVE.pdb");
  }
  void AddAddress(const std::string& address) {
    palmsettings::AppendEntry(record_.addressList, address);
  }
  ProgressOptions Options(uint32_t limitMs = 60000) { return {limitMs, {2000, 2000}}; }

  palmsettings::PalmSettings record_;
  platform::ScriptedPrompt prompt_;
  platform::testing::HttpTestServer server_;
};

TEST_F(ProgressDialogTest, WithoutAnAddressNeitherModeOpens) {
  for (int32_t mode : {D::kModeInstall, D::kModeFetch}) {
    prompt_.Clear();
    bool ran = false;
    D dialog(record_, prompt_, mode, [&](auto&, auto&) {
      ran = true;
      return 0;
    });
    RecordingProgressView view;
    EXPECT_EQ(dialog.Open(view), D::kNoAddress);
    ASSERT_EQ(prompt_.count(), 1u);
    EXPECT_EQ(prompt_.last().text, "No update path is specified!");
    EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus for PalmOS Updater");
    EXPECT_EQ(prompt_.last().icon, platform::MB_ICONERROR);
    EXPECT_FALSE(ran);
  }
}

TEST_F(ProgressDialogTest, InstallModeRunsThePassAtOnceAndCloses) {
  AddAddress("http://127.0.0.1:1/");
  D dialog(record_, prompt_, D::kModeInstall,
           [](palmsettings::ProgressWindow& bar, palmsettings::StatusWindow& text) {
             text.SetText("pass");
             bar.SetRange(0, 3);
             bar.StepIt();
             return -2;
           });
  RecordingProgressView view;
  ASSERT_EQ(dialog.Open(view), 0);
  dialog.OnInitDialog();
  EXPECT_EQ(view.closes(), 1);
  EXPECT_EQ(view.texts(), std::vector<std::string>{"pass"});
  EXPECT_EQ(view.range(), "0-3");
  EXPECT_EQ(view.steps(), 1);
  EXPECT_EQ(dialog.installResult(), -2);
  // An install pass never lends the windows to the record.
  EXPECT_EQ(record_.progressWindow, nullptr);
  EXPECT_TRUE(dialog.ThreadsEnded());
}

TEST_F(ProgressDialogTest, AnotherModeClosesAtOnce) {
  AddAddress("http://127.0.0.1:1/");
  D dialog(record_, prompt_, 7);
  RecordingProgressView view;
  ASSERT_EQ(dialog.Open(view), 0);
  dialog.OnInitDialog();
  EXPECT_EQ(view.closes(), 1);
}

TEST_F(ProgressDialogTest, FetchModeFetchesEveryFileAndClosesWhenDone) {
  server_.Serve("/base/ZEPDB.pdb", HttpReply(std::string(3000, 'd')));
  server_.Serve("/base/ZEPVE.pdb", HttpReply(std::string(10, 'v')));
  AddAddress(server_.Url("/base"));
  D dialog(record_, prompt_, D::kModeFetch, {}, Options());
  RecordingProgressView view;
  ASSERT_EQ(dialog.Open(view), 0);
  dialog.OnInitDialog();
  EXPECT_EQ(record_.progressWindow, &view.progressBar());
  view.WaitClosed();
  dialog.Finish();

  EXPECT_EQ(view.texts(), std::vector<std::string>{server_.Url("/base")});
  EXPECT_EQ(record_.fileList->received, 1);
  EXPECT_EQ(record_.fileList->next->received, 1);
  EXPECT_EQ(record_.progressWindow, nullptr);
  EXPECT_EQ(record_.statusWindow, nullptr);
  EXPECT_FALSE(dialog.cancelled());
  EXPECT_EQ(record_.PromoteDownloads(), 1);
  EXPECT_TRUE(Exists(Host("ZEPP/LastUpdate/ZEPDB.pdb")));
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(ProgressDialogTest, AtTheTimeLimitTheDialogClosesAndTheFetchIsStopped) {
  // The first file's server stays silent far longer than the dialog waits.
  server_.Serve("/slow/ZEPDB.pdb", HttpReply("late").HeaderDelay(30000));
  AddAddress(server_.Url("/slow"));
  D dialog(record_, prompt_, D::kModeFetch, {}, {200, {60000, 60000}});
  RecordingProgressView view;
  ASSERT_EQ(dialog.Open(view), 0);
  dialog.OnInitDialog();
  view.WaitClosed();
  // The watcher stopped the fetch when it closed the dialog: both threads
  // end long before the server would have answered.
  for (int i = 0; i < 1000 && !dialog.ThreadsEnded(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(dialog.ThreadsEnded());
  dialog.Finish();
  EXPECT_EQ(record_.fileList->received, 0);
  EXPECT_EQ(record_.PromoteDownloads(), 0);
  EXPECT_FALSE(Exists(Host("ZEPP/LastUpdate/Download/ZEPDB.pdb.tmp")));
}

TEST_F(ProgressDialogTest, CancelStopsTheFetchAndClosesOnce) {
  server_.Serve("/slow/ZEPDB.pdb", HttpReply("late").HeaderDelay(30000));
  AddAddress(server_.Url("/slow"));
  D dialog(record_, prompt_, D::kModeFetch, {}, {60000, {60000, 60000}});
  RecordingProgressView view;
  ASSERT_EQ(dialog.Open(view), 0);
  dialog.OnInitDialog();
  dialog.OnCancel();
  dialog.OnCancel();  // a second press finds nothing left to stop
  view.WaitClosed();
  dialog.Finish();
  EXPECT_TRUE(dialog.cancelled());
  EXPECT_EQ(view.closes(), 1);
  EXPECT_EQ(record_.fileList->received, 0);
}

}  // namespace
}  // namespace conduit
