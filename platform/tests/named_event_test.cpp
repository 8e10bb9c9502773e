// Named and unnamed events: states, names, lifetime across processes, killed waiters and holders.
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/Errors.h"
#include "platform/NamedEvent.h"
#include "platform/tests/NamedObjectTest.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class NamedEventTest : public NamedObjectTest {};

TEST_F(NamedEventTest, SecondCreateOpensTheSameEventAndReportsAlreadyExists) {
  Event a = CreateEvent("ZEPSCANPAUSE", EventReset::Manual, EventState::Nonsignaled);
  ASSERT_TRUE(a.valid());
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  Event b = CreateEvent("ZEPSCANPAUSE", EventReset::Manual, EventState::Signaled);
  ASSERT_TRUE(b.valid());
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(b.Wait(0), WAIT_TIMEOUT);  // the existing state is kept
  EXPECT_EQ(a.Set(), 0u);
  EXPECT_EQ(b.Wait(0), WAIT_OBJECT_0);
  EXPECT_EQ(b.Reset(), 0u);
  EXPECT_EQ(a.Wait(0), WAIT_TIMEOUT);
}

TEST_F(NamedEventTest, OpenFindsOnlyEventsThatExist) {
  Event missing = OpenEvent("ZEPSCANPAUSE");
  EXPECT_FALSE(missing.valid());
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  Event a = CreateEvent("ZEPSCANPAUSE", EventReset::Manual, EventState::Signaled);
  Event b = OpenEvent("ZEPSCANPAUSE");
  ASSERT_TRUE(b.valid());
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(b.Wait(0), WAIT_OBJECT_0);
  EXPECT_FALSE(OpenEvent("").valid());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
}

TEST_F(NamedEventTest, LastCloseRemovesTheEvent) {
  Event a = CreateEvent("E", EventReset::Manual, EventState::Signaled);
  Event b = OpenEvent("E");
  a.Close();
  EXPECT_FALSE(a.valid());
  EXPECT_EQ(b.Wait(0), WAIT_OBJECT_0);
  EXPECT_TRUE(OpenEvent("E").valid());
  b.Close();
  EXPECT_FALSE(OpenEvent("E").valid());
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  Event c = CreateEvent("E", EventReset::Manual, EventState::Nonsignaled);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(c.Wait(0), WAIT_TIMEOUT);
}

TEST_F(NamedEventTest, NamesAreCaseSensitiveAndAnyCharacterIsAllowed) {
  Event upper = CreateEvent("Pause", EventReset::Manual, EventState::Signaled);
  Event lower = CreateEvent("pause", EventReset::Manual, EventState::Nonsignaled);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(upper.Wait(0), WAIT_OBJECT_0);
  EXPECT_EQ(lower.Wait(0), WAIT_TIMEOUT);
  Event odd = CreateEvent("a/b\\c %d Файл", EventReset::Manual, EventState::Signaled);
  ASSERT_TRUE(odd.valid());
  EXPECT_TRUE(OpenEvent("a/b\\c %d Файл").valid());
  EXPECT_FALSE(OpenEvent("a/b\\c %d файл").valid());
  const std::string longName(600, 'x');
  Event big = CreateEvent(longName, EventReset::Manual, EventState::Signaled);
  ASSERT_TRUE(big.valid());
  EXPECT_TRUE(OpenEvent(longName).valid());
  EXPECT_FALSE(OpenEvent(std::string(599, 'x') + "y").valid());
}

TEST_F(NamedEventTest, DifferentHomesNeverShareEvents) {
  const std::string here = EventSegmentName("ZEPSCANPAUSE");
  Event a = CreateEvent("ZEPSCANPAUSE", EventReset::Manual, EventState::Signaled);
  const fs::path other = home_ / "other";
  fs::create_directories(other);
  setenv("QM_HOME", other.c_str(), 1);
  EXPECT_NE(EventSegmentName("ZEPSCANPAUSE"), here);
  EXPECT_FALSE(OpenEvent("ZEPSCANPAUSE").valid());
  setenv("QM_HOME", (home_.string() + "/").c_str(), 1);  // the same folder, written differently
  EXPECT_EQ(EventSegmentName("ZEPSCANPAUSE"), here);
  EXPECT_TRUE(OpenEvent("ZEPSCANPAUSE").valid());
}

TEST_F(NamedEventTest, WaitTimesOutOnANonsignalledEvent) {
  Event e = CreateEvent("T", EventReset::Manual, EventState::Nonsignaled);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(e.Wait(80), WAIT_TIMEOUT);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 80ms);
  EXPECT_EQ(e.Wait(0), WAIT_TIMEOUT);
}

