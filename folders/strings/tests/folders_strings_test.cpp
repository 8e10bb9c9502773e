// The folder program's string table: numbers, exact texts, language module.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <set>
#include <string>

#include "folders/strings/FoldersStrings.h"
#include "platform/Errors.h"

namespace folders {
namespace {

struct Expected {
  uint32_t id;
  const char16_t* text;
};

// Every text the program shows, as the user must see it.
constexpr Expected kExpected[] = {
    {2, u"File"},
    {5, u"New"},
    {6, u"Open"},
    {7, u"Delete"},
    {8, u"Mount"},
    {9, u"Unmount"},
    {10, u"Properties"},
    {11, u"Change password"},
    {20, u"Size(KB)"},
    {21, u"Algorithm"},
    {25, u"Folder"},
    {26, u"Location"},
    {27, u"Encryption"},
    {30, u"Encryption algorithm"},
    {31, u"TimeOut"},
    {40, u"Size"},
    {41, u"Password"},
    {42, u"Re-type"},
    {43, u"Main memory"},
    {44, u"Old password"},
    {45, u"New password"},
    {46, u"version"},
    {48, u"About Quillmark Coffer"},
    {49, u"Quillmark Coffer"},
    {50, u"Invalid Password"},
    {51, u"Cannot locate /Windows/ZSCrypt.dll"},
    {52, u"This cipher is not supported."},
    {53, u"Cannot locate /Windows/Secvol.dll"},
    {54, u"A filename is required to create new folder"},
    {55, u"A password is required to create new folder"},
    {56, u"Two passwords are not same. Try again."},
    {57, u"Old password is invalid!"},
    {58, u"Cannot create new file.\nNot enought free space"},
    {61, u"This is not a Quillmark Security file!"},
    {62, u"Are you sure you want to delete '"},
    {63, u"Specified file not found!\nCheck path."},
    {67, u"Too small disk size specified!"},
    {69, u"Timeout must be greater then 0!"},
    {70, u"Timeout is too large!"},
    {71, u"Specified file already exists.\nDo you want to overwrite it?"},
    {72, u"This file is already in list."},
    {73,
     u"Too many folders are opened.\nIt is impossible to mount more \nthan 10 folders at the same "
     u"time."},
    {83, u"Cannot find specified file."},
    {90, u"Not enough free space to change the password."},
    {91, u"A new password is required."},
};

TEST(FoldersStrings, MessagesCarryExactTextsUnderTheirNumbers) {
  for (const Expected& e : kExpected) EXPECT_EQ(FoldersText(e.id), e.text) << e.id;
  EXPECT_EQ(FoldersTextUtf8(73),
            "Too many folders are opened.\nIt is impossible to mount more \nthan 10 folders at "
            "the same time.");
  // The move failure is 59 + old path + 60 + new path + "'".
  EXPECT_EQ(FoldersText(59) + u"\\a.zsf" + FoldersText(60) + u"\\b.zsf'",
            u"Cannot move file '\\a.zsf' to '\\b.zsf'");
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
