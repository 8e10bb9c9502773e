// The download worker against a real HTTP server: addresses in turn, checks, replacement, cancel,
// abort.
#include "scanner/updater/Download.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "scanner/updater/DownloadOne.h"
#include "scanner/updater/tests/UpdaterFixture.h"

namespace scanner {
namespace {

namespace fs = std::filesystem;
using testing::HttpReply;

class Download : public testing::UpdaterFixture {
 protected:
  void SetUp() override {
    UpdaterFixture::SetUp();
    Put("device/Bases/ZEPBase.zvb", kOldBase);
  }

  // Paths: the request paths the server saw, in order.
  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const auto& r : server_.Requests()) paths.push_back(r.path);
    return paths;
  }

  static constexpr char kOldBase[] = "the old base";
};

TEST_F(Download, PageAndBadSignatureAreSkippedAndTheThirdAddressIsUsed) {
  server_.Serve("/a/ZEPBase.zvb",
                HttpReply("<HTML><BODY>Moved</BODY></HTML>").ContentType("text/html"));
  server_.Serve("/b/ZEPBase.zvb", HttpReply(BadBase()));
  server_.Serve("/c/ZEPBase.zvb", HttpReply(GoodBase()));
  StoreUrls({server_.Url("/a/"), server_.Url("/b/"), server_.Url("/c/")});
  UpdaterState updater;
  Prepare(updater);
  RunToEnd(updater);

  EXPECT_EQ(updater.result, kDownloadDone);
  EXPECT_EQ(Paths(),
            (std::vector<std::string>{"/a/ZEPBase.zvb", "/b/ZEPBase.zvb", "/c/ZEPBase.zvb"}));
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Signature INVALID");
  EXPECT_EQ(prompt_.last().caption, "GetUpdate");
  EXPECT_EQ(prompt_.last().icon, platform::MB_ICONERROR);
  EXPECT_EQ(Read(Bases()), GoodBase());
  EXPECT_TRUE(NoLeftovers());
  for (const auto& r : server_.Requests()) {
    EXPECT_EQ(r.Header("User-Agent"), "ZEP for PocketPC");
    EXPECT_EQ(r.Header("Cache-Control"), "no-cache");
  }
}

TEST_F(Download, AddressWithoutSlashGetsOneAndFileNamesRequestAndTarget) {
  server_.Serve("/bases/Fresh.zvb", HttpReply(GoodBase()));
  StoreUrls({server_.Url("/bases")});
  StoreUpdaterText(kFileValue, u"Fresh.zvb");
  UpdaterState updater;
  Prepare(updater);
  EXPECT_EQ(platform::FieldText(updater.urls[0]), platform::Utf8ToUtf16(server_.Url("/bases/")));
  RunToEnd(updater);

  EXPECT_EQ(updater.result, kDownloadDone);
  EXPECT_EQ(Paths(), std::vector<std::string>{"/bases/Fresh.zvb"});
  EXPECT_EQ(Read(Bases("Fresh.zvb")), GoodBase());
  EXPECT_EQ(Read(Bases()), kOldBase);
}

TEST_F(Download, BaseOfExactlyTwoPiecesIsTakenWhole) {
  const std::string base = GoodBase(2048);
  ASSERT_EQ(base.size(), 2048u);
  server_.Serve("/ZEPBase.zvb", HttpReply(base));
  StoreUrls({server_.Url("/")});
  UpdaterState updater;
  Prepare(updater);
  RunToEnd(updater);
  EXPECT_EQ(updater.result, kDownloadDone);
  EXPECT_EQ(Read(Bases()), base);
}

TEST_F(Download, CancelBeforeTheFirstAddressEndsWithCancelledAndNoRequest) {
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase()));
  StoreUrls({server_.Url("/")});
  UpdaterState updater;
  Prepare(updater);
  // As CancelDownload leaves it, before the worker reaches its first wait.
  updater.state = kUpdaterCancelling;
  updater.cancelEvent.Reset();
  DownloadWorker(updater);
  EXPECT_EQ(updater.result, kDownloadCancelled);
  EXPECT_EQ(updater.state, kUpdaterIdle);
  EXPECT_TRUE(server_.Requests().empty());
  EXPECT_EQ(Read(Bases()), kOldBase);
}

TEST_F(Download, CancelLetsTheAttemptFinishAndStopsBeforeTheNextAddress) {
  server_.Serve("/slow/ZEPBase.zvb", HttpReply("<HTML>busy</HTML>").HeaderDelay(300));
  server_.Serve("/next/ZEPBase.zvb", HttpReply(GoodBase()));
  StoreUrls({server_.Url("/slow/"), server_.Url("/next/")});
  UpdaterState updater;
  Prepare(updater);
  ASSERT_EQ(StartDownload(updater), 0);
  ASSERT_TRUE(recorder_.WaitFor("status " + server_.Url("/slow/")));
  EXPECT_EQ(CancelDownload(updater), 0);
  EXPECT_EQ(updater.state, kUpdaterCancelling);
  EXPECT_EQ(CancelDownload(updater), kWrongState);
  WaitIdle(updater);
  EXPECT_EQ(updater.result, kDownloadCancelled);
  EXPECT_EQ(Paths(), std::vector<std::string>{"/slow/ZEPBase.zvb"});
  EXPECT_EQ(Read(Bases()), kOldBase);
}