TEST_F(NamedEventTest, InvalidHandleFails) {
  Event none;
  EXPECT_EQ(none.Wait(0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(none.Set(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(none.Reset(), ERROR_INVALID_HANDLE);
  none.Close();
}

TEST_F(NamedEventTest, AutomaticEventReleasesOneWaitAtATime) {
  Event e = CreateEvent("A", EventReset::Automatic, EventState::Signaled);
  EXPECT_EQ(e.Wait(0), WAIT_OBJECT_0);
  EXPECT_EQ(e.Wait(0), WAIT_TIMEOUT);
  std::atomic<int> released{0};
  std::thread t1([&] { released += e.Wait(5000) == WAIT_OBJECT_0; });
  std::thread t2([&] { released += e.Wait(5000) == WAIT_OBJECT_0; });
  e.Set();
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(released.load(), 1);
  e.Set();
  t1.join();
  t2.join();
  EXPECT_EQ(released.load(), 2);
  EXPECT_EQ(e.Wait(0), WAIT_TIMEOUT);
}

TEST_F(NamedEventTest, SetThenResetStillReleasesThreadsAlreadyWaiting) {
  Event e = CreateEvent(EventReset::Manual, EventState::Nonsignaled);
  std::atomic<long> tid{0};
  uint32_t result = 1234;
  std::thread waiter([&] {
    tid = static_cast<long>(syscall(SYS_gettid));
    result = e.Wait(10000);
  });
  while (tid == 0) std::this_thread::yield();
  ASSERT_TRUE(Sleeping("/proc/self/task/" + std::to_string(tid.load()) + "/stat"));
  e.Set();
  e.Reset();
  waiter.join();
  EXPECT_EQ(result, WAIT_OBJECT_0);
  EXPECT_EQ(e.Wait(0), WAIT_TIMEOUT);
}

TEST_F(NamedEventTest, UnnamedEventsAreSeparate) {
  Event a = CreateEvent(EventReset::Manual, EventState::Signaled);
  Event b = CreateEvent("", EventReset::Manual, EventState::Nonsignaled);
  ASSERT_TRUE(a.valid() && b.valid());
  EXPECT_EQ(a.Wait(0), WAIT_OBJECT_0);
  EXPECT_EQ(b.Wait(0), WAIT_TIMEOUT);
  b.Set();
  EXPECT_EQ(b.Wait(0), WAIT_OBJECT_0);
}

TEST_F(NamedEventTest, WaiterInOneProcessIsReleasedBySetInAnother) {
  Event e = CreateEvent("ZEPSCANPAUSE", EventReset::Manual, EventState::Nonsignaled);
  const pid_t waiter = Child([] {
    Event mine = OpenEvent("ZEPSCANPAUSE");
    if (!mine.valid()) return 2;
    return mine.Wait(8000) == WAIT_OBJECT_0 ? 0 : 1;
  });
  ASSERT_TRUE(Sleeping("/proc/" + std::to_string(waiter) + "/stat"));
  const pid_t setter = Child([] { return OpenEvent("ZEPSCANPAUSE").Set() == 0 ? 0 : 3; });
  EXPECT_EQ(ExitCode(setter), 0);
  EXPECT_EQ(ExitCode(waiter), 0);
}

TEST_F(NamedEventTest, PauseEventIsResetAndSetFromAnotherProcess) {
  Event pause = CreateEvent("ZEPSCANPAUSE", EventReset::Manual, EventState::Signaled);
  EXPECT_EQ(ExitCode(Child([] { return OpenEvent("ZEPSCANPAUSE").Reset() == 0 ? 0 : 1; })), 0);
  EXPECT_EQ(pause.Wait(0), WAIT_TIMEOUT);
  std::atomic<uint32_t> result{1234};
  std::thread worker([&] { result = pause.Wait(INFINITE); });
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(result.load(), 1234u);
  EXPECT_EQ(ExitCode(Child([] { return OpenEvent("ZEPSCANPAUSE").Set() == 0 ? 0 : 1; })), 0);
  worker.join();
  EXPECT_EQ(result.load(), WAIT_OBJECT_0);
}

TEST_F(NamedEventTest, WaitInAnotherProcessTimesOut) {
  Event e = CreateEvent("T", EventReset::Manual, EventState::Nonsignaled);
  const pid_t child = Child([] {
    Event mine = OpenEvent("T");
    const auto start = std::chrono::steady_clock::now();
    const uint32_t r = mine.Wait(100);
    if (std::chrono::steady_clock::now() - start < 100ms) return 4;
    return r == WAIT_TIMEOUT ? 0 : 1;
  });
  EXPECT_EQ(ExitCode(child), 0);
}

TEST_F(NamedEventTest, KilledWaitersDoNotWedgeSetOrLaterWaiters) {
  Event e = CreateEvent("K", EventReset::Manual, EventState::Nonsignaled);
  for (int round = 0; round < 3; ++round) {
    const pid_t doomed =
        Child([] { return OpenEvent("K").Wait(INFINITE) == WAIT_OBJECT_0 ? 0 : 1; });
    ASSERT_TRUE(Sleeping("/proc/" + std::to_string(doomed) + "/stat"));
    const pid_t live = Child([] { return OpenEvent("K").Wait(8000) == WAIT_OBJECT_0 ? 0 : 1; });
    ASSERT_TRUE(Sleeping("/proc/" + std::to_string(live) + "/stat"));
    Kill(doomed);
    // The Set runs in a child too, so that a wedge fails the test instead of hanging it.
    EXPECT_EQ(ExitCode(Child([] { return OpenEvent("K").Set() == 0 ? 0 : 1; }), 5s), 0);
    EXPECT_EQ(ExitCode(live, 5s), 0);
    e.Reset();
  }
}

TEST_F(NamedEventTest, EventOfKilledHoldersIsGone) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = Child([&] {
    Event mine = CreateEvent("Crash", EventReset::Manual, EventState::Signaled);
    char c = mine.valid() ? 'y' : 'n';
    if (write(ready[1], &c, 1) != 1) return 1;
    pause();
    return 0;
  });
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  EXPECT_EQ(c, 'y');
  EXPECT_TRUE(OpenEvent("Crash").valid());
  Kill(holder);
  close(ready[0]);
  close(ready[1]);
  EXPECT_FALSE(OpenEvent("Crash").valid());
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  Event fresh = CreateEvent("Crash", EventReset::Manual, EventState::Nonsignaled);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(fresh.Wait(0), WAIT_TIMEOUT);
}

TEST_F(NamedEventTest, StaleEventIsRecreatedWithTheNewInitialState) {
  const pid_t holder = Child([]() -> int {
    Event mine = CreateEvent("Stale", EventReset::Manual, EventState::Nonsignaled);
    _exit(mine.valid() ? 0 : 1);  // ends without closing
  });
  ASSERT_EQ(ExitCode(holder), 0);
  Event e = CreateEvent("Stale", EventReset::Manual, EventState::Signaled);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(e.Wait(0), WAIT_OBJECT_0);
}

TEST_F(NamedEventTest, HandleClosedInAForkedChildLeavesTheParentsEvent) {
  Event e = CreateEvent("Inherit", EventReset::Manual, EventState::Nonsignaled);
  EXPECT_EQ(ExitCode(Child([&] {
              e.Close();
              return 0;
            })),
            0);
  Event other = OpenEvent("Inherit");
  ASSERT_TRUE(other.valid());
  other.Set();
  EXPECT_EQ(e.Wait(0), WAIT_OBJECT_0);
  other.Close();
  e.Close();
  EXPECT_FALSE(OpenEvent("Inherit").valid());
}

TEST_F(NamedEventTest, CreateAndCloseRacingAcrossProcessesAlwaysShareOneEvent) {
  // Three processes keep creating, opening, setting and closing one name. Only
  // Sets happen, so two handles of one process on the same event must agree;
  // a handle left on a removed segment would see a fresh, unset event.
  auto churn = [] {
    for (int i = 0; i < 300; ++i) {
      Event e = CreateEvent("Churn", EventReset::Manual, EventState::Nonsignaled);
      if (!e.valid()) return 1;
      Event second = OpenEvent("Churn");
      if (!second.valid()) return 2;
      e.Set();
      if (second.Wait(0) != WAIT_OBJECT_0) return 3;
    }
    return 0;
  };
  const pid_t a = Child(churn);
  const pid_t b = Child(churn);
  EXPECT_EQ(churn(), 0);
  EXPECT_EQ(ExitCode(a, 30s), 0);
  EXPECT_EQ(ExitCode(b, 30s), 0);
  EXPECT_FALSE(OpenEvent("Churn").valid());
}

}  // namespace
}  // namespace platform
