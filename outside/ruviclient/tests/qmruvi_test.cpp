// qmruvi's commands against a task played by this test through the loaded client library.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <sstream>
#include <string>
#include <vector>

#include "outside/ruviclient/QmruviCommand.h"
#include "platform/Module.h"
#include "platform/testing/TempFolder.h"
#include "update/app/RuviClientApi.h"

namespace ruviclient {
namespace {

int Done(void*, void*) {
  return 1;
}
int Refused(void*, void*) {
  return 0;
}

class QmruviTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("SUITE_BIN");
    ASSERT_NE(bin, nullptr);
    bin_ = bin;
    ::setenv("QM_HOME", home_.path().c_str(), 1);
    ::unsetenv("QM_RUVI_LOG");
    ::setenv("QM_RUVI_CONTROL", home_.Path("control.sock").c_str(), 1);
  }
  int Run(std::vector<std::string> args) {
    std::vector<const char*> argv = {"qmruvi"};
    for (const auto& a : args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    const int status = RunQmruvi(static_cast<int>(argv.size()), argv.data(), out, err);
    out_ = out.str();
    err_ = err.str();
    return status;
  }
  // PlayTask: this process takes the task's place: callbacks and socket.
  void PlayTask() {
    ASSERT_EQ(library_.Load(bin_ + "/RuviClient.so"), 0u);
    auto registerCallback =
        library_.Function<RuviClientRegisterClientCallbackFn>("RuviClientRegisterClientCallback");
    registerCallback(kRuviCommandPause, Done);
    registerCallback(kRuviCommandResume, Refused);
    ASSERT_EQ(library_.Function<RuviClientInitExFn>("RuviClientInitEx")(49, 0, nullptr, nullptr),
              1);
  }

  std::string bin_, out_, err_;
  platform::testing::TempFolder home_{"qm-qmruvi"};
  platform::Module library_;
};

TEST_F(QmruviTest, CommandsReportTheTasksAnswer) {
  PlayTask();
  EXPECT_EQ(Run({"pause"}), 0);
  EXPECT_EQ(out_, "pause: 1 (done)\n");
  EXPECT_EQ(Run({"resume"}), 1);
  EXPECT_EQ(out_, "resume: 0 (refused)\n");
  EXPECT_EQ(Run({"stop"}), 1);
  EXPECT_EQ(err_, "qmruvi: the task takes no stop command\n");
  EXPECT_EQ(Run({"task", "--program", bin_ + "/Update"}), 1);
  EXPECT_NE(err_.find("qmruvi: a task is already running"), std::string::npos) << err_;
  library_.Function<RuviClientDoneFn>("RuviClientDone")();
  EXPECT_EQ(Run({"start"}), 1);
  EXPECT_NE(err_.find("qmruvi: no task is running"), std::string::npos) << err_;
}

TEST_F(QmruviTest, AProgramThatDoesNotStartOrNeverListensIsReported) {
  EXPECT_EQ(Run({"task", "--program", home_.Path("missing/Update")}), 1);
  EXPECT_NE(err_.find("qmruvi: cannot start"), std::string::npos) << err_;
  EXPECT_EQ(Run({"task", "--program", "/bin/true", "--timeout", "0.3"}), 1);
  EXPECT_NE(err_.find("did not reach the control centre"), std::string::npos) << err_;
  EXPECT_EQ(Run({}), 1) << "a command is required";
}

}  // namespace
}  // namespace ruviclient
