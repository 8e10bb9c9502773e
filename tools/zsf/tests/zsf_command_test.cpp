// The zsf commands end to end: a private handheld, its service and the folder driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "folders/container/Container.h"
#include "folders/volumes/DriverInstall.h"
#include "folders/volumes/VolumeList.h"
#include "folders/volumes/tests/FolderDeviceTest.h"
#include "platform/Errors.h"
#include "platform/ScriptedPrompt.h"
#include "platform/Text.h"
#include "tools/zsf/ZsfCommand.h"

namespace zsf {
namespace {

namespace fs = std::filesystem;

class Zsf : public folders::testing::FolderDeviceTest {
 protected:
  // Run: runs one command line with the given passwords queued.
  int Run(std::vector<std::string> args, std::vector<std::string> secrets = {}) {
    secrets_.assign(secrets.begin(), secrets.end());
    out_.str("");
    err_.str("");
    prompt_.Clear();
    args.insert(args.begin(), "zsf");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    ZsfEnvironment environment;
    environment.prompt = &prompt_;
    environment.driverFolder = bin_;
    environment.readSecret = [this](std::string_view, std::string* out) -> uint32_t {
      if (secrets_.empty()) return platform::ERROR_HANDLE_EOF;
      *out = secrets_.front();
      secrets_.pop_front();
      return 0;
    };
    return RunZsf(static_cast<int>(argv.size()), argv.data(), out_, err_, environment);
  }

