#include "platform/Module.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Errors.h"

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

}  // namespace
}  // namespace platform
