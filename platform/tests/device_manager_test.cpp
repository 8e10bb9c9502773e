// Device-manager calls against a private service instance reached over its socket.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <set>
#include <thread>

#include "platform/DeviceManager.h"
#include "platform/DeviceMessage.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/LocalChannel.h"
#include "platform/Module.h"
#include "platform/RegKey.h"
#include "platform/tests/TempDevice.h"

namespace platform {
namespace {

std::string SuiteBin() {
  const char* bin = std::getenv("SUITE_BIN");
  return bin ? bin : ProgramFolder() + "/../bin";
}

// Ask: one request straight to the service, never starting one.
uint32_t Ask(DeviceOp op, DeviceReply& reply) {
  LocalConnection c;
  if (const uint32_t rc = c.Connect(DeviceManagerSocketPath())) return rc;
  c.SetTimeout(10000);
  DeviceRequest request;
  request.op = op;
  std::vector<uint8_t> bytes = EncodeRequest(request);
  if (const uint32_t rc = c.Send(bytes)) return rc;
  if (const uint32_t rc = c.Receive(bytes)) return rc;
  return DecodeReply(bytes, reply);
}

// WaitFor: polls a condition; the limit is generous because a loaded machine
// running sanitizer builds is slow, and a met condition ends the wait at once.
template <typename Condition>
bool WaitFor(Condition condition, std::chrono::seconds limit = std::chrono::seconds(30)) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

class DeviceManager : public TempDevice {
 protected:
  void SetUp() override {
    TempDevice::SetUp();
    ::unsetenv("QM_DEVICE_MANAGER_SOCKET");
    ::unsetenv("QM_DEVICE_MANAGER_PROGRAM");
    ::unsetenv("QM_DEVICE_REGISTRY");
    ::unsetenv("QM_DEVICE_OS_VERSION");
    std::filesystem::create_directories(home_ + "/device/Windows");
    std::filesystem::copy_file(SuiteBin() + "/TestDriver.so",
                               home_ + "/device/Windows/TestDriver.so");
  }
  void TearDown() override {
    DeviceReply reply;
    Ask(DeviceOp::Stop, reply);
    TempDevice::TearDown();
  }

  uint32_t ServicePid() {
    DeviceReply reply;
    return Ask(DeviceOp::Status, reply) == 0 ? reply.value : 0;
  }

  size_t DeviceCount() {
    DeviceReply reply;
    std::vector<DeviceStatusEntry> entries;
    if (Ask(DeviceOp::Status, reply) != 0 || DecodeStatus(reply.data, entries) != 0) return 0;
    return entries.size();
  }

  static DeviceHandle Register(uint32_t index, std::u16string_view prefix = u"VDD") {
    const uint8_t info[] = {1, 2, 3};
    return RegisterDevice(prefix, index, u"TestDriver.dll", info);
  }

