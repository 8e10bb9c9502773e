// qmregsvr end to end in-process: registering, unregistering and each failure's exit code.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/com/testing/KeepLoaded.h"
#include "platform/com/testing/RegistrySnapshot.h"
#include "tools/qmregsvr/QmregsvrCommand.h"

namespace qmregsvr {
namespace {

using platform::HKEY_CLASSES_ROOT;
using platform::com::testing::Snapshot;

struct Outcome {
  int code = -1;
  std::string out;
  std::string err;
};

Outcome Qmregsvr(std::vector<std::string> args) {
  args.insert(args.begin(), "qmregsvr");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out;
  std::ostringstream err;
  Outcome r;
  r.code = RunQmregsvr(static_cast<int>(argv.size()), argv.data(), out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

class QmregsvrTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(platform::com::testing::KeepLoaded(COM_TEST_SERVER)); }

  platform::com::testing::DesktopRegistryHome home_;
};

TEST_F(QmregsvrTest, RegistersAndUnregistersAModule) {
  Outcome r = Qmregsvr({COM_TEST_SERVER});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, std::string("DllRegisterServer in ") + COM_TEST_SERVER + " succeeded.\n");
  EXPECT_FALSE(Snapshot(HKEY_CLASSES_ROOT, "ComTest.Answer.1").empty());

  r = Qmregsvr({"/u", COM_TEST_SERVER});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, std::string("DllUnregisterServer in ") + COM_TEST_SERVER + " succeeded.\n");
  EXPECT_TRUE(Snapshot(HKEY_CLASSES_ROOT, "ComTest.Answer.1").empty());
}

TEST_F(QmregsvrTest, SilentPrintsNothingAndKeepsTheExitCode) {
  Outcome r = Qmregsvr({"-s", COM_TEST_SERVER});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out + r.err, "");
  r = Qmregsvr({"/s", home_.folder().Path("Missing.so")});
  EXPECT_EQ(r.code, 3);
  EXPECT_EQ(r.out + r.err, "");
}

TEST_F(QmregsvrTest, EachFailureHasTheWindowsToolsExitCode) {
  const std::string missing = home_.folder().Path("Missing.so");
  Outcome r = Qmregsvr({missing});
  EXPECT_EQ(r.code, 3);
  EXPECT_EQ(r.err, "The module \"" + missing + "\" failed to load: " + platform::ErrorText(126) +
                       " (126)\n");

  r = Qmregsvr({COM_SAMPLE_MODULE});
  EXPECT_EQ(r.code, 4);
  EXPECT_EQ(r.err, std::string("The module \"") + COM_SAMPLE_MODULE +
                       "\" was loaded but the entry-point DllRegisterServer was not found.\n");

  // The first failure decides; later modules are still registered.
  r = Qmregsvr({COM_SAMPLE_MODULE, COM_TEST_SERVER});
  EXPECT_EQ(r.code, 4);
  EXPECT_FALSE(Snapshot(HKEY_CLASSES_ROOT, "ComTest.Answer.1").empty());
}

TEST_F(QmregsvrTest, BadArgumentsShowTheUsage) {
  Outcome r = Qmregsvr({});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("usage: qmregsvr"), std::string::npos);
  r = Qmregsvr({"--frobnicate", COM_TEST_SERVER});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("unknown option --frobnicate"), std::string::npos);
  EXPECT_TRUE(Snapshot(HKEY_CLASSES_ROOT, "").empty());
}

}  // namespace
}  // namespace qmregsvr
