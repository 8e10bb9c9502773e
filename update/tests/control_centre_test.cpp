// Control-centre runs with the client-library stand-in: its calls, start wait, commands and
// failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <thread>

#include "outside/ruviclient/ControlClient.h"
#include "platform/NamedSemaphore.h"
#include "platform/ProcessId.h"
#include "platform/RegKey.h"
#include "platform/Registry.h"
#include "platform/ScriptedPrompt.h"
#include "update/app/ControlCentreRun.h"
#include "update/app/HeadlessFrontEnd.h"
#include "update/app/SemaphoreName.h"
#include "update/app/UpdateApp.h"
#include "update/tests/UpdateTest.h"

namespace update {
namespace {

using namespace std::chrono_literals;
using platform::testing::HttpReply;

constexpr int64_t kNow = 1700000123;

class ControlCentreTest : public testing::UpdateTest {
 protected:
  UpdateOptions Options(uint32_t startWaits = 3) {
    UpdateOptions o;
    o.startWaits = startWaits;
    o.startWaitMs = 50;
    o.fetchLimitMs = 20000;
    o.now = [] { return kNow; };
    o.limits = {2000, 2000};
    return o;
  }
  std::string Send(const std::string& request) {
    std::string reply;
    const uint32_t rc =
        ruviclient::SendControlRequest(home_.Path("ruvi.sock"), request, reply, 10000);
    return rc == 0 ? reply : "error " + std::to_string(rc);
  }
  // WhenListening: runs `act` on another thread once the task's socket answers.
  std::thread WhenListening(std::function<void()> act) {
    return std::thread([this, act] {
      for (int i = 0; i < 2000 && Send("ping") != "ready"; ++i) std::this_thread::sleep_for(2ms);
      act();
    });
  }
  bool Logged(const std::string& line) const {
    const auto log = RuviLog();
    return std::find(log.begin(), log.end(), line) != log.end();
  }
  // SharedFilesFolder: the control centre's folder in the registry.
  static void SharedFilesFolder(const std::string& folder) {
    platform::RegKey key;
    ASSERT_EQ(
        key.Create(platform::RegRootKey(platform::RegStore::Desktop, platform::HKEY_LOCAL_MACHINE),
                   "Software\\QuillmarkLab\\SharedFiles"),
        0u);
    ASSERT_EQ(key.SetString("Folder", folder), 0u);
  }
  void ServeBoth() {
    server_.Serve("/u/ZEPDB.pdb", HttpReply(Body(2048)));
    server_.Serve("/u/ZEPVE.pdb", HttpReply(Body(20, 'q')));
    Configure({server_.Url("/u")}, {"ZEPDB.pdb", "ZEPVE.pdb"});
  }

  platform::ScriptedPrompt prompt_;
};

TEST_F(ControlCentreTest, WithoutAStartCommandStatusThreeZeroIsSentAndTheFetchRunsAnyway) {
  ServeBoth();
  ControlCentreRun run(record_, prompt_, Options());
  EXPECT_EQ(run.Run(), RunOutcome::Complete);
  const std::vector<std::string> expected = {"RuviClientRegisterClientCallback 1 set",
                                             "RuviClientRegisterClientCallback 2 set",
                                             "RuviClientRegisterClientCallback 3 set",
                                             "RuviClientRegisterClientCallback 4 set",
                                             "RuviClientInitEx 49 0 set set",
                                             "RuviClientSendStatusEx 3 0",
                                             "RuviClientDone"};
  EXPECT_EQ(RuviLog(), expected) << "no Tasks key: the fetch reports nothing";
  EXPECT_EQ(StoredLastUpdate(), static_cast<uint32_t>(kNow));
  EXPECT_EQ(Read(Current("ZEPDB.pdb")), Body(2048));
  EXPECT_EQ(Read(Current("ZEPVE.pdb")), Body(20, 'q'));
  EXPECT_EQ(prompt_.count(), 0u);
  EXPECT_FALSE(Exists(home_.Path("ruvi.sock"))) << "Done closed the library's socket";
}

TEST_F(ControlCentreTest, StartEndsTheWaitAndWithTheTasksKeyTheFetchReports) {
  ServeBoth();
  SetTasksKey(true);
  ASSERT_EQ(record_.Load(), 0);
  std::string startReply;
  std::thread centre = WhenListening([&] { startReply = Send("start"); });
  ControlCentreRun run(record_, prompt_, Options(200));  // 10 s unless start arrives
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(run.Run(), RunOutcome::Complete);
  centre.join();
  EXPECT_LT(std::chrono::steady_clock::now() - begin, 8s);
  EXPECT_EQ(startReply, "1");
  EXPECT_TRUE(Logged("RuviClientSendStatus 1"));
  EXPECT_TRUE(Logged("command 1 -> 1"));
  EXPECT_FALSE(Logged("RuviClientSendStatusEx 3 0"));
  const auto log = RuviLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), "RuviClientSendStatusEx 2 0"), 2);
  EXPECT_EQ(std::count(log.begin(), log.end(), "RuviClientSendStatusEx 6 20"), 2);
  EXPECT_EQ(log.back(), "RuviClientDone");
}

