// Several real processes on one store: simultaneous writers and killed writers.
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "platform/RegKey.h"
#include "platform/RegTransaction.h"
#include "registry_test_support.h"

namespace platform {
namespace {

using testing::Desktop;
using testing::Device;

class RegistryProcesses : public testing::FreshRegistry {
 protected:
  // Spawn: runs body in a child process; its result is the exit status. The
  // parent's connections are closed first: SQLite state must not cross fork.
  pid_t Spawn(int (*body)(int), int arg) {
    RegCloseStores();
    pid_t pid = fork();
    if (pid == 0) _exit(body(arg));
    return pid;
  }
  static int ExitCode(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  std::string IntegrityCheck(const std::string& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return "cannot open";
    sqlite3_stmt* s = nullptr;
    std::string result = "no result";
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW)
      result = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    sqlite3_finalize(s);
    sqlite3_close(db);
    return result;
  }
};

constexpr int kWrites = 150;
int g_goPipe[2];

// Waits for the parent's start signal, then writes its own values and bumps
// a shared counter inside transactions.
int SimultaneousWriter(int who) {
  char go = 0;
  if (read(g_goPipe[0], &go, 1) != 1) return 10;
  RegKey key;
  if (key.Create(Desktop(HKEY_LOCAL_MACHINE), "SOFTWARE\\QuillmarkLab\\Shared")) return 11;
  for (int i = 0; i < kWrites; ++i) {
    std::string name = "p" + std::to_string(who) + "_" + std::to_string(i);
    if (key.SetString(name, name + "-data")) return 12;
    RegKey own;
    if (own.Create(key.handle(), "Sub" + std::to_string(who) + "\\" + std::to_string(i))) return 13;
    RegTransaction tx(RegStore::Desktop);
    if (tx.Begin()) return 14;
    uint32_t counter = key.DwordOr("Counter", 0);
    if (key.SetDword("Counter", counter + 1)) return 15;
    if (tx.Commit()) return 16;
  }
  return 0;
}

TEST_F(RegistryProcesses, SimultaneousWritersLoseNothing) {
  // The store does not exist yet: both children also race to lay it out.
  ASSERT_EQ(pipe(g_goPipe), 0);
  pid_t a = Spawn(SimultaneousWriter, 1);
  pid_t b = Spawn(SimultaneousWriter, 2);
  ASSERT_EQ(write(g_goPipe[1], "xx", 2), 2);
  EXPECT_EQ(ExitCode(a), 0);
  EXPECT_EQ(ExitCode(b), 0);
  close(g_goPipe[0]);
  close(g_goPipe[1]);

  RegKey key;
  ASSERT_EQ(key.Open(Desktop(HKEY_LOCAL_MACHINE), "SOFTWARE\\QuillmarkLab\\Shared"), ERROR_SUCCESS);
  EXPECT_EQ(key.DwordOr("Counter", 0), 2u * kWrites);
  for (int who = 1; who <= 2; ++who) {
    for (int i = 0; i < kWrites; ++i) {
      std::string name = "p" + std::to_string(who) + "_" + std::to_string(i);
      EXPECT_EQ(key.StringOr(name, "missing"), name + "-data");
    }
    RegKey sub;
    ASSERT_EQ(sub.Open(key.handle(), "Sub" + std::to_string(who)), ERROR_SUCCESS);
    std::vector<std::string> names;
    ASSERT_EQ(sub.SubKeyNames(&names), ERROR_SUCCESS);
    EXPECT_EQ(names.size(), static_cast<size_t>(kWrites));
  }
}

// Opens the store (new to it) when the parent says go, and writes one value.
int FreshStoreOpener(int who) {
  char go = 0;
  if (read(g_goPipe[0], &go, 1) != 1) return 10;
  RegKey key;
  if (key.Create(Desktop(HKEY_LOCAL_MACHINE), "SOFTWARE\\QuillmarkLab")) return 11;
  if (key.SetDword("p" + std::to_string(who), static_cast<uint32_t>(who))) return 12;
  return 0;
}

TEST_F(RegistryProcesses, ManyProcessesOpeningANewStoreAtOnceAllSucceed) {
  // Turning a new file into a WAL store takes a lock SQLite does not wait
  // for; every opener must still get through.
  constexpr int kRounds = 20;
  constexpr int kOpeners = 12;
  for (int round = 0; round < kRounds; ++round) {
    const std::string path = folder_ + "/fresh" + std::to_string(round) + ".db";
    ::setenv("QM_DESKTOP_REGISTRY", path.c_str(), 1);
    ASSERT_EQ(pipe(g_goPipe), 0);
    std::vector<pid_t> children;
    for (int who = 0; who < kOpeners; ++who) children.push_back(Spawn(FreshStoreOpener, who));
    std::string go(kOpeners, 'g');
    ASSERT_EQ(write(g_goPipe[1], go.data(), go.size()), static_cast<ssize_t>(go.size()));
    for (pid_t child : children) EXPECT_EQ(ExitCode(child), 0) << "round " << round;
    close(g_goPipe[0]);
    close(g_goPipe[1]);
    RegCloseStores();
    RegKey key;
    ASSERT_EQ(key.Open(Desktop(HKEY_LOCAL_MACHINE), "SOFTWARE\\QuillmarkLab"), ERROR_SUCCESS);
    std::vector<std::string> names;
    ASSERT_EQ(key.ValueNames(&names), ERROR_SUCCESS);
    EXPECT_EQ(names.size(), static_cast<size_t>(kOpeners)) << "round " << round;
    key.Close();
    RegCloseStores();
  }
  ::setenv("QM_DESKTOP_REGISTRY", desktopPath_.c_str(), 1);
}

int g_readyPipe[2];

// Starts a large transaction, reports that it is inside it, and waits to be
// killed.
int WriterThatStops(int) {
  RegKey key;
  if (key.Open(Device(HKEY_CURRENT_USER), "Software\\Quillmark Lab\\ZEP PPC")) return 10;
  RegTransaction tx(RegStore::Device);
  if (tx.Begin()) return 11;
  if (key.SetString(u"Report", u"new value")) return 12;
  // Enough data that SQLite spills uncommitted pages into the journal.
  std::vector<uint8_t> blob(8192, 0x42);
  for (int i = 0; i < 2000; ++i)
    if (key.SetBinary("spill" + std::to_string(i), blob)) return 13;
  if (write(g_readyPipe[1], "r", 1) != 1) return 14;
  for (;;) pause();
}

TEST_F(RegistryProcesses, WriterKilledInsideTransactionLeavesOldValue) {
  {
    RegKey key;
    ASSERT_EQ(key.Create(Device(HKEY_CURRENT_USER), "Software\\Quillmark Lab\\ZEP PPC"),
              ERROR_SUCCESS);
    ASSERT_EQ(key.SetString(u"Report", u"old value"), ERROR_SUCCESS);
  }
  ASSERT_EQ(pipe(g_readyPipe), 0);
  pid_t child = Spawn(WriterThatStops, 0);
  char ready = 0;
  ASSERT_EQ(read(g_readyPipe[0], &ready, 1), 1);
  kill(child, SIGKILL);
  EXPECT_EQ(ExitCode(child), 128 + SIGKILL);
  close(g_readyPipe[0]);
  close(g_readyPipe[1]);

  RegCloseStores();
  RegKey key;
  ASSERT_EQ(key.Open(Device(HKEY_CURRENT_USER), "Software\\Quillmark Lab\\ZEP PPC"), ERROR_SUCCESS);
  EXPECT_EQ(key.StringOr(u"Report", u"missing"), u"old value");
  EXPECT_FALSE(key.HasValue("spill0"));
  EXPECT_EQ(key.SetString(u"Report", u"after"), ERROR_SUCCESS);
  EXPECT_EQ(key.StringOr(u"Report", u"missing"), u"after");
  key.Close();
  RegCloseStores();
  EXPECT_EQ(IntegrityCheck(devicePath_), "ok");
}

// Rewrites a large value and a matching counter, one transaction per round,
// until it is killed.
int EndlessWriter(int) {
  RegKey key;
  if (key.Open(Desktop(HKEY_LOCAL_MACHINE), "Busy", RegAccess::All)) return 10;
  for (uint32_t round = 1;; ++round) {
    std::vector<uint8_t> blob(64 * 1024 + (round % 7) * 1000, static_cast<uint8_t>(round));
    RegTransaction tx(RegStore::Desktop);
    if (tx.Begin()) return 11;
    if (key.SetBinary("Blob", blob)) return 12;
    if (key.SetDword("Round", round)) return 13;
    if (tx.Commit()) return 14;
    if (round == 1 && write(g_readyPipe[1], "r", 1) != 1) return 15;
  }
}

TEST_F(RegistryProcesses, WriterKilledAtRandomMomentsLeavesOldOrNewValue) {
  {
    RegKey key;
    ASSERT_EQ(key.Create(Desktop(HKEY_LOCAL_MACHINE), "Busy"), ERROR_SUCCESS);
  }
  std::mt19937 random(1234);
  for (int attempt = 0; attempt < 6; ++attempt) {
    ASSERT_EQ(pipe(g_readyPipe), 0);
    pid_t child = Spawn(EndlessWriter, 0);
    char ready = 0;
    ASSERT_EQ(read(g_readyPipe[0], &ready, 1), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(random() % 60));
    kill(child, SIGKILL);
    EXPECT_EQ(ExitCode(child), 128 + SIGKILL);
    close(g_readyPipe[0]);
    close(g_readyPipe[1]);

    RegKey key;
    ASSERT_EQ(key.Open(Desktop(HKEY_LOCAL_MACHINE), "Busy"), ERROR_SUCCESS);
    uint32_t round = 0;
    ASSERT_EQ(key.QueryDword("Round", &round), ERROR_SUCCESS);
    std::vector<uint8_t> blob;
    ASSERT_EQ(key.QueryBinary("Blob", &blob), ERROR_SUCCESS);
    ASSERT_EQ(blob.size(), 64u * 1024 + (round % 7) * 1000);
    size_t wrong = 0;
    for (uint8_t b : blob) wrong += b != static_cast<uint8_t>(round);
    EXPECT_EQ(wrong, 0u) << "round " << round;
  }
  RegCloseStores();
  EXPECT_EQ(IntegrityCheck(desktopPath_), "ok");
}

}  // namespace
}  // namespace platform
