// The qmdevmgr program: one service per socket, status listing, stopping by request or signal.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "outside/devicemanager/tests/ServiceFixture.h"
#include "platform/LocalChannel.h"
#include "platform/Process.h"

namespace devicemanager {
namespace {

class ServiceProgram : public ServiceTest {
 protected:
  std::string Program() const { return SuiteBin() + "/qmdevmgr"; }

  // Run: runs the program to its end; its exit code, its output in `out`.
  int Run(const std::string& arguments, std::string* out = nullptr) {
    const std::string command = Program() + " " + arguments + " 2>&1";
    std::FILE* p = ::popen(command.c_str(), "r");
    if (!p) return -1;
    std::string text;
    char buffer[256];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, p)) text.append(buffer, n);
    const int status = ::pclose(p);
    if (out) *out = text;
    return WEXITSTATUS(status);
  }

  void StartInForeground() {
    ASSERT_EQ(platform::StartProcess(Program(), home_), 0u);
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(Socket()); }));
  }
};

TEST_F(ServiceProgram, StatusListsDevicesWithHandleAndDriverFile) {
  InstallDriver(DeviceRoot(), "TestDriver.dll");
  const uint8_t info[] = {1};
  const platform::DeviceHandle h = platform::RegisterDevice(u"VDD", 3, u"TestDriver.dll", info);
  ASSERT_NE(h, 0u);
  std::string out;
  EXPECT_EQ(Run("--status", &out), 0);
  EXPECT_NE(out.find("VDD3:"), std::string::npos) << out;
  EXPECT_NE(out.find(std::to_string(h)), std::string::npos) << out;
  EXPECT_NE(out.find("/Windows/TestDriver.so"), std::string::npos) << out;
}

TEST_F(ServiceProgram, StopUnloadsAndRemovesTheSocket) {
  StartInForeground();
  std::string out;
  EXPECT_EQ(Run("--stop", &out), 0) << out;
  EXPECT_FALSE(std::filesystem::exists(Socket()));
  EXPECT_EQ(Run("--status", &out), 1);
  EXPECT_NE(out.find("no device manager"), std::string::npos) << out;
}

TEST_F(ServiceProgram, ASecondServiceOnTheSameSocketIsRefused) {
  StartInForeground();
  std::string out;
  EXPECT_EQ(Run("", &out), 1);
  EXPECT_NE(out.find("already serves"), std::string::npos) << out;
  // The first one still answers.
  EXPECT_EQ(Run("--status", &out), 0) << out;
}

TEST_F(ServiceProgram, TerminationSignalStopsItCleanly) {
  StartInForeground();
  std::vector<platform::DeviceStatusEntry> devices;
  uint32_t pid = 0;
  ASSERT_EQ(ServiceStatus(Socket(), devices, pid), 0u);
  ASSERT_NE(pid, 0u);
  ASSERT_EQ(std::system(("kill -TERM " + std::to_string(pid)).c_str()), 0);
  EXPECT_TRUE(WaitFor([&] { return !std::filesystem::exists(Socket()); }));
}

TEST_F(ServiceProgram, ClientsThatHangUpOrSendGarbageDoNotHurtIt) {
  StartInForeground();
  {
    platform::LocalConnection quitter;
    ASSERT_EQ(quitter.Connect(Socket()), 0u);
  }  // gone before sending anything
  for (int i = 0; i < 3; ++i) {
    // Gone before the reply: writing it must not raise SIGPIPE in the service.
    platform::LocalConnection impatient;
    ASSERT_EQ(impatient.Connect(Socket()), 0u);
    platform::DeviceRequest status;
    status.op = platform::DeviceOp::Status;
    ASSERT_EQ(impatient.Send(platform::EncodeRequest(status)), 0u);
  }
  platform::LocalConnection garbage;
  ASSERT_EQ(garbage.Connect(Socket()), 0u);
  const std::vector<uint8_t> junk = {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3};
  ASSERT_EQ(garbage.Send(junk), 0u);
  std::vector<uint8_t> bytes;
  ASSERT_EQ(garbage.Receive(bytes), 0u);
  platform::DeviceReply reply;
  ASSERT_EQ(platform::DecodeReply(bytes, reply), 0u);
  EXPECT_EQ(reply.error, 13u);
  std::vector<platform::DeviceStatusEntry> devices;
  uint32_t pid = 0;
  EXPECT_EQ(ServiceStatus(Socket(), devices, pid), 0u);
  EXPECT_NE(pid, 0u);
}

TEST_F(ServiceProgram, ServiceWhoseSocketFileIsRemovedEnds) {
  StartInForeground();
  std::filesystem::remove(Socket());
  // Once it has ended its lock is free and another listener may take over.
  platform::LocalListener next;
  EXPECT_TRUE(WaitFor([&] { return next.Listen(Socket()) == 0; }));
}

TEST_F(ServiceProgram, ServiceNeverCreatesAMissingHomeFolder) {
  ::setenv("QM_DEVICE_MANAGER_SOCKET", (home_ + "/gone/devicemanager.sock").c_str(), 1);
  std::string out;
  EXPECT_EQ(Run("", &out), 2);
  EXPECT_FALSE(std::filesystem::exists(home_ + "/gone"));
  ::unsetenv("QM_DEVICE_MANAGER_SOCKET");
}

}  // namespace
}  // namespace devicemanager
