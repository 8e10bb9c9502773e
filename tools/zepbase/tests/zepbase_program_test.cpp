// The zepbase program end to end, and the demo base the build makes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/testing/TempFolder.h"
#include "scanner/virusbase/CheckSignature.h"
#include "scanner/virusbase/FindVirus.h"
#include "scanner/virusbase/LoadBase.h"

namespace {

namespace fs = std::filesystem;

class ZepbaseProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("SUITE_BIN");
    if (bin == nullptr) GTEST_SKIP() << "SUITE_BIN is not set (run through ctest)";
    bin_ = bin;
  }

  // Run: runs zepbase with arguments, output to a file; true on exit status 0.
  bool Run(const std::string& args) {
    const std::string command = "\"" + (bin_ / "zepbase").string() + "\" " + args + " > \"" +
                                (dir_ / "out.txt").string() + "\" 2>&1";
    return std::system(command.c_str()) == 0;
  }
  std::string Output() const {
    std::ifstream in(dir_ / "out.txt");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return (dir_ / name).string();
  }

  platform::testing::TempFolder temp_{"zepbase"};
  fs::path bin_, dir_ = temp_.path();
};

const std::string kKey = ZEPBASE_DEMO_KEY;

TEST_F(ZepbaseProgram, BuildVerifyAndList) {
  const std::string list = Write("list.txt",
                                 "[First]\nsignature = \"first-sig\"\ndescription = One\n"
                                 "[Second]\nsignature = 00 01 02\n");
  const std::string base = (dir_ / "ZEPBase.zvb").string();
  ASSERT_TRUE(Run("build " + list + " -o " + base + " --key " + kKey)) << Output();
  EXPECT_EQ(Output(), base + ": 2 records\n");

  EXPECT_TRUE(Run("verify " + base));
  EXPECT_EQ(Output(), "0 genuine\n");

  EXPECT_TRUE(Run("list " + base));
  EXPECT_EQ(Output(), "result: 0\ncount: 2\nFirst\t9\tOne\nSecond\t3\t\n");

  std::ofstream(base, std::ios::binary | std::ios::app) << "x";
  EXPECT_FALSE(Run("verify " + base));
  EXPECT_EQ(Output(), "-1014 no trailer, or no block with the key's identifier\n");
  EXPECT_FALSE(Run("list " + base));
  EXPECT_EQ(Output(), "result: -3\ncount: 0\n");
}

TEST_F(ZepbaseProgram, SignReplacesAnExistingTrailer) {
  const std::string file = Write("content.bin", std::string(300, 'c'));
  ASSERT_TRUE(Run("sign " + file + " --key " + kKey)) << Output();
  EXPECT_EQ(fs::file_size(file), 364u);
  ASSERT_TRUE(Run("sign " + file + " --key " + kKey)) << Output();
  EXPECT_EQ(fs::file_size(file), 364u);
  EXPECT_EQ(scanner::CheckSignature(file), 0);
}

TEST_F(ZepbaseProgram, BadInputIsReported) {
  const std::string list = Write("bad.txt", "[NoSignature]\n");
  EXPECT_FALSE(Run("build " + list + " -o " + (dir_ / "x.zvb").string() + " --key " + kKey));
  EXPECT_EQ(Output(), "zepbase: " + list + ": line 1: record \"NoSignature\" has no signature\n");
  EXPECT_FALSE(fs::exists(dir_ / "x.zvb"));
  EXPECT_FALSE(Run("verify " + (dir_ / "missing").string()));
  EXPECT_EQ(Output(), "2 The system cannot find the file specified.\n");
}

TEST_F(ZepbaseProgram, KeygenWritesAKeyThatSigns) {
  const std::string key = (dir_ / "new.key").string();
  const std::string source = (dir_ / "BuiltinKey.cpp").string();
  ASSERT_TRUE(Run("keygen --private-key " + key + " --source " + source)) << Output();
  // The private key is readable by its owner only.
  const fs::perms access = fs::status(key).permissions();
  EXPECT_EQ(access & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
  EXPECT_EQ(access & fs::perms::owner_read, fs::perms::owner_read);
  std::ifstream in(source);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_NE(text.find("const uint8_t kPowersOfG[6 * 8 * 64]"), std::string::npos);
  const std::string file = Write("content.bin", std::string(100, 'c'));
  EXPECT_TRUE(Run("sign " + file + " --key " + key)) << Output();
  // Same identifier as the built-in key, but another key: the block does not verify.
  EXPECT_EQ(scanner::CheckSignature(file), scanner::kSignatureInvalid);
}

TEST_F(ZepbaseProgram, DemoBaseDetectsTheEicarTestFile) {
  const std::string demo = (bin_ / "demo" / "ZEPBase.zvb").string();
  ASSERT_TRUE(fs::exists(demo)) << "the build makes " << demo;
  scanner::VirusBase base;
  ASSERT_EQ(scanner::LoadBase(base, demo), 0);
  EXPECT_GE(base.virusCount, 6);
  const std::string eicar = "X5O!P%@AP[4\\PZX54(P^)7CC)7}$EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*";
  const scanner::VirusRecord* hit = scanner::FindVirus(
      base, reinterpret_cast<const uint8_t*>(eicar.data()), static_cast<uint32_t>(eicar.size()));
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->nameText(), u"EICAR-Test-File");
}

}  // namespace
