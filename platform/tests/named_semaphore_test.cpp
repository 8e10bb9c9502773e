// Named and unnamed semaphores: counts, limits, names shared with events, lifetime across
// processes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "platform/Errors.h"
#include "platform/NamedEvent.h"
#include "platform/NamedSemaphore.h"
#include "platform/tests/NamedObjectTest.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class NamedSemaphoreTest : public NamedObjectTest {};

TEST_F(NamedSemaphoreTest, SecondCreateOpensTheSameSemaphoreAndReportsAlreadyExists) {
  Semaphore a = CreateSemaphore("QRX_KONDUIT_SEM_0012344242", 0, 1);
  ASSERT_TRUE(a.valid());
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  Semaphore b = CreateSemaphore("QRX_KONDUIT_SEM_0012344242", 1, 5);
  ASSERT_TRUE(b.valid());
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(b.Wait(0), WAIT_TIMEOUT);  // the existing count is kept
  int32_t previous = -1;
  EXPECT_EQ(a.Release(1, &previous), ERROR_SUCCESS);
  EXPECT_EQ(previous, 0);
  EXPECT_EQ(b.Release(), ERROR_TOO_MANY_POSTS);  // and so is its maximum of 1
  EXPECT_EQ(b.Wait(0), WAIT_OBJECT_0);
  EXPECT_EQ(a.Wait(0), WAIT_TIMEOUT);
}

TEST_F(NamedSemaphoreTest, CountStaysBetweenZeroAndTheMaximum) {
  Semaphore s = CreateSemaphore("", 2, 3);
  ASSERT_TRUE(s.valid());
  int32_t previous = -1;
  EXPECT_EQ(s.Release(2, &previous), ERROR_TOO_MANY_POSTS);
  EXPECT_EQ(GetLastError(), ERROR_TOO_MANY_POSTS);
  EXPECT_EQ(previous, -1);
  EXPECT_EQ(s.Release(1, &previous), ERROR_SUCCESS);
  EXPECT_EQ(previous, 2);
  EXPECT_EQ(s.Release(0), ERROR_INVALID_PARAMETER);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.Wait(0), WAIT_OBJECT_0) << i;
  EXPECT_EQ(s.Wait(0), WAIT_TIMEOUT);
}

