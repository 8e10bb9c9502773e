// Loading modules by their Windows names: file names, search order, symbols and failures.
#include "platform/Module.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Errors.h"
#include "platform/testing/TempFolder.h"

namespace platform {
namespace {

std::string BinDir() {
  const char* bin = std::getenv("SUITE_BIN");
  return bin ? bin : ProgramFolder() + "/../bin";
}

TEST(Module, WindowsNamesMapToSharedObjects) {
  EXPECT_EQ(ModuleFileName("ZSCrypt.dll"), "ZSCrypt.so");
  EXPECT_EQ(ModuleFileName("Update.EXE"), "Update.so");
  EXPECT_EQ(ModuleFileName("dir\\UserData.dll"), "dir/UserData.so");
  EXPECT_EQ(ModuleFileName("plain"), "plain.so");
}

TEST(Module, LoadsByWindowsNameFromAGivenFolderAndResolves) {
  Module m;
  ASSERT_EQ(m.Load("SampleModule.dll", {BinDir()}), 0u);
  auto fn = m.Function<int (*)()>("SampleAnswer");
  ASSERT_NE(fn, nullptr);
  EXPECT_EQ(fn(), 42);
  EXPECT_EQ(m.Symbol("NotThere"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_TRUE(m.Unload());
  EXPECT_FALSE(m.Unload());
}

TEST(Module, MissingModuleSets126) {
  Module m;
  EXPECT_EQ(m.Load("NoSuchModule.dll", {BinDir()}), ERROR_MOD_NOT_FOUND);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  EXPECT_FALSE(m.loaded());
}

TEST(Module, ProgramFolderComesBeforeTheGivenFolder) {
  testing::TempFolder given{"qm-module"};
  const std::string sample = BinDir() + "/SampleModule.so";
  const std::string inGiven = given.path() + "/OrderProbe.so";
  const std::string inProgram = ProgramFolder() + "/OrderProbe.so";
  std::filesystem::copy_file(sample, inGiven);
  std::filesystem::copy_file(sample, inProgram, std::filesystem::copy_options::overwrite_existing);
  Module m;
  const uint32_t first = m.Load("OrderProbe.dll", {given.path()});
  const std::string firstPath = m.path();
  m.Unload();
  std::filesystem::remove(inProgram);
  const uint32_t second = m.Load("OrderProbe.dll", {given.path()});
  EXPECT_EQ(first, 0u);
  EXPECT_EQ(firstPath, inProgram);
  EXPECT_EQ(second, 0u);
  EXPECT_EQ(m.path(), inGiven);
}

TEST(Module, FileThatIsNoSharedObjectGivesBadFormatAndEndsTheSearch) {
  testing::TempFolder given{"qm-module"};
  std::ofstream(given.path() + "/SampleModule.so") << "not a library";
  Module m;
  // The real SampleModule.so in BinDir() comes later and is not tried.
  EXPECT_EQ(m.Load("SampleModule.dll", {given.path(), BinDir()}), ERROR_BAD_EXE_FORMAT);
  EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT);
  EXPECT_FALSE(m.loaded());
  EXPECT_EQ(m.Load(given.path() + "/SampleModule.dll"), ERROR_BAD_EXE_FORMAT);
}

TEST(Module, DesktopDrivePathsResolveLikeOtherDesktopPaths) {
  testing::TempFolder drive{"qm-module"};
  ::setenv("QM_DRIVE_C", drive.path().c_str(), 1);
  std::filesystem::create_directories(drive.path() + "/Program Files/ZEPP");
  std::filesystem::copy_file(BinDir() + "/SampleModule.so",
                             drive.path() + "/Program Files/ZEPP/SampleModule.so");
  Module m;
  EXPECT_EQ(m.Load("C:\\program files\\zepp\\samplemodule.DLL"), 0u);
  EXPECT_EQ(m.path(), drive.path() + "/Program Files/ZEPP/SampleModule.so");
  EXPECT_EQ(m.Load("c:/Program Files/ZEPP/SampleModule.dll"), 0u);
  EXPECT_EQ(m.Load("C:\\Program Files\\ZEPP\\Dodo_voz.dll"), ERROR_MOD_NOT_FOUND);
  EXPECT_EQ(m.Load("C:\\Missing\\SampleModule.dll"), ERROR_MOD_NOT_FOUND);
  EXPECT_EQ(m.Load("Q:\\SampleModule.dll"), ERROR_MOD_NOT_FOUND);  // no such drive
  EXPECT_FALSE(m.loaded());
  ::unsetenv("QM_DRIVE_C");
}

}  // namespace
}  // namespace platform
