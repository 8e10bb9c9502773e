// HhinstallFile through the loaded "Hhinstall.so" and the Palm Desktop stand-ins.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "installqueue/PalmDesktopApi.h"
#include "outside/palmdesktop/InstallFolder.h"
#include "outside/palmdesktop/PalmUsers.h"
#include "platform/Module.h"
#include "platform/RegKey.h"
#include "platform/testing/TempFolder.h"

namespace {

using platform::testing::TempFolder;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

using HhinstallFileFn = int32_t (*)(const char*, const char*, const char*);

std::string Bin() {
  const char* bin = std::getenv("SUITE_BIN");
  return bin ? bin : ".";
}

class Hhinstall : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("QM_HOME", home_.path().c_str(), 1);
    ::setenv("QM_DESKTOP_REGISTRY", home_.Path("desktop-registry.db").c_str(), 1);
    ::setenv("QM_DRIVE_C", home_.MakeFolder("drive_c").c_str(), 1);
    ::setenv("QM_PALMDESKTOP_LOG", home_.Path("palmdesktop.log").c_str(), 1);
    ASSERT_EQ(palmdesktop::SetDesktopFolder("C:\\Palm"), 0u);
    ASSERT_EQ(module_.Load(Bin() + "/Hhinstall.so"), 0u);
    install_ = module_.Function<HhinstallFileFn>("HhinstallFile");
    ASSERT_NE(install_, nullptr);
    file_ = home_.Write("drive_c/Update/ZEPVE.pdb", "database");
  }

  // Calls: the stand-ins' call log, one entry per line.
  std::vector<std::string> Calls() const {
    std::vector<std::string> lines;
    std::string text = TempFolder::Read(home_.Path("palmdesktop.log"));
    for (size_t start = 0; start < text.size();) {
      const size_t end = text.find('\n', start);
      lines.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    return lines;
  }
  bool Queued(std::string_view user) const {
    return std::filesystem::exists(
        home_.Path("drive_c/Palm/" + std::string(user) + "/Install/ZEPVE.pdb"));
  }
  // EndsUnloaded: both libraries were unloaded after the last call.
  void ExpectBothUnloaded() const {
    const auto calls = Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "Instaide unloaded");
    EXPECT_EQ(calls.back(), "UserData unloaded");
  }

  TempFolder home_{"qm-hhinstall"};
  platform::Module module_;
  HhinstallFileFn install_ = nullptr;
  std::string file_;
};

TEST_F(Hhinstall, ANamedUserGetsTheFileWithoutAnyUserFunctionCalled) {
  ASSERT_EQ(palmdesktop::AddUser("Ann"), 0u);
  EXPECT_EQ(install_(Bin().c_str(), "Ann", "C:\\Update\\ZEPVE.pdb"), 0);
  EXPECT_TRUE(Queued("Ann"));
  EXPECT_THAT(Calls(), ElementsAre("UserData loaded", "Instaide loaded",
                                   "PltInstallFile Ann C:\\Update\\ZEPVE.pdb -> 0",
                                   "Instaide unloaded", "UserData unloaded"));
  // Queued already: the install aid's -512 is the answer.
  EXPECT_EQ(install_(Bin().c_str(), "Ann", file_.c_str()), kInstallAlreadyQueued);
}

TEST_F(Hhinstall, AFirstUserAnsweringAlreadyQueuedStillLetsTheSecondBeHandled) {
  ASSERT_EQ(palmdesktop::AddUser("Ann"), 0u);
  ASSERT_EQ(palmdesktop::AddUser("Bob"), 0u);
  ASSERT_EQ(palmdesktop::QueueInstall("Ann", file_.c_str()), 0);
  EXPECT_EQ(install_(Bin().c_str(), nullptr, file_.c_str()), 0);
  EXPECT_TRUE(Queued("Bob"));
  EXPECT_THAT(Calls(), Contains(HasSubstr("PltInstallFile Ann"))) << "first user";
  EXPECT_THAT(Calls(), Contains(HasSubstr("PltInstallFile Bob"))) << "second user";
  ExpectBothUnloaded();

  // The other way round the last answer, -512, is the result.
  ASSERT_EQ(palmdesktop::AddUser("Cat"), 0u);
  std::filesystem::remove(home_.Path("drive_c/Palm/Ann/Install/ZEPVE.pdb"));
  EXPECT_EQ(install_(Bin().c_str(), nullptr, file_.c_str()), 0) << "Cat is new";
  EXPECT_EQ(install_(Bin().c_str(), nullptr, file_.c_str()), kInstallAlreadyQueued);
}