  // HandleOf: the handle the driver of an open device was started with.
  static uint32_t HandleOf(std::u16string_view name) {
    Device d;
    if (d.Open(name, GENERIC_READ | GENERIC_WRITE, 0, DEVICE_OPEN_SYSTEM) != 0) return 0;
    uint8_t out[4] = {};
    uint32_t returned = 0;
    if (d.IoControl(2, {}, out, returned) != 0 || returned != 4) return 0;
    uint32_t h;
    std::memcpy(&h, out, 4);
    return h;
  }
};

TEST_F(DeviceManager, FirstCallStartsTheServiceOnItsSocket) {
  EXPECT_FALSE(std::filesystem::exists(DeviceManagerSocketPath()));
  EXPECT_EQ(DeviceManagerSocketPath(), home_ + "/devicemanager.sock");
  const DeviceHandle h = Register(0);
  ASSERT_NE(h, 0u) << GetLastError();
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_TRUE(std::filesystem::exists(DeviceManagerSocketPath()));
  EXPECT_NE(ServicePid(), 0u);
  EXPECT_EQ(HandleOf(u"VDD0:"), h);
}

TEST_F(DeviceManager, MissingDriverFileIsFileNotFound) {
  EXPECT_EQ(RegisterDevice(u"VDD", 0, u"Secvol.dll", {}), 0u);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(DeviceCount(), 0u);
}

TEST_F(DeviceManager, TenDevicesThenEveryIndexIsInUse) {
  std::set<DeviceHandle> handles;
  for (uint32_t i = 0; i <= 9; ++i) {
    const DeviceHandle h = Register(i);
    ASSERT_NE(h, 0u) << i << " " << GetLastError();
    handles.insert(h);
  }
  EXPECT_EQ(handles.size(), 10u);
  EXPECT_EQ(handles.count(0), 0u);
  // The mount loop of the folder program: every index refuses the eleventh.
  for (uint32_t i = 0; i <= 9; ++i) {
    SetLastError(0);
    EXPECT_EQ(Register(i), 0u);
    EXPECT_EQ(GetLastError(), ERROR_DEVICE_IN_USE) << i;
  }
  EXPECT_EQ(Register(10), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Register(0, u"VD"), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(DeviceCount(), 10u);
}

TEST_F(DeviceManager, DeregisterFreesTheNameAndUnknownHandlesAreInvalid) {
  const DeviceHandle h = Register(6);
  ASSERT_NE(h, 0u);
  ASSERT_TRUE(DeregisterDevice(h));
  Device d;
  EXPECT_EQ(d.Open(u"VDD6:", GENERIC_READ, 0, DEVICE_OPEN_SYSTEM), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(d.isOpen());
  SetLastError(0);
  EXPECT_FALSE(DeregisterDevice(h));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(DeactivateDevice(12345));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  const DeviceHandle again = Register(6);
  ASSERT_NE(again, 0u);
  EXPECT_NE(again, h);
}

TEST_F(DeviceManager, ActivateReadsTheDriverKeyAndTakesTheLowestFreeIndex) {
  RegKey key;
  ASSERT_EQ(key.Create(RegRootKey(RegStore::Device, HKEY_LOCAL_MACHINE), "Drivers\\Test"), 0u);
  ASSERT_EQ(key.SetString("Prefix", u"TST"), 0u);
  ASSERT_EQ(key.SetString("Dll", u"testdriver.dll"), 0u);
  ASSERT_NE(Register(0, u"TST"), 0u);
  ASSERT_NE(Register(1, u"TST"), 0u);
  ASSERT_NE(Register(3, u"TST"), 0u);
  const uint8_t info[] = {9};
  const DeviceHandle h = ActivateDeviceEx(u"Drivers\\Test", info);
  ASSERT_NE(h, 0u) << GetLastError();
  EXPECT_EQ(HandleOf(u"TST2:"), h);
  EXPECT_TRUE(DeactivateDevice(h));

  EXPECT_EQ(ActivateDeviceEx(u"Drivers\\Missing", info), 0u);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(DeviceManager, ControlCallsCarryBothBuffersBack) {
  ASSERT_NE(Register(2), 0u);
  Device d;
  ASSERT_EQ(d.Open(u"vdd2:", GENERIC_READ | GENERIC_WRITE, 0, DEVICE_OPEN_SYSTEM), 0u);
  uint8_t input[5] = {1, 2, 3, 4, 5};
  uint8_t output[3] = {};
  uint32_t returned = 99;
  ASSERT_EQ(d.IoControl(3, input, output, returned), 0u);  // reverses the input in place
  EXPECT_EQ(input[0], 5);
  EXPECT_EQ(input[4], 1);
  EXPECT_EQ(returned, 0u);
  ASSERT_EQ(d.IoControl(1, input, output, returned), 0u);  // copies input to output
  EXPECT_EQ(returned, 3u);
  EXPECT_EQ(output[0], 5);
  EXPECT_EQ(output[2], 3);
  EXPECT_EQ(d.IoControl(77, input, output, returned), ERROR_NOT_SUPPORTED);
  EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);

  Device moved = std::move(d);
  EXPECT_FALSE(d.isOpen());
  EXPECT_EQ(d.IoControl(1, input, output, returned), ERROR_INVALID_HANDLE);
  moved.Close();
  EXPECT_EQ(moved.IoControl(1, input, output, returned), ERROR_INVALID_HANDLE);
}

TEST_F(DeviceManager, DriverInitErrorBecomesTheLastError) {
  uint8_t info[8] = {'F', 'A', 'I', 'L'};
  const uint32_t code = 86;
  std::memcpy(info + 4, &code, 4);
  EXPECT_EQ(RegisterDevice(u"VDD", 0, u"TestDriver.dll", info), 0u);
  EXPECT_EQ(GetLastError(), 86u);
  EXPECT_EQ(DeviceCount(), 0u);
}

TEST_F(DeviceManager, DevicesOutliveTheClientProcessThatLoadedThem) {
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const DeviceHandle h = Register(5);
    [[maybe_unused]] const auto n = write(pipeFds[1], &h, sizeof h);
    _exit(h != 0 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  DeviceHandle h = 0;
  ASSERT_EQ(read(pipeFds[0], &h, sizeof h), static_cast<ssize_t>(sizeof h));
  close(pipeFds[0]);
  close(pipeFds[1]);
  EXPECT_EQ(HandleOf(u"VDD5:"), h);
  EXPECT_TRUE(DeregisterDevice(h));
}

TEST_F(DeviceManager, ClientsStartingAtOnceShareOneService) {
  pid_t children[3];
  for (int i = 0; i < 3; ++i) {
    children[i] = fork();
    ASSERT_GE(children[i], 0);
    if (children[i] == 0) _exit(Register(static_cast<uint32_t>(i)) != 0 ? 0 : 1);
  }
  for (pid_t c : children) {
    int status = 0;
    ASSERT_EQ(waitpid(c, &status, 0), c);
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
  EXPECT_EQ(DeviceCount(), 3u);
}

TEST_F(DeviceManager, StopRemovesTheSocketAndTheNextCallStartsAgain) {
  ASSERT_NE(Register(0), 0u);
  const std::string stop = SuiteBin() + "/qmdevmgr --stop > /dev/null";
  ASSERT_EQ(std::system(stop.c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(DeviceManagerSocketPath()));
  Device d;
  EXPECT_EQ(d.Open(u"VDD0:", GENERIC_READ, 0, DEVICE_OPEN_SYSTEM), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(DeviceCount(), 0u);
}

TEST_F(DeviceManager, AKilledServiceLeavesAStaleSocketThatDoesNotBlockANewOne) {
  ASSERT_NE(Register(0), 0u);
  const uint32_t pid = ServicePid();
  ASSERT_NE(pid, 0u);
  ASSERT_EQ(kill(static_cast<pid_t>(pid), SIGKILL), 0);
  ASSERT_TRUE(WaitFor([&] {
    LocalConnection c;
    return c.Connect(DeviceManagerSocketPath()) == ERROR_FILE_NOT_FOUND;
  }));
  EXPECT_TRUE(std::filesystem::exists(DeviceManagerSocketPath()));
  const DeviceHandle h = Register(0);
  ASSERT_NE(h, 0u) << GetLastError();
  EXPECT_NE(ServicePid(), pid);
  EXPECT_EQ(DeviceCount(), 1u);
}

TEST_F(DeviceManager, AServiceStartedOnDemandEndsOnlyWhenIdleAndEmpty) {
  const DeviceHandle h = Register(1);
  ASSERT_NE(h, 0u);
  // Holding a device it stays, however long nobody asks.
  std::this_thread::sleep_for(std::chrono::seconds(6));
  EXPECT_EQ(DeviceCount(), 1u);
  ASSERT_TRUE(DeregisterDevice(h));
  EXPECT_TRUE(WaitFor([] { return !std::filesystem::exists(DeviceManagerSocketPath()); }));
  // The next call simply starts another.
  EXPECT_NE(Register(1), 0u);
}

TEST_F(DeviceManager, AServiceStartedWithRelativePathsServesTheCallersHome) {
  // The service works from "/", so the caller's relative home, device root
  // and registry must reach it as the folders the caller meant.
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(home_);
  ::setenv("QM_HOME", ".", 1);
  ::setenv("QM_DEVICE_ROOT", "device", 1);
  ::setenv("QM_DEVICE_MOUNTS", "./device-mounts.conf", 1);
  RegKey key;
  const bool keyMade =
      key.Create(RegRootKey(RegStore::Device, HKEY_LOCAL_MACHINE), "Drivers\\Relative") == 0 &&
      key.SetString("Prefix", u"TST") == 0 && key.SetString("Dll", u"TestDriver.dll") == 0;
  key.Close();
  const uint8_t info[] = {1};
  const DeviceHandle h = ActivateDeviceEx(u"Drivers\\Relative", info);
  const uint32_t error = GetLastError();
  const bool socketInHome = std::filesystem::exists(home_ + "/devicemanager.sock");
  DeviceReply reply;
  Ask(DeviceOp::Stop, reply);
  std::filesystem::current_path(before);
  ::setenv("QM_HOME", home_.c_str(), 1);
  ::setenv("QM_DEVICE_ROOT", (home_ + "/device").c_str(), 1);
  ::setenv("QM_DEVICE_MOUNTS", (home_ + "/device-mounts.conf").c_str(), 1);
  ASSERT_TRUE(keyMade);
  EXPECT_NE(h, 0u) << error;
  EXPECT_TRUE(socketInHome);
}

// FakeService: a listener on the service's socket that hangs up on the first
// `drops` connections (before reading anything) and answers later ones with
// a handle of 77.
class FakeService {
 public:
  explicit FakeService(int drops) : drops_(drops) {
    ok_ = listener_.Listen(DeviceManagerSocketPath()) == 0;
    thread_ = std::thread([this] { Serve(); });
  }
  ~FakeService() {
    done_ = true;
    thread_.join();
    listener_.Close();
  }
  bool ok() const { return ok_; }
  int connections() const { return connections_; }

 private:
  void Serve() {
    while (!done_) {
      LocalConnection c;
      if (listener_.Accept(c, 50) != AcceptResult::Connection) continue;
      if (++connections_ <= drops_) continue;  // hangs up unanswered
      c.SetTimeout(10000);
      std::vector<uint8_t> bytes;
      if (c.Receive(bytes) != 0) continue;
      DeviceReply reply;
      reply.value = 77;
      c.Send(EncodeReply(reply));
    }
  }

  LocalListener listener_;
  int drops_;
  bool ok_ = false;
  std::atomic<bool> done_{false};
  std::atomic<int> connections_{0};
  std::thread thread_;
};

TEST_F(DeviceManager, ACallDroppedUnansweredIsMadeOnceMore) {
  // What a client meets when an idle service ends just as it connects.
  FakeService service(1);
  ASSERT_TRUE(service.ok());
  EXPECT_EQ(Register(0), 77u) << GetLastError();
  EXPECT_EQ(service.connections(), 2);
}

TEST_F(DeviceManager, AServiceThatGoesAwayMidCallIsNotReadyAndHarmless) {
  FakeService service(1000);
  ASSERT_TRUE(service.ok());
  // A request far larger than the socket buffer: the hang-up comes while it
  // is being written, which would raise SIGPIPE without care.
  std::vector<uint8_t> info(kMaxDeviceData, 0x5A);
  EXPECT_EQ(RegisterDevice(u"VDD", 0, u"TestDriver.dll", info), 0u);
  EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
  EXPECT_EQ(service.connections(), 2);
}

TEST(LocalConnection, APeerThatTricklesBytesStillMeetsTheTimeOut) {
  testing::TempFolder folder{"qm_channel"};
  const std::string path = folder.Path("trickle.sock");
  LocalListener listener;
  ASSERT_EQ(listener.Listen(path), 0u);
  std::atomic<bool> done{false};
  std::thread peer([&] {
    // A raw client: announces 200 bytes, then sends one every 50 ms. Each
    // single read is quick; the whole message would take ten seconds.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
      const uint8_t header[4] = {200, 0, 0, 0};
      [[maybe_unused]] auto n = ::send(fd, header, sizeof header, MSG_NOSIGNAL);
      for (int i = 0; i < 200 && !done; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const uint8_t byte = 1;
        n = ::send(fd, &byte, 1, MSG_NOSIGNAL);
      }
    }
    ::close(fd);
  });
  LocalConnection server;
  ASSERT_EQ(listener.Accept(server, 30000), AcceptResult::Connection);
  server.SetTimeout(300);
  std::vector<uint8_t> message;
  EXPECT_EQ(server.Receive(message), ERROR_TIMEOUT);
  done = true;
  peer.join();
}

TEST_F(DeviceManager, RequestsBeyondTheMessageLimitsAreRefusedWithoutAService) {
  const std::vector<uint8_t> info(kMaxDeviceData + 1, 1);
  EXPECT_EQ(RegisterDevice(u"VDD", 0, u"TestDriver.dll", info), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  const std::u16string longKey(kMaxDeviceText + 1, u'K');
  EXPECT_EQ(ActivateDeviceEx(longKey, {}), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(std::filesystem::exists(DeviceManagerSocketPath()));
}

TEST(LocalListener, AFileInTheWayOfTheSocketIsLeftAlone) {
  testing::TempFolder folder{"qm_channel"};
  const std::string path = folder.Write("devicemanager.sock", "not a socket");
  LocalListener listener;
  EXPECT_EQ(listener.Listen(path), ERROR_FILE_EXISTS);
  EXPECT_EQ(testing::TempFolder::Read(path), "not a socket");
}

TEST_F(DeviceManager, NoServiceProgramMeansNotReady) {
  ::setenv("QM_DEVICE_MANAGER_PROGRAM", (home_ + "/no-such-program").c_str(), 1);
  EXPECT_EQ(Register(0), 0u);
  EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
  EXPECT_FALSE(DeregisterDevice(1));
  EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
}

TEST_F(DeviceManager, SocketPathAndPlatformVersionFollowTheEnvironment) {
  EXPECT_EQ(PlatformMajorVersion(), 4u);
  ::setenv("QM_DEVICE_OS_VERSION", "3", 1);
  EXPECT_EQ(PlatformMajorVersion(), 3u);
  ::setenv("QM_DEVICE_OS_VERSION", "five", 1);
  EXPECT_EQ(PlatformMajorVersion(), 4u);
  ::setenv("QM_DEVICE_OS_VERSION", "-3", 1);
  EXPECT_EQ(PlatformMajorVersion(), 4u);
  ::setenv("QM_DEVICE_MANAGER_SOCKET", (home_ + "/other.sock").c_str(), 1);
  EXPECT_EQ(DeviceManagerSocketPath(), home_ + "/other.sock");
  ::unsetenv("QM_DEVICE_MANAGER_SOCKET");
}

}  // namespace
}  // namespace platform
