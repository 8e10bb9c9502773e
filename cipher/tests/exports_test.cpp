// The module's exported surface: its Windows name, the fifteen names, nothing else.
#include <gtest/gtest.h>

#include <set>

#include "cipher/tests/ElfSymbols.h"
#include "cipher/tests/ZSCryptLibrary.h"
#include "platform/Errors.h"

namespace cipher::test {
namespace {

std::set<std::string> FifteenNames() {
  std::set<std::string> names;
  for (const auto& prefix : kPrefixes)
    for (const char* op : {"CreateKey", "Encrypt", "Decrypt"}) names.insert(prefix + op);
  return names;
}

TEST(ZSCryptExports, LoadsByWindowsNameAndResolvesAllFifteen) {
  platform::Module m;
  ASSERT_EQ(m.Load("ZSCrypt.dll", {BinFolder()}), 0u);
  EXPECT_EQ(m.path(), BinFolder() + "/ZSCrypt.so");
  const auto names = FifteenNames();
  ASSERT_EQ(names.size(), 15u);
  for (const auto& name : names) EXPECT_NE(m.Symbol(name.c_str()), nullptr) << name;
  // Names are exact: the loader does not fold case or strip prefixes.
  EXPECT_EQ(m.Symbol("rc4_createkey"), nullptr);
  EXPECT_EQ(platform::GetLastError(), platform::ERROR_PROC_NOT_FOUND);
  EXPECT_EQ(m.Symbol("Rc4CreateKey"), nullptr);
  EXPECT_TRUE(m.Unload());
}

TEST(ZSCryptExports, DynamicSymbolTableDefinesOnlyTheFifteen) {
  std::vector<std::string> defined;
  std::string error;
  ASSERT_TRUE(DefinedDynamicSymbols(BinFolder() + "/ZSCrypt.so", defined, error)) << error;
  std::set<std::string> ours;
  for (const auto& name : defined)
    if (name != "_init" && name != "_fini") ours.insert(name);  // the linker's own
  EXPECT_EQ(ours, FifteenNames());
}

}  // namespace
}  // namespace cipher::test
