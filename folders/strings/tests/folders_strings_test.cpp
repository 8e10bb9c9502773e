// The folder program's string table: numbers, exact texts, language module.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <set>
#include <string>

#include "folders/strings/FoldersStrings.h"
#include "platform/Errors.h"

namespace folders {
namespace {

TEST(FoldersStrings, MessagesCarryExactTextsUnderTheirNumbers) {
  EXPECT_EQ(FoldersText(49), u"Quillmark Coffer");
  EXPECT_EQ(FoldersText(50), u"Invalid Password");
  EXPECT_EQ(FoldersText(51), u"Cannot locate /Windows/ZSCrypt.dll");
  EXPECT_EQ(FoldersText(52), u"This cipher is not supported.");
  EXPECT_EQ(FoldersText(53), u"Cannot locate /Windows/Secvol.dll");
  EXPECT_EQ(FoldersText(58), u"Cannot create new file.\nNot enought free space");
  EXPECT_EQ(FoldersText(63), u"Specified file not found!\nCheck path.");
  EXPECT_EQ(FoldersText(71), u"Specified file already exists.\nDo you want to overwrite it?");
  EXPECT_EQ(FoldersText(73),
            u"Too many folders are opened.\nIt is impossible to mount more \nthan 10 folders at "
            u"the same time.");
  EXPECT_EQ(FoldersText(83), u"Cannot find specified file.");
  EXPECT_EQ(FoldersText(90), u"Not enough free space to change the password.");
  EXPECT_EQ(FoldersTextUtf8(20), "Size(KB)");
  EXPECT_EQ(FoldersTextUtf8(62), "Are you sure you want to delete '");
}

TEST(FoldersStrings, EveryNumberOfTheProgramIsPresentAndNoOther) {
  const std::set<uint32_t> expected = {2,  5,  6,  7,  8,  9,  10, 11, 20, 21, 25, 26,
                                       27, 30, 31, 40, 41, 42, 43, 44, 45, 46, 48, 49,
                                       50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61,
                                       62, 63, 67, 69, 70, 71, 72, 73, 83, 90, 91};
  std::set<uint32_t> ids;
  for (const auto& entry : FoldersOwnStrings()) {
    EXPECT_TRUE(ids.insert(entry.id).second) << "duplicate " << entry.id;
    EXPECT_NE(entry.text[0], u'\0') << "empty text " << entry.id;
  }
  EXPECT_EQ(ids, expected);
  EXPECT_EQ(FoldersText(1), u"");
  EXPECT_EQ(FoldersText(74), u"");
}

TEST(FoldersStrings, LanguageModuleReplacesTheWholeTableUntilUnloaded) {
  const char* bin = std::getenv("SUITE_BIN");
  ASSERT_NE(bin, nullptr);
  ::setenv("QM_MODULE_PATH", bin, 1);
  ASSERT_EQ(LoadFoldersLanguage("FoldersTestLoc.dll"), 0u);
  EXPECT_EQ(FoldersText(49), u"Tresor");
  EXPECT_EQ(FoldersText(50), u"Falsches Passwort");
  EXPECT_EQ(FoldersText(52), u"");  // no per-string fallback on the handheld program
  UnloadFoldersLanguage();
  EXPECT_EQ(FoldersText(49), u"Quillmark Coffer");
  ::unsetenv("QM_MODULE_PATH");
}

TEST(FoldersStrings, MissingLanguageModuleKeepsTheOwnTable) {
  EXPECT_EQ(LoadFoldersLanguage("FoldersAbsentLoc.dll"), platform::ERROR_MOD_NOT_FOUND);
  EXPECT_EQ(FoldersText(50), u"Invalid Password");
}

}  // namespace
}  // namespace folders