  // Message: the only message shown by the last run.
  std::string Message() {
    EXPECT_EQ(prompt_.count(), 1u) << out_.str();
    return prompt_.last().text;
  }

  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string HostFile(const std::string& name, const std::string& bytes) {
    const std::string path = folder_.path() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  std::deque<std::string> secrets_;
  std::ostringstream out_, err_;
  platform::ScriptedPrompt prompt_;
};

TEST_F(Zsf, CreateWritesContainerAndEntryThatCheckAndListShow) {
  ASSERT_EQ(
      Run({"create", "/My Documents/a.zsf", "--size", "256", "--cipher", "rc6", "--timeout", "30"},
          {"pw", "pw"}),
      0)
      << prompt_.last().text;
  EXPECT_EQ(fs::file_size(Host(u"\\My Documents\\a.zsf")), 262196u);

  ASSERT_EQ(Run({"check", "\\My Documents\\a.zsf"}), 0);
  const std::string report = out_.str();
  EXPECT_NE(report.find("path: \\My Documents\\a.zsf\n"), std::string::npos) << report;
  EXPECT_NE(report.find("format version: 1\n"), std::string::npos);
  EXPECT_NE(report.find("sector count: 512\n"), std::string::npos);
  EXPECT_NE(report.find("header constant: 14\n"), std::string::npos);
  EXPECT_NE(report.find("algorithm: 4 (RC6)\n"), std::string::npos);
  EXPECT_NE(report.find("time-out seconds: 30\n"), std::string::npos);
  EXPECT_NE(report.find("valid: yes\nlisted: yes\n"), std::string::npos);

  ASSERT_EQ(Run({"list"}), 0);
  EXPECT_EQ(out_.str(),
            "File\tSize(KB)\tAlgorithm\tState\n\\My Documents\\a.zsf\t256\tRC6\tnot mounted\n");
  folders::VolumeRecord record{};
  ASSERT_EQ(folders::FindVolumeEntry(record, u"\\My Documents\\a.zsf"), folders::kEntryValid);
  EXPECT_EQ(platform::FieldText(record.mountName), u"a");
  EXPECT_TRUE(folders::VerifyPassword(record, u"pw"));
}

TEST_F(Zsf, CreateRefusesBadInputWithTheProgramsMessages) {
  const std::vector<std::string> create = {"create", "\\My Documents\\a.zsf", "--cipher",
                                           "rijndael-128", "--size"};
  auto with = [&](std::vector<std::string> extra) {
    std::vector<std::string> args = create;
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  };
  EXPECT_EQ(Run(with({"100"}), {"pw", "pw"}), 1);
  EXPECT_EQ(Message(), "Too small disk size specified!");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Coffer");
  EXPECT_EQ(Run(with({"256", "--timeout", "0"}), {"pw", "pw"}), 1);
  EXPECT_EQ(Message(), "Timeout must be greater then 0!");
  EXPECT_EQ(Run(with({"256", "--timeout", "12960001"}), {"pw", "pw"}), 1);
  EXPECT_EQ(Message(), "Timeout is too large!");
  EXPECT_EQ(Run(with({"256"}), {"", ""}), 1);
  EXPECT_EQ(Message(), "A password is required to create new folder");
  EXPECT_EQ(Run(with({"256"}), {"pw", "pW"}), 1);
  EXPECT_EQ(Message(), "Two passwords are not same. Try again.");
  EXPECT_FALSE(fs::exists(Host(u"\\My Documents\\a.zsf")));
  folders::VolumeRecord record{};
  EXPECT_EQ(folders::ReadVolumeEntry(record, 0), folders::kNoEntry);
  EXPECT_EQ(Run({"create", "\\My Documents\\a.zsf", "--size", "256", "--cipher", "rc4"}), 1);
  EXPECT_EQ(
      Run({"create", "\\No Such Folder\\a.zsf", "--size", "256", "--cipher", "rc5"}, {"pw", "pw"}),
      1);
  EXPECT_EQ(Message(), "Cannot find specified file.");
}

TEST_F(Zsf, ExistingFileIsReplacedOnlyWhenTheUserAgrees) {
  const std::string host = Host(u"\\My Documents\\a.zsf");
  std::ofstream(host) << "keep me";
  prompt_.Answer(platform::IDNO);
  EXPECT_EQ(
      Run({"create", "\\My Documents\\a.zsf", "--size", "256", "--cipher", "rc5"}, {"pw", "pw"}),
      1);
  EXPECT_EQ(Message(), "Specified file already exists.\nDo you want to overwrite it?");
  EXPECT_EQ(prompt_.last().buttons, platform::MB_YESNO);
  EXPECT_EQ(ReadFile(host), "keep me");
  EXPECT_EQ(
      Run({"create", "\\My Documents\\a.zsf", "--size", "256", "--cipher", "rc5", "--overwrite"},
          {"pw", "pw"}),
      0);
  EXPECT_EQ(fs::file_size(host), 262196u);
}

TEST_F(Zsf, CheckReportsFilesThatAreNoContainerOrMissing) {
  ASSERT_EQ(
      Run({"create", "\\My Documents\\a.zsf", "--size", "256", "--cipher", "rc5"}, {"pw", "pw"}),
      0);
  fs::resize_file(Host(u"\\My Documents\\a.zsf"), 262195);
  EXPECT_EQ(Run({"check", "\\My Documents\\a.zsf"}), 1);
  EXPECT_NE(out_.str().find("file size: 262195\n"), std::string::npos);
  EXPECT_NE(out_.str().find("size implied by header: 262196\n"), std::string::npos);
  EXPECT_NE(out_.str().find("valid: no\n"), std::string::npos);
  EXPECT_EQ(Message(), "This is not a Quillmark Security file!");

  std::ofstream(Host(u"\\My Documents\\tiny.zsf")) << "abc";
  EXPECT_EQ(Run({"check", "\\My Documents\\tiny.zsf"}), 1);
  EXPECT_NE(out_.str().find("header: only 3 of 52 bytes\n"), std::string::npos);

  EXPECT_EQ(Run({"check", "\\My Documents\\none.zsf"}), 1);
  EXPECT_EQ(Message(), "Specified file not found!\nCheck path.");
  EXPECT_EQ(Run({"mount", "\\My Documents\\none.zsf"}, {"pw"}), 1);
  EXPECT_EQ(Message(), "Specified file not found!\nCheck path.");
}

TEST_F(Zsf, SectorsWrittenThroughAMountedFolderReadBackAfterARemount) {
  RemoveDriver();  // the tool installs it from its own folder
  ASSERT_EQ(
      Run({"create", "\\My Documents\\a.zsf", "--size", "256", "--cipher", "rc5"}, {"pw", "pw"}),
      0);
  ASSERT_EQ(Run({"mount", "/My Documents/a.zsf", "--as", "Vault"}, {"pw"}), 0)
      << prompt_.last().text;
  EXPECT_EQ(out_.str(), "mounted \\My Documents\\a.zsf as Vault on VDD0:\n");
  EXPECT_TRUE(fs::exists(folder_.path() + "/device/Windows/Secvol.so"));
  ASSERT_EQ(Run({"list"}), 0);
  EXPECT_NE(out_.str().find("\\My Documents\\a.zsf\t256\tRC5\tmounted\n"), std::string::npos);
  EXPECT_EQ(Run({"mount", "\\My Documents\\a.zsf"}, {"pw"}), 1);
  EXPECT_EQ(Message(), "This folder is already mounted.");

  const std::string in = HostFile("in.bin", "hello");
  ASSERT_EQ(Run({"write", "\\My Documents\\a.zsf", "3", in}), 0) << prompt_.last().text;
  const std::string outFile = folder_.path() + "/out.bin";
  ASSERT_EQ(Run({"read", "\\My Documents\\a.zsf", "3", "--out", outFile}), 0);
  EXPECT_EQ(ReadFile(outFile), std::string("hello") + std::string(507, '\0'));
  ASSERT_EQ(Run({"read", "\\My Documents\\a.zsf", "3"}), 0);
  const std::string dump = out_.str();
  EXPECT_EQ(dump.substr(0, 72),
            "0000  68 65 6c 6c 6f 00 00 00 00 00 00 00 00 00 00 00  hello...........\n");
  EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), 32);
  EXPECT_EQ(Run({"read", "\\My Documents\\a.zsf", "512"}), 1);
  EXPECT_EQ(Message(), "Sector not found.");
  EXPECT_EQ(
      Run({"write", "\\My Documents\\a.zsf", "3", HostFile("big.bin", std::string(513, 'x'))}), 1);
  EXPECT_EQ(Message(), "The sector file holds more than 512 bytes.");

