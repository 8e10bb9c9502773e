// The client-library stand-in loaded as a task loads it: its record of calls, its socket, its
// memory use.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <fstream>
#include <string>
#include <vector>

#include "outside/ruviclient/ControlClient.h"
#include "platform/Errors.h"
#include "platform/Module.h"
#include "platform/testing/TempFolder.h"
#include "update/app/RuviClientApi.h"

namespace ruviclient {
namespace {

std::atomic<int> g_calls[5];
std::atomic<int> g_allocated{0};
std::atomic<int> g_released{0};

int Pause(void* a, void* b) {
  ++g_calls[3];
  return a == nullptr && b == nullptr ? 1 : 0;
}
int Refuse(void*, void*) {
  ++g_calls[4];
  return 0;
}
void* Allocate(size_t size) {
  ++g_allocated;
  return ::malloc(size);
}
void Release(void* block) {
  ++g_released;
  ::free(block);
}

class RuviClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("SUITE_BIN");
    ASSERT_NE(bin, nullptr);
    bin_ = bin;
    ::setenv("QM_HOME", home_.path().c_str(), 1);
    ::setenv("QM_RUVI_LOG", home_.Path("calls.log").c_str(), 1);
    ::setenv("QM_RUVI_CONTROL", Socket().c_str(), 1);
    for (auto& c : g_calls) c = 0;
    ASSERT_EQ(library_.Load(bin_ + "/RuviClient.so"), 0u);
  }
  std::string Socket() const { return home_.Path("control.sock"); }
  std::vector<std::string> Log() const {
    std::ifstream in(home_.Path("calls.log"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::string Send(const std::string& request) {
    std::string reply;
    const uint32_t rc = SendControlRequest(Socket(), request, reply, 5000);
    return rc == 0 ? reply : "error " + std::to_string(rc);
  }

  std::string bin_;
  platform::testing::TempFolder home_{"qm-ruvi"};
  platform::Module library_;
};

TEST_F(RuviClientTest, CommandsFromTheSocketReachTheRegisteredCallbacks) {
  auto initEx = library_.Function<RuviClientInitExFn>("RuviClientInitEx");
  auto registerCallback =
      library_.Function<RuviClientRegisterClientCallbackFn>("RuviClientRegisterClientCallback");
  auto done = library_.Function<RuviClientDoneFn>("RuviClientDone");
  ASSERT_TRUE(initEx && registerCallback && done);

  EXPECT_EQ(Send("ping"), "error " + std::to_string(platform::ERROR_FILE_NOT_FOUND))
      << "nobody listens before the initialisation";
  EXPECT_EQ(registerCallback(kRuviCommandPause, Pause), 1);
  EXPECT_EQ(registerCallback(kRuviCommandResume, Refuse), 1);
  EXPECT_EQ(registerCallback(7, Pause), 0);
  EXPECT_EQ(initEx(49, 0, Allocate, Release), 1);
  EXPECT_EQ(g_allocated.load(), 1) << "the task name lives in the program's memory";

  EXPECT_EQ(Send("ping"), "ready");
  EXPECT_EQ(Send("pause"), "1");
  EXPECT_EQ(Send("4"), "0");
  EXPECT_EQ(Send("start"), "none");
  EXPECT_EQ(Send("jump"), "bad");
  EXPECT_EQ(g_calls[3].load(), 1);
  EXPECT_EQ(g_calls[4].load(), 1);

  char name[32] = {};
  auto taskName = library_.Function<RuviClientGetTaskNameFn>("RuviClientGetTaskName");
  EXPECT_EQ(taskName(name, sizeof name), 1);
  EXPECT_STREQ(name, "Get Update");
  EXPECT_EQ(taskName(name, 3), 0);

  EXPECT_EQ(done(), 1);
  EXPECT_EQ(g_released.load(), 1);
  EXPECT_EQ(Send("ping").rfind("error", 0), 0u) << "Done closes the socket";
  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "RuviClientRegisterClientCallback 3 set",
                       "RuviClientRegisterClientCallback 4 set",
                       "RuviClientRegisterClientCallback 7 set",
                       "RuviClientInitEx 49 0 set set",
                       "command 3 -> 1",
                       "command 4 -> 0",
                       "command 1 none",
                       "RuviClientGetTaskName 32",
                       "RuviClientGetTaskName 3",
                       "RuviClientDone",
                   }));
}

TEST_F(RuviClientTest, EveryNamedFunctionIsExportedAndTheTestBuildLacksOne) {
  const char* names[] = {"RuviClientInit",
                         "RuviClientInitEx",
                         "RuviClientDone",
                         "RuviClientIsComponentWorksWithRuvi",
                         "RuviClientGetTaskName",
                         "RuviClientRegisterClientCallback",
                         "RuviClientRecvDataFromRuvi",
                         "RuviClientSendDataToRuvi",
                         "RuviClientSendStatus",
                         "RuviClientSendStatusEx",
                         "RuviClientSendAlert",
                         "RuviClientSendStatistics",
                         "RuviClientWriteReportStr",
                         "RuviClientSendEvent",
                         "RuviClientSendCustomCommand",
                         "RuviClientNeedRestart",
                         "RuviClientUpdateSettings",
                         "RuviClientPlaceFileToQuarantine",
                         "RuviClientIOLockFolder",
                         "RuviClientIOUnLockFolder",
                         "RuviClientIOCreateDirectory",
                         "RuviClientIOAccess",
                         "RuviClientIOGetFileSize",
                         "RuviClientIOCreateFile",
                         "RuviClientIOSetFilePointer",
                         "RuviClientIOWriteFile",
                         "RuviClientIOReadFile",
                         "RuviClientIOCloseHandle",
                         "RuviClientIOFindFirstFile",
                         "RuviClientIOFindNextFile",
                         "RuviClientIOFindClose"};
  for (const char* name : names) EXPECT_NE(library_.Symbol(name), nullptr) << name;

  auto status = library_.Function<RuviClientSendStatusExFn>("RuviClientSendStatusEx");
  auto alert = library_.Function<RuviClientSendAlertFn>("RuviClientSendAlert");
  EXPECT_EQ(status(6, 20), 1);
  EXPECT_EQ(alert(2, "text"), 0) << "calls a task never makes are recorded and refused";
  EXPECT_EQ(Log(), (std::vector<std::string>{"RuviClientSendStatusEx 6 20",
                                             "RuviClientSendAlert 2 \"text\""}));

  platform::Module incomplete;
  ASSERT_EQ(incomplete.Load(bin_ + "/RuviClientIncomplete.so"), 0u);
  EXPECT_EQ(incomplete.Symbol("RuviClientIOFindClose"), nullptr);
  EXPECT_NE(incomplete.Symbol("RuviClientIOFindNextFile"), nullptr);
}

}  // namespace
}  // namespace ruviclient
