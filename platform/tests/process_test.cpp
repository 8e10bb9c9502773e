#include "platform/Process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/Errors.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ =
        fs::path(::testing::TempDir()) /
        ("process_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "bin");
    fs::create_directories(root_ / "work");
  }
  void TearDown() override { fs::remove_all(root_); }

  // Script: an executable shell script in bin/.
  std::string Script(const std::string& name, const std::string& body,
                     fs::perms mode = fs::perms::owner_all) {
    const fs::path p = root_ / "bin" / name;
    std::ofstream(p) << "#!/bin/sh\n" << body;
    fs::permissions(p, mode);
    return p.string();
  }

  // WaitForFile: the content of a file once it is complete (ends in "end").
  std::string WaitForFile(const fs::path& p) {
    for (int i = 0; i < 1000; ++i) {
      std::ifstream in(p);
      std::stringstream s;
      s << in.rdbuf();
      if (s.str().find("end\n") != std::string::npos) return s.str();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "(no file)";
  }

  fs::path root_;
};

TEST_F(ProcessTest, StartsInTheWorkingDirectoryWithArgumentsAndEnvironment) {
  const std::string prog =
      Script("Update", "echo \"$1|$QM_PROCESS_MARK|$(pwd)\" > here.txt\necho end >> here.txt\n");
  setenv("QM_PROCESS_MARK", "inherited", 1);
  EXPECT_EQ(StartProcess(prog, (root_ / "work").string(), {"IPCSERVNAME"}), 0u);
  EXPECT_EQ(GetLastError(), 0u);
  unsetenv("QM_PROCESS_MARK");
  const std::string want =
      "IPCSERVNAME|inherited|" + fs::canonical(root_ / "work").string() + "\nend\n";
  EXPECT_EQ(WaitForFile(root_ / "work" / "here.txt"), want);
}

TEST_F(ProcessTest, WindowsProgramNameMapsToHostFile) {
  const std::string prog = Script("Update", "echo end > started.txt\n");
  const std::string windowsName = (root_ / "bin" / "Update.exe").string();
  EXPECT_EQ(ProgramHostPath(windowsName), prog);
  EXPECT_EQ(ProgramHostPath((root_ / "bin" / "Update.EXE").string()), prog);
  EXPECT_EQ(ProgramHostPath("/x/Tool"), "/x/Tool");
  EXPECT_EQ(StartProcess(windowsName, (root_ / "work").string()), 0u);
  EXPECT_EQ(WaitForFile(root_ / "work" / "started.txt"), "end\n");
  // A file that really carries the suffix is used when it alone exists.
  const std::string literal = Script("Other.exe", "echo end > other.txt\n");
  EXPECT_EQ(ProgramHostPath(literal), literal);
}

TEST_F(ProcessTest, NoZombieIsLeftAndTheCallerDoesNotWait) {
  const std::string prog = Script("Slow", "sleep 1\necho end > slow.txt\n");
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(StartProcess(prog, (root_ / "work").string()), 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
  // The program is not our child: nothing of ours remains to be reaped.
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  EXPECT_EQ(WaitForFile(root_ / "work" / "slow.txt"), "end\n");
}

TEST_F(ProcessTest, OnlyStandardStreamsAreInherited) {
  const int fd = open((root_ / "open.txt").c_str(), O_CREAT | O_WRONLY, 0600);  // no close-on-exec
  ASSERT_GE(fd, 3);
  const std::string prog =
      Script("Probe",
             "if [ -e /proc/self/fd/$1 ]; then echo open; else echo closed; fi > fd.txt\n"
             "if [ -e /proc/self/fd/2 ]; then echo stderr; fi >> fd.txt\necho end >> fd.txt\n");
  EXPECT_EQ(StartProcess(prog, (root_ / "work").string(), {std::to_string(fd)}), 0u);
  EXPECT_EQ(WaitForFile(root_ / "work" / "fd.txt"), "closed\nstderr\nend\n");
  close(fd);
}

TEST_F(ProcessTest, FailuresGiveWindowsCodes) {
  const std::string work = (root_ / "work").string();
  EXPECT_EQ(StartProcess((root_ / "bin" / "Missing.exe").string(), work), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(StartProcess((root_ / "nodir" / "Update.exe").string(), work), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(StartProcess((root_ / "bin").string(), work), ERROR_ACCESS_DENIED);
  const std::string plain =
      Script("Plain", "echo end\n", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(StartProcess(plain, work), ERROR_ACCESS_DENIED);
  const std::string good = Script("Good", "echo end > g.txt\n");
  EXPECT_EQ(StartProcess(good, (root_ / "absent").string()), ERROR_DIRECTORY);
  EXPECT_EQ(StartProcess(good, plain), ERROR_DIRECTORY);
  EXPECT_EQ(StartProcess("", work), ERROR_FILE_NOT_FOUND);
}

TEST_F(ProcessTest, FileThatIsNoProgramGivesBadFormat) {
  const fs::path p = root_ / "bin" / "Junk";
  std::ofstream(p) << "\x01\x02 not a program";
  fs::permissions(p, fs::perms::owner_all);
  EXPECT_EQ(StartProcess(p.string(), (root_ / "work").string()), ERROR_BAD_EXE_FORMAT);
  EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT);
}

}  // namespace
}  // namespace platform