TEST_F(NamedSemaphoreTest, BadLimitsAndNamesAreRefused) {
  EXPECT_FALSE(CreateSemaphore("S", 0, 0).valid());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(CreateSemaphore("S", 2, 1).valid());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(CreateSemaphore("S", -1, 1).valid());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(CreateSemaphore(std::string_view("a\0b", 3), 0, 1).valid());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
  EXPECT_FALSE(OpenSemaphore("").valid());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
  Semaphore none;
  EXPECT_EQ(none.Wait(0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(none.Release(), ERROR_INVALID_HANDLE);
}

TEST_F(NamedSemaphoreTest, EventsAndSemaphoresShareOneNamespace) {
  Event e = CreateEvent("Shared", EventReset::Manual, EventState::Signaled);
  ASSERT_TRUE(e.valid());
  EXPECT_FALSE(CreateSemaphore("Shared", 0, 1).valid());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(OpenSemaphore("Shared").valid());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  Semaphore s = CreateSemaphore("Taken", 0, 1);
  ASSERT_TRUE(s.valid());
  EXPECT_FALSE(CreateEvent("Taken", EventReset::Manual, EventState::Signaled).valid());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(e.Wait(0), WAIT_OBJECT_0);  // neither object was disturbed
  EXPECT_EQ(s.Wait(0), WAIT_TIMEOUT);
}

TEST_F(NamedSemaphoreTest, LastCloseRemovesTheSemaphore) {
  Semaphore a = CreateSemaphore("S", 1, 1);
  Semaphore b = OpenSemaphore("S");
  ASSERT_TRUE(b.valid());
  a.Close();
  EXPECT_FALSE(a.valid());
  EXPECT_TRUE(OpenSemaphore("S").valid());
  b.Close();
  EXPECT_FALSE(OpenSemaphore("S").valid());
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  Semaphore c = CreateSemaphore("S", 0, 1);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(c.Wait(0), WAIT_TIMEOUT);  // a new semaphore, not the old count
}

TEST_F(NamedSemaphoreTest, ReleaseWakesAWaitingThreadAndWaitTimesOut) {
  Semaphore s = CreateSemaphore("W", 0, 1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(s.Wait(60), WAIT_TIMEOUT);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 60ms);
  std::atomic<uint32_t> result{1234};
  std::thread waiter([&] { result = s.Wait(10000); });
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(result.load(), 1234u);
  EXPECT_EQ(s.Release(), ERROR_SUCCESS);
  waiter.join();
  EXPECT_EQ(result.load(), WAIT_OBJECT_0);
  EXPECT_EQ(s.Wait(0), WAIT_TIMEOUT);
}

TEST_F(NamedSemaphoreTest, AnotherProcessSeesTheCountAndAKilledHolderLeavesNothingBehind) {
  Semaphore s = CreateSemaphore("P", 0, 2);
  const pid_t releaser = fork();
  if (releaser == 0) {
    Semaphore mine = OpenSemaphore("P");
    _exit(mine.valid() && mine.Release(2) == ERROR_SUCCESS ? 0 : 1);
  }
  int status = 0;
  waitpid(releaser, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(s.Wait(0), WAIT_OBJECT_0);
  EXPECT_EQ(s.Wait(0), WAIT_OBJECT_0);
  s.Close();

  // A holder killed outright: its name is free again for a new semaphore.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    Semaphore mine = CreateSemaphore("K", 1, 1);
    const char c = mine.valid() ? 'y' : 'n';
    if (write(ready[1], &c, 1) != 1) _exit(1);
    pause();
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  EXPECT_EQ(c, 'y');
  EXPECT_TRUE(OpenSemaphore("K").valid());
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
  EXPECT_FALSE(OpenSemaphore("K").valid());
  Semaphore fresh = CreateSemaphore("K", 0, 1);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(fresh.Wait(0), WAIT_TIMEOUT);
}

TEST_F(NamedSemaphoreTest, ChurnAcrossProcessesEndsWithTheStartingCount) {
  // Four processes take and give back the two units of one semaphore many
  // times, some reopening it as they go. A shared tally counts the holders at
  // once: more than two would mean a unit was handed out twice.
  constexpr int kUnits = 2;
  struct Tally {
    std::atomic<int> inside;
    std::atomic<int> most;
  };
  void* shared =
      mmap(nullptr, sizeof(Tally), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(shared, MAP_FAILED);
  auto* tally = new (shared) Tally{};
  Semaphore s = CreateSemaphore("Churn", kUnits, kUnits + 1);
  ASSERT_TRUE(s.valid());
  auto churn = [tally] {
    Semaphore mine = OpenSemaphore("Churn");
    for (int i = 0; i < 2000; ++i) {
      if (i % 50 == 49) mine = OpenSemaphore("Churn");
      if (!mine.valid()) return 1;
      if (mine.Wait(20000) != WAIT_OBJECT_0) return 2;
      const int now = tally->inside.fetch_add(1) + 1;
      int most = tally->most.load();
      while (now > most && !tally->most.compare_exchange_weak(most, now)) {
      }
      if (i % 3 == 0) std::this_thread::yield();
      tally->inside.fetch_sub(1);
      int32_t previous = -1;
      if (mine.Release(1, &previous) != ERROR_SUCCESS) return 3;
      if (previous < 0 || previous >= kUnits) return 4;  // above the units it started with
    }
    return 0;
  };
  std::vector<pid_t> children;
  for (int c = 0; c < 4; ++c) children.push_back(Child(churn));
  for (pid_t child : children) EXPECT_EQ(ExitCode(child, std::chrono::seconds(60)), 0);
  EXPECT_LE(tally->most.load(), kUnits);
  EXPECT_GE(tally->most.load(), 1);
  for (int i = 0; i < kUnits; ++i) EXPECT_EQ(s.Wait(0), WAIT_OBJECT_0) << i;
  EXPECT_EQ(s.Wait(0), WAIT_TIMEOUT);
  munmap(shared, sizeof(Tally));
}

TEST_F(NamedSemaphoreTest, SemaphoreOfAHolderThatDiedHoldingAUnitIsCreatedAfresh) {
  bool held = false;
  const pid_t holder = Holder(
      [](const Hold& hold) {
        Semaphore mine = CreateSemaphore("Stale", 1, 1);
        hold(mine.valid() && mine.Wait(0) == WAIT_OBJECT_0);
      },
      &held);
  ASSERT_TRUE(held);
  Kill(holder);
  // Its only holder is gone, so the next create starts from its own figures.
  Semaphore s = CreateSemaphore("Stale", 3, 5);
  ASSERT_TRUE(s.valid());
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.Wait(0), WAIT_OBJECT_0) << i;
  EXPECT_EQ(s.Wait(0), WAIT_TIMEOUT);
  int32_t previous = -1;
  EXPECT_EQ(s.Release(5, &previous), ERROR_SUCCESS);
  EXPECT_EQ(previous, 0);
  EXPECT_EQ(s.Release(), ERROR_TOO_MANY_POSTS);
}

TEST_F(NamedSemaphoreTest, UnitsTakenByADeadProcessStayTakenWhileOthersHoldTheSemaphore) {
  // A semaphore has no owner: a unit is given back only by a release.
  Semaphore s = CreateSemaphore("Owned", 1, 1);
  bool held = false;
  const pid_t taker = Holder(
      [](const Hold& hold) {
        Semaphore mine = OpenSemaphore("Owned");
        hold(mine.valid() && mine.Wait(0) == WAIT_OBJECT_0);
      },
      &held);
  ASSERT_TRUE(held);
  Kill(taker);
  EXPECT_EQ(s.Wait(0), WAIT_TIMEOUT);
  // A waiter killed while asleep takes nothing, and the next release is whole.
  const pid_t doomed =
      Child([] { return OpenSemaphore("Owned").Wait(INFINITE) == WAIT_OBJECT_0 ? 0 : 1; });
  ASSERT_TRUE(Sleeping("/proc/" + std::to_string(doomed) + "/stat"));
  Kill(doomed);
  int32_t previous = -1;
  EXPECT_EQ(s.Release(1, &previous), ERROR_SUCCESS);
  EXPECT_EQ(previous, 0);
  EXPECT_EQ(s.Wait(0), WAIT_OBJECT_0);
}

TEST_F(NamedSemaphoreTest, AStaleEventsNameCanBecomeASemaphore) {
  ASSERT_EQ(ExitCode(Child([]() -> int {
              Event mine = CreateEvent("Reused", EventReset::Manual, EventState::Signaled);
              _exit(mine.valid() ? 0 : 1);
            })),
            0);
  Semaphore s = CreateSemaphore("Reused", 1, 1);
  ASSERT_TRUE(s.valid());
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(s.Wait(0), WAIT_OBJECT_0);
  EXPECT_FALSE(OpenEvent("Reused").valid());
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

}  // namespace
}  // namespace platform