TEST_F(ControlCentreTest, PauseAndResumeBeforeTheFetchThreadExistReturnZero) {
  ServeBoth();
  std::string pause, resume;
  std::thread centre = WhenListening([&] {
    pause = Send("pause");
    resume = Send("resume");
    Send("start");
  });
  ControlCentreRun run(record_, prompt_, Options(200));
  EXPECT_EQ(run.Run(), RunOutcome::Complete);
  centre.join();
  EXPECT_EQ(pause, "0");
  EXPECT_EQ(resume, "0");
  EXPECT_FALSE(Logged("RuviClientSendStatus 5"));
  // The same outside a run: no fetch thread, nothing done; stop fails too.
  ControlCentreRun idle(record_, prompt_, Options());
  EXPECT_EQ(idle.OnPause(), 0);
  EXPECT_EQ(idle.OnResume(), 0);
  EXPECT_EQ(idle.OnStop(), 0);
}

TEST_F(ControlCentreTest, StopEndsARunningFetchAndTheRunStillStoresLastUpdate) {
  HttpReply slow(Body(64 * 1024));
  slow.Pieces(1024, 50);
  server_.Serve("/u/ZEPDB.pdb", slow);
  Configure({server_.Url("/u")}, {"ZEPDB.pdb"});
  std::string pause, resume, stop;
  std::thread centre = WhenListening([&] {
    Send("start");
    while (!Exists(Staged("ZEPDB.pdb.tmp"))) std::this_thread::sleep_for(5ms);
    pause = Send("pause");
    resume = Send("resume");
    stop = Send("stop");
  });
  ControlCentreRun run(record_, prompt_, Options(200));
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(run.Run(), RunOutcome::Incomplete);
  centre.join();
  EXPECT_LT(std::chrono::steady_clock::now() - begin, 3s);
  EXPECT_EQ(pause, "1");
  EXPECT_EQ(resume, "1");
  EXPECT_EQ(stop, "1");
  const auto log = RuviLog();
  const std::vector<std::string> statuses = {"RuviClientSendStatus 5", "RuviClientSendStatus 1",
                                             "RuviClientSendStatus 7", "RuviClientSendStatus 4"};
  std::vector<std::string> seen;
  bool started = false;
  for (const auto& line : log) {
    if (line == "command 1 -> 1")
      started = true;
    else if (started && line.rfind("RuviClientSendStatus ", 0) == 0)
      seen.push_back(line);
  }
  EXPECT_EQ(seen, statuses);
  EXPECT_EQ(StoredLastUpdate(), static_cast<uint32_t>(kNow));
  EXPECT_FALSE(Exists(Staged("ZEPDB.pdb.tmp")));
  EXPECT_FALSE(Exists(Current("ZEPDB.pdb")));
}

TEST_F(ControlCentreTest, ALibraryMissingARequiredFunctionFetchesNothing) {
  ServeBoth();
  std::filesystem::create_directories(Host("Shared"));
  std::filesystem::copy_file(bin_ + "/RuviClientIncomplete.so", Host("Shared/RuviClient.so"));
  SharedFilesFolder("C:\\Shared");
  HeadlessFrontEnd frontEnd(prompt_);
  EXPECT_EQ(RunUpdate("/IpcServName=task", frontEnd, Options()), kExitIncomplete);
  EXPECT_TRUE(RuviLog().empty());
  EXPECT_TRUE(server_.Requests().empty());
  EXPECT_FALSE(StoredLastUpdate().has_value());
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Not all of update files were succesfuly received.");
}

TEST_F(ControlCentreTest, TheSharedFilesFolderComesBeforeTheSearchOrder) {
  EXPECT_EQ(ClientLibraryPath(), "\\RuviClient.dll");
  std::filesystem::create_directories(Host("Shared"));
  std::filesystem::copy_file(bin_ + "/RuviClient.so", Host("Shared/RuviClient.so"));
  SharedFilesFolder("C:\\Shared\\");
  EXPECT_EQ(ClientLibraryPath(), "C:\\Shared\\RuviClient.dll");
  RuviClientLibrary library;
  ASSERT_EQ(library.Load(), 0u);
  EXPECT_EQ(library.path(), Host("Shared/RuviClient.so"));
  EXPECT_NE(library.functions().IOFindClose, nullptr);
  SharedFilesFolder("C:\\Nowhere");
  ASSERT_EQ(library.Load(), 0u);
  EXPECT_EQ(library.path(), bin_ + "/RuviClient.so");
  library.Unload();
  EXPECT_EQ(library.functions().SendStatus, nullptr);
}

TEST_F(ControlCentreTest, ATakenSemaphoreNameLeavesTheClientUninitialised) {
  ServeBoth();
  // The run seeds with the current second; hold the names of this second and
  // the next few, as printf forms them.
  std::vector<platform::Semaphore> held;
  const auto now = std::time(nullptr);
  for (int i = 0; i < 3; ++i) {
    std::srand(static_cast<unsigned>(now + i));
    held.push_back(platform::CreateSemaphore(
        SemaphoreName(std::rand(), static_cast<long>(platform::CurrentProcessId())), 0, 1));
  }
  ControlCentreRun run(record_, prompt_, Options());
  EXPECT_EQ(run.Run(), RunOutcome::Complete);
  EXPECT_FALSE(Logged("RuviClientInitEx 49 0 set set"));
  EXPECT_FALSE(Logged("RuviClientSendStatusEx 3 0")) << "no start is awaited";
  EXPECT_TRUE(Logged("RuviClientDone"));
  EXPECT_EQ(StoredLastUpdate(), static_cast<uint32_t>(kNow));
}

}  // namespace
}  // namespace update