TEST_F(Download, ConnectionDroppedMidFileLeavesTheOldBaseAndNoTemporaryFile) {
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase(4096)).Pieces(512).DropAfter(3000));
  StoreUrls({server_.Url("/")});
  UpdaterState updater;
  Prepare(updater);
  RunToEnd(updater);
  EXPECT_EQ(updater.result, kDownloadFailed);
  EXPECT_EQ(Read(Bases()), kOldBase);
  EXPECT_TRUE(NoLeftovers());
  EXPECT_EQ(prompt_.count(), 0u);  // a broken transfer is no bad signature
}

TEST_F(Download, AbortDuringTheBodyEndsTheWorkerAtOnce) {
  // A hundred pieces a fifth of a second apart: twenty seconds if not ended.
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase(100 * 1024)).Pieces(1024, 200));
  StoreUrls({server_.Url("/"), server_.Url("/")});
  UpdaterState updater;
  Prepare(updater);
  ASSERT_EQ(StartDownload(updater), 0);
  ASSERT_TRUE(recorder_.WaitFor("advance 2"));
  while (server_.Requests().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(AbortDownload(updater), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_EQ(updater.state, kUpdaterIdle);
  EXPECT_EQ(updater.result, kDownloadCancelled);
  EXPECT_FALSE(updater.workerThread.joinable());
  EXPECT_EQ(Read(Bases()), kOldBase);
  EXPECT_TRUE(NoLeftovers());
  EXPECT_EQ(server_.Requests().size(), 1u);  // the second address was not tried
  EXPECT_EQ(AbortDownload(updater), kWrongState);
}

TEST_F(Download, AbortDuringThePauseRemovesTheTemporaryFile) {
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase()));
  StoreUrls({server_.Url("/")});
  UpdaterState updater;
  Prepare(updater);
  updater.pauseMs = 600000;
  ASSERT_EQ(StartDownload(updater), 0);
  const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!Exists(Bases("tempfile.dat")) && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_TRUE(Exists(Bases("tempfile.dat")));
  EXPECT_EQ(AbortDownload(updater), 0);
  EXPECT_EQ(updater.result, kDownloadCancelled);
  EXPECT_EQ(Read(Bases()), kOldBase);
  EXPECT_TRUE(NoLeftovers());
}

TEST_F(Download, DestroyingTheStateDuringADownloadEndsItsWorker) {
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase()).HeaderDelay(60000));
  StoreUrls({server_.Url("/")});
  auto updater = std::make_unique<UpdaterState>();
  Prepare(*updater);
  ASSERT_EQ(StartDownload(*updater), 0);
  ASSERT_TRUE(recorder_.WaitFor("advance 2"));
  updater.reset();
  EXPECT_EQ(Read(Bases()), kOldBase);
  EXPECT_TRUE(NoLeftovers());
}

TEST_F(Download, StateChangesOnlyFromTheirStartingStates) {
  UpdaterState updater;
  Prepare(updater);
  EXPECT_EQ(updater.state, kUpdaterIdle);
  EXPECT_EQ(CancelDownload(updater), kWrongState);
  EXPECT_EQ(AbortDownload(updater), kWrongState);
  updater.state = kUpdaterRunning;
  EXPECT_EQ(StartDownload(updater), kWrongState);
  updater.state = kUpdaterIdle;
}

TEST_F(Download, NoAddressIsAFailureNotASuccess) {
  UpdaterState updater;
  Prepare(updater);
  ASSERT_EQ(updater.urlCount, 0);
  RunToEnd(updater);
  EXPECT_EQ(updater.result, kDownloadFailed);
}

TEST_F(Download, RefusedAddressFailsAndTheNextIsTried) {
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase()));
  StoreUrls({"http://127.0.0.1:" + std::to_string(testing::HttpTestServer::UnusedPort()) + "/",
             server_.Url("/")});
  UpdaterState updater;
  Prepare(updater);
  RunToEnd(updater);
  EXPECT_EQ(updater.result, kDownloadDone);
  EXPECT_EQ(Read(Bases()), GoodBase());
}

TEST_F(Download, BaseThatCannotBeReplacedIsAFailureAndLeavesNothingBehind) {
  fs::remove(Bases());
  fs::create_directory(Bases());  // a folder where the base should be
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase()));
  StoreUrls({server_.Url("/")});
  UpdaterState updater;
  Prepare(updater);
  RunToEnd(updater);
  EXPECT_EQ(updater.result, kDownloadFailed);
  EXPECT_TRUE(fs::is_directory(Bases()));
  EXPECT_TRUE(NoLeftovers());
}

TEST_F(Download, ProgressAndStatusFollowEachAttempt) {
  server_.Serve("/ZEPBase.zvb", HttpReply(GoodBase()));
  StoreUrls({server_.Url("/")});
  UpdaterState updater;
  Prepare(updater);
  RunToEnd(updater);
  EXPECT_EQ(recorder_.calls(),
            (std::vector<std::string>{"status " + server_.Url("/"), "range 0-10", "advance 2",
                                      "advance 2", "advance 2", "advance 2", "pos 0"}));
}

TEST_F(Download, ReplaceBaseSwapsInTheWholeNewFile) {
  const std::string fresh = Put("device/Bases/tempfile.dat", "new contents");
  EXPECT_EQ(ReplaceBase(platform::HostFilePath(fresh), u"\\Bases\\ZEPBase.zvb"), 0u);
  EXPECT_EQ(Read(Bases()), "new contents");
  EXPECT_EQ(Read(fresh), "new contents");  // the caller deletes its temporary file
  EXPECT_FALSE(Exists(Bases("ZEPBase.zvb.new")));
  EXPECT_EQ(ReplaceBase(platform::HostFilePath(Host("missing")), u"\\Bases\\ZEPBase.zvb"),
            platform::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Read(Bases()), "new contents");
}

}  // namespace
}  // namespace scanner