TEST_F(Hhinstall, WithoutUsersNothingIsInstalledAndTheResultIsZero) {
  EXPECT_EQ(install_(Bin().c_str(), nullptr, file_.c_str()), 0);
  EXPECT_THAT(Calls(), Contains("UmGetUserCount -> 0"));
  EXPECT_THAT(Calls(), Not(Contains(HasSubstr("PltInstallFile"))));
  ExpectBothUnloaded();
}

TEST_F(Hhinstall, AFailingInstallStopsTheLoopWithItsAnswer) {
  ASSERT_EQ(palmdesktop::AddUser("Ann"), 0u);
  ASSERT_EQ(palmdesktop::AddUser("Bob"), 0u);
  EXPECT_EQ(install_(Bin().c_str(), nullptr, "C:\\Update\\Missing.pdb"), 2);
  EXPECT_THAT(Calls(), Not(Contains(HasSubstr("Bob"))));
  ExpectBothUnloaded();
}

TEST_F(Hhinstall, AUserWithoutAnIdStopsTheLoopWithTheLibrarysAnswer) {
  ASSERT_EQ(palmdesktop::AddUser("Ann"), 0u);
  platform::RegKey broken;
  ASSERT_EQ(
      broken.Create(platform::RegRootKey(platform::RegStore::Desktop, platform::HKEY_CURRENT_USER),
                    std::string(palmdesktop::kUsersKey) + "\\Broken"),
      0u);
  broken.Close();
  ASSERT_EQ(palmdesktop::AddUser("Cat"), 0u);
  const int32_t rc = install_(Bin().c_str(), nullptr, file_.c_str());
  EXPECT_NE(rc, 0);
  EXPECT_NE(rc, kInstallAlreadyQueued);
  EXPECT_TRUE(Queued("Ann"));
  EXPECT_FALSE(Queued("Cat"));
  EXPECT_THAT(Calls(), Not(Contains(HasSubstr("UmGetUserName 3"))));
}

TEST_F(Hhinstall, AFolderWithoutTheUserLibraryGivesTheMissingModuleCodeAlone) {
  TempFolder desktop("qm-palm");
  std::filesystem::copy_file(Bin() + "/Instaide.so", desktop.Path("Instaide.so"));
  EXPECT_EQ(install_(desktop.path().c_str(), "Ann", file_.c_str()), 126);
  EXPECT_TRUE(Calls().empty()) << "Instaide.dll must not be loaded";
}

TEST_F(Hhinstall, AFolderWithoutTheInstallAidUnloadsTheUserLibrary) {
  TempFolder desktop("qm-palm");
  std::filesystem::copy_file(Bin() + "/UserData.so", desktop.Path("UserData.so"));
  EXPECT_EQ(install_(desktop.path().c_str(), "Ann", file_.c_str()), 126);
  EXPECT_THAT(Calls(), ElementsAre("UserData loaded", "UserData unloaded"));
}

TEST_F(Hhinstall, AMissingFunctionGivesMinusOneAndCallsNothing) {
  ASSERT_EQ(palmdesktop::AddUser("Ann"), 0u);
  EXPECT_EQ(install_(INCOMPLETE_PALM_DESKTOP, "Ann", file_.c_str()), -1);
  EXPECT_FALSE(Queued("Ann"));
  EXPECT_THAT(Calls(), ElementsAre("UserData loaded", "Instaide loaded", "Instaide unloaded",
                                   "UserData unloaded"));
}

TEST_F(Hhinstall, ADesktopDrivePathNamesTheLibraryFolderToo) {
  ASSERT_EQ(palmdesktop::AddUser("Ann"), 0u);
  const std::string folder = home_.MakeFolder("drive_c/Program Files/Palm");
  std::filesystem::copy_file(Bin() + "/UserData.so", folder + "/UserData.so");
  std::filesystem::copy_file(Bin() + "/Instaide.so", folder + "/Instaide.so");
  EXPECT_EQ(install_("C:\\Program Files\\Palm", nullptr, file_.c_str()), 0);
  EXPECT_TRUE(Queued("Ann"));
  EXPECT_EQ(install_(nullptr, nullptr, file_.c_str()), 87);
}

}  // namespace
