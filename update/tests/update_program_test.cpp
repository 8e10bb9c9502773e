// The programs end to end: qmruvi starts Update as a control-centre task against a local server.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>

#include "update/tests/UpdateTest.h"

namespace update {
namespace {

using platform::testing::HttpReply;

class UpdateProgramTest : public testing::UpdateTest {
 protected:
  // Shell: runs a command line with no display, so the task's messages go
  // to standard error; its exit status, with its output in out_ and err_.
  int Shell(const std::string& command) {
    const std::string line = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + command +
                             " >" + home_.Path("out") + " 2>" + home_.Path("err") + "; echo $? >" +
                             home_.Path("status");
    if (std::system(line.c_str()) != 0) return -1;
    out_ = Read(home_.Path("out"));
    err_ = Read(home_.Path("err"));
    const std::string status = Read(home_.Path("status"));
    return status.empty() ? -1 : std::atoi(status.c_str());
  }
  std::string out_, err_;
};

TEST_F(UpdateProgramTest, QmruviRunsATaskThatFetchesAndReportsToTheControlCentre) {
  server_.Serve("/u/ZEPDB.pdb", HttpReply(Body(4096)));
  server_.Serve("/u/ZEPVE.pdb", HttpReply(Body(99, 'k')));
  Configure({server_.Url("/u")}, {"ZEPDB.pdb", "ZEPVE.pdb"});
  SetTasksKey(true);
  const auto before = std::chrono::duration_cast<std::chrono::seconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();

  ASSERT_EQ(Shell(bin_ + "/qmruvi task --wait --wait-limit 60"), 0) << out_ << err_;
  EXPECT_NE(out_.find("start: 1 (done)"), std::string::npos) << out_;
  EXPECT_NE(out_.find("task ended"), std::string::npos) << out_;
  EXPECT_EQ(Read(Current("ZEPDB.pdb")), Body(4096));
  EXPECT_EQ(Read(Current("ZEPVE.pdb")), Body(99, 'k'));
  const auto stored = StoredLastUpdate();
  ASSERT_TRUE(stored.has_value());
  EXPECT_GE(static_cast<int64_t>(*stored), before);
  const auto log = RuviLog();
  auto at = [&](const std::string& line) {
    return std::find(log.begin(), log.end(), line) - log.begin();
  };
  ASSERT_LT(at("RuviClientInitEx 49 0 set set"), static_cast<long>(log.size()));
  EXPECT_LT(at("RuviClientInitEx 49 0 set set"), at("RuviClientSendStatus 1"));
  EXPECT_LT(at("RuviClientSendStatus 1"), at("RuviClientSendStatusEx 6 0"));
  EXPECT_LT(at("command 1 -> 1"), static_cast<long>(log.size()));
  EXPECT_EQ(log.back(), "RuviClientDone");

  EXPECT_EQ(Shell(bin_ + "/qmruvi pause"), 1);
  EXPECT_NE(err_.find("qmruvi: no task is running"), std::string::npos) << err_;
}

TEST_F(UpdateProgramTest, AnIncompleteTaskSaysSoOnStandardErrorWithoutADisplay) {
  Configure({}, {"ZEPDB.pdb"});
  ASSERT_EQ(Shell(bin_ + "/qmruvi task --wait --wait-limit 60"), 0) << out_ << err_;
  EXPECT_NE(err_.find("Error: Not all of update files were succesfuly received."),
            std::string::npos)
      << err_;
  EXPECT_TRUE(StoredLastUpdate().has_value()) << "a task stores the time of every run";
}

}  // namespace
}  // namespace update
