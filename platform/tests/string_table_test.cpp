#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Errors.h"
#include "platform/StringTable.h"

namespace platform {
namespace {

constexpr DeviceString kDeviceOwn[] = {
    {1, u"Quillmark Anti-Virus\nfor PocketPC"},
    {5, u"Quillmark Anti-Virus"},
    {9, u"Own only"},
    {10, u"Surrogate \U0001F600!"},
};
static_assert(HasUniqueIds(kDeviceOwn));

constexpr DesktopString kDesktopOwn[] = {
    {1, "Quillmark Anti-Virus for PalmOS"},
    {202, "Update failed"},
    {204, "No update path is specified!"},
};
static_assert(HasUniqueIds(kDesktopOwn));

constexpr DesktopString kDuplicate[] = {{3, "a"}, {4, "b"}, {3, "c"}};
static_assert(!HasUniqueIds(kDuplicate));

std::string BinDir() {
  const char* bin = std::getenv("SUITE_BIN");
  return bin ? bin : ProgramFolder() + "/../bin";
}

TEST(StringTable, OwnTableServesWithoutLanguageModule) {
  DeviceStringTable t(kDeviceOwn, LanguageRule::WholeTable);
  EXPECT_FALSE(t.languageLoaded());
  EXPECT_EQ(t.Get(5), u"Quillmark Anti-Virus");
  EXPECT_EQ(t.Get(1), u"Quillmark Anti-Virus\nfor PocketPC");
  EXPECT_EQ(t.Get(77), u"");
  std::u16string out = u"untouched";
  EXPECT_FALSE(t.Find(77, out));
  EXPECT_EQ(out, u"untouched");
}

TEST(StringTable, MissingLanguageModuleKeepsOwnTable) {
  DesktopStringTable t(kDesktopOwn, LanguageRule::WholeTable);
  EXPECT_EQ(t.LoadLanguage("Dodo_voz_absent.dll", {BinDir()}), ERROR_MOD_NOT_FOUND);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  EXPECT_FALSE(t.languageLoaded());
  EXPECT_EQ(t.Get(204), "No update path is specified!");
}

TEST(StringTable, ModuleWithoutLookupIsRefusedAndOwnTableKept) {
  DesktopStringTable t(kDesktopOwn, LanguageRule::WholeTable);
  EXPECT_EQ(t.LoadLanguage("SampleModule.dll", {BinDir()}), ERROR_PROC_NOT_FOUND);
  EXPECT_FALSE(t.languageLoaded());
  EXPECT_EQ(t.Get(1), "Quillmark Anti-Virus for PalmOS");
}

TEST(StringTable, LoadedModuleReplacesWholeTableWithoutPerStringFallback) {
  DesktopStringTable t(kDesktopOwn, LanguageRule::WholeTable);
  ASSERT_EQ(t.LoadLanguage("TestLoc8.dll", {BinDir()}), 0u);
  EXPECT_EQ(t.Get(1), "Обновление");
  EXPECT_EQ(t.Get(204), "Путь обновления не задан!");
  // 202 is only in the own table: with the module loaded it is absent.
  std::string out;
  EXPECT_FALSE(t.Find(202, out));
  char buffer[64] = "sentinel";
  EXPECT_EQ(t.Load(202, buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "");
  // The own table stays reachable directly (the conduit's name check).
  EXPECT_STREQ(t.Own(202), "Update failed");
  EXPECT_EQ(t.Own(999), nullptr);
}

TEST(StringTable, PerStringRuleFallsBackToOwnTextForMissingIds) {
  DeviceStringTable t(kDeviceOwn, LanguageRule::PerString);
  ASSERT_EQ(t.LoadLanguage("TestLoc16.dll", {BinDir()}), 0u);
  EXPECT_EQ(t.Get(5), u"Quillmark Антивирус");
  EXPECT_EQ(t.Get(9), u"Own only");
  EXPECT_EQ(t.Get(77), u"");
}

TEST(StringTable, EmptyTextInModuleIsPresentButLoadsNothing) {
  DeviceStringTable t(kDeviceOwn, LanguageRule::PerString);
  ASSERT_EQ(t.LoadLanguage("TestLoc16.dll", {BinDir()}), 0u);
  std::u16string out = u"x";
  EXPECT_TRUE(t.Find(7, out));
  EXPECT_EQ(out, u"");
  char16_t buffer[8] = u"xxxxxxx";
  EXPECT_EQ(t.Load(7, buffer, 8), 0u);
  EXPECT_EQ(buffer[0], u'\0');
}

TEST(StringTable, UnloadReturnsToOwnTable) {
  DeviceStringTable t(kDeviceOwn, LanguageRule::WholeTable);
  ASSERT_EQ(t.LoadLanguage("TestLoc16.dll", {BinDir()}), 0u);
  EXPECT_EQ(t.Get(9), u"");
  t.UnloadLanguage();
  EXPECT_FALSE(t.languageLoaded());
  EXPECT_EQ(t.Get(9), u"Own only");
}

TEST(StringTable, ModuleOfOtherWidthIsConverted) {
  DesktopStringTable desktop(kDesktopOwn, LanguageRule::WholeTable);
  ASSERT_EQ(desktop.LoadLanguage("TestLoc16.dll", {BinDir()}), 0u);
  EXPECT_EQ(desktop.Get(1), "Антивирус");
  DeviceStringTable device(kDeviceOwn, LanguageRule::WholeTable);
  ASSERT_EQ(device.LoadLanguage("TestLoc8.dll", {BinDir()}), 0u);
  EXPECT_EQ(device.Get(204), u"Путь обновления не задан!");
}

TEST(StringLoader, TruncatesToBufferWithTerminator) {
  DesktopStringTable t(kDesktopOwn, LanguageRule::WholeTable);
  char buffer[8];
  EXPECT_EQ(t.Load(204, buffer, 8), 7u);
  EXPECT_STREQ(buffer, "No upda");
  char exact[29];
  EXPECT_EQ(t.Load(204, exact, sizeof exact), 28u);
  EXPECT_STREQ(exact, "No update path is specified!");
}

TEST(StringLoader, ZeroSizedBufferIsNotWritten) {
  DesktopStringTable t(kDesktopOwn, LanguageRule::WholeTable);
  char buffer[4] = "abc";
  EXPECT_EQ(t.Load(204, buffer, 0), 0u);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(t.Load(204, nullptr, 10), 0u);
}

TEST(StringLoader, CutNeverSplitsACharacter) {
  DeviceStringTable device(kDeviceOwn, LanguageRule::WholeTable);
  char16_t wide[12];  // "Surrogate " is 10 units; the pair does not fit in 11
  EXPECT_EQ(device.Load(10, wide, 12), 10u);
  EXPECT_EQ(std::u16string(wide), u"Surrogate ");
  DesktopStringTable desktop(kDesktopOwn, LanguageRule::WholeTable);
  ASSERT_EQ(desktop.LoadLanguage("TestLoc8.dll", {BinDir()}), 0u);
  char narrow[4];  // "Об" is 4 bytes; only the first letter fits with the terminator
  EXPECT_EQ(desktop.Load(1, narrow, 4), 2u);
  EXPECT_STREQ(narrow, "О");
}

TEST(StringLoader, FreeLoaderFollowsTheRuleGiven) {
  LanguageModule language;
  char buffer[64];
  EXPECT_EQ(LoadString(language, kDesktopOwn, LanguageRule::WholeTable, 202, buffer, 64), 13u);
  EXPECT_STREQ(buffer, "Update failed");
  ASSERT_EQ(language.Load("TestLoc8.dll", {BinDir()}), 0u);
  EXPECT_EQ(LoadString(language, kDesktopOwn, LanguageRule::WholeTable, 202, buffer, 64), 0u);
  EXPECT_EQ(LoadString(language, kDesktopOwn, LanguageRule::PerString, 202, buffer, 64), 13u);
  EXPECT_STREQ(buffer, "Update failed");
}

}  // namespace
}  // namespace platform