  const std::string container = ReadFile(Host(u"\\My Documents\\a.zsf"));
  EXPECT_EQ(
      Run({"create", "\\My Documents\\a.zsf", "--size", "512", "--cipher", "rc6", "--overwrite"},
          {"pw2", "pw2"}),
      1);
  EXPECT_EQ(Message(), "This folder is mounted.\nUnmount it first.");
  EXPECT_EQ(ReadFile(Host(u"\\My Documents\\a.zsf")), container);

  ASSERT_EQ(Run({"unmount", "\\My Documents\\a.zsf"}), 0);
  EXPECT_EQ(Run({"unmount", "\\My Documents\\a.zsf"}), 1);
  EXPECT_EQ(Message(), "This folder is not mounted.");
  EXPECT_EQ(Run({"read", "\\My Documents\\a.zsf", "3"}), 1);
  EXPECT_EQ(Message(), "This folder is not mounted.");
  // Enciphered on disk: the plaintext is nowhere in the container.
  EXPECT_EQ(ReadFile(Host(u"\\My Documents\\a.zsf")).find("hello"), std::string::npos);

  ASSERT_EQ(Run({"mount", "\\My Documents\\a.zsf"}, {"pw"}), 0);
  EXPECT_EQ(out_.str(), "mounted \\My Documents\\a.zsf as Vault on VDD0:\n");  // name kept
  ASSERT_EQ(Run({"read", "\\My Documents\\a.zsf", "3", "--out", outFile}), 0);
  EXPECT_EQ(ReadFile(outFile), std::string("hello") + std::string(507, '\0'));
  ASSERT_EQ(Run({"unmount", "\\My Documents\\a.zsf"}), 0);
}

TEST_F(Zsf, MountShowsTheProgramsMessagesOnFailure) {
  ASSERT_EQ(
      Run({"create", "\\My Documents\\a.zsf", "--size", "256", "--cipher", "rc5"}, {"pw", "pw"}),
      0);
  EXPECT_EQ(Run({"mount", "\\My Documents\\a.zsf"}, {"wrong"}), 1);
  EXPECT_EQ(Message(), "Invalid Password");
  EXPECT_EQ(prompt_.last().flags, platform::MB_OK | platform::MB_ICONERROR);

  // A file that is not yet listed joins the list when it is mounted, as with "Open...".
  std::ofstream(Host(u"\\My Documents\\junk.zsf")) << std::string(600, 'j');
  EXPECT_EQ(Run({"mount", "\\My Documents\\junk.zsf"}, {"pw"}), 1);
  EXPECT_EQ(Message(), "This is not a Quillmark Security file!");
  folders::VolumeRecord record{};
  EXPECT_EQ(folders::FindVolumeEntry(record, u"\\My Documents\\junk.zsf"), folders::kNoEntry);
}

TEST_F(Zsf, PasswdChecksTheOldPasswordAndTheRetypedNewOne) {
  ASSERT_EQ(Run({"create", "\\My Documents\\a.zsf", "--size", "256", "--cipher", "rijndael-256"},
                {"old", "old"}),
            0);
  EXPECT_EQ(Run({"passwd", "\\My Documents\\a.zsf"}, {"bad", "new", "new"}), 1);
  EXPECT_EQ(Message(), "Old password is invalid!");
  EXPECT_EQ(Run({"passwd", "\\My Documents\\a.zsf"}, {"old", "new", "neW"}), 1);
  EXPECT_EQ(Message(), "Two passwords are not same. Try again.");
  EXPECT_EQ(Run({"passwd", "\\My Documents\\a.zsf"}, {"old", "", ""}), 1);
  EXPECT_EQ(Message(), "A new password is required.");
  ASSERT_EQ(Run({"passwd", "\\My Documents\\a.zsf"}, {"old", "new", "new"}), 0)
      << prompt_.last().text;
  folders::VolumeRecord record{};
  ASSERT_EQ(folders::FindVolumeEntry(record, u"\\My Documents\\a.zsf"), folders::kEntryValid);
  EXPECT_TRUE(folders::VerifyPassword(record, u"new"));
  EXPECT_FALSE(folders::VerifyPassword(record, u"old"));

  ASSERT_EQ(Run({"mount", "\\My Documents\\a.zsf"}, {"new"}), 0) << prompt_.last().text;
  EXPECT_EQ(Run({"passwd", "\\My Documents\\a.zsf"}, {"new", "x", "x"}), 1);
  EXPECT_EQ(Message(), "This folder is mounted.\nUnmount it first.");
  ASSERT_EQ(Run({"unmount", "\\My Documents\\a.zsf"}), 0);
}

TEST_F(Zsf, TimeoutChangesOnlyTheTimeoutField) {
  ASSERT_EQ(
      Run({"create", "\\My Documents\\a.zsf", "--size", "256", "--cipher", "rc5"}, {"pw", "pw"}),
      0);
  const std::string before = ReadFile(Host(u"\\My Documents\\a.zsf"));
  ASSERT_EQ(Run({"timeout", "\\My Documents\\a.zsf", "120"}), 0);
  const std::string after = ReadFile(Host(u"\\My Documents\\a.zsf"));
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i)
    if (i < 32 || i >= 36) {
      ASSERT_EQ(after[i], before[i]) << i;
    }
  EXPECT_EQ(after.substr(32, 4), std::string("\x78\0\0\0", 4));
  EXPECT_EQ(Run({"timeout", "\\My Documents\\a.zsf", "12960001"}), 1);
  EXPECT_EQ(Message(), "Timeout is too large!");
}

TEST_F(Zsf, DriverIsInstalledFromTheProgramFolderOnlyWhenMissing) {
  RemoveDriver();
  const std::string target = folder_.path() + "/device/Windows/Secvol.so";
  EXPECT_EQ(folders::InstallDriver(folder_.path() + "/nowhere"), platform::ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(fs::exists(target));
  fs::remove(folder_.path() + "/device/Windows");
  EXPECT_EQ(folders::InstallDriver(bin_), 0u);
  EXPECT_EQ(fs::file_size(target), fs::file_size(bin_ + "/Secvol.so"));
  std::ofstream(target, std::ios::trunc) << "already there";
  EXPECT_EQ(folders::InstallDriver(bin_), 0u);
  EXPECT_EQ(ReadFile(target), "already there");  // an installed driver is left alone
}

}  // namespace
}  // namespace zsf
