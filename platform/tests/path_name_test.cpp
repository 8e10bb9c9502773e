// Path text helpers: splitting with containment, name checks and listing patterns.
#include <gtest/gtest.h>

#include <vector>

#include "platform/PathName.h"

namespace platform {
namespace {

std::vector<std::string> Parts(std::string_view path) {
  std::vector<std::string> out;
  for (auto p : SplitComponents(path)) out.emplace_back(p);
  return out;
}

TEST(PathName, SplitDropsEmptyAndDotAndNeverClimbsAboveTheStart) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Parts("\\a\\\\b/./c\\"), (V{"a", "b", "c"}));
  EXPECT_EQ(Parts("\\a\\..\\b"), (V{"b"}));
  EXPECT_EQ(Parts("..\\..\\x"), (V{"x"}));
  EXPECT_EQ(Parts("\\a\\b\\..\\..\\..\\..\\c\\.."), V{});
  EXPECT_EQ(Parts("...\\x"), (V{"...", "x"}));
}

TEST(PathName, NamesWindowsRefusesAreInvalid) {
  EXPECT_TRUE(IsValidName("Storage Card"));
  EXPECT_TRUE(IsValidName("été.txt"));
  EXPECT_TRUE(IsValidName("..."));
  for (const char* bad :
       {"", ".", "..", "a\\b", "a/b", "a:b", "a*", "a?", "a<", "a>", "a|", "a\"", "a\tb"})
    EXPECT_FALSE(IsValidName(bad)) << bad;
}

TEST(PathName, FoldingIsOneCaseForAsciiAndOtherLetters) {
  EXPECT_EQ(FoldName("ReadMe.TXT"), "readme.txt");
  EXPECT_EQ(FoldName("ÉTÉ"), FoldName("été"));
  EXPECT_EQ(FoldName("ПАПКА"), FoldName("папка"));
}

TEST(PathName, PatternsFollowTheListingRules) {
  EXPECT_TRUE(MatchPattern("*", "anything"));
  EXPECT_TRUE(MatchPattern("*.*", "noext"));
  EXPECT_TRUE(MatchPattern("*.exe", "CALC.EXE"));
  EXPECT_FALSE(MatchPattern("*.exe", "calc.exe.txt"));
  EXPECT_TRUE(MatchPattern("*.exe", "a.b.exe"));
  EXPECT_TRUE(MatchPattern("a?c", "abc"));
  EXPECT_FALSE(MatchPattern("a?c", "ac"));
  EXPECT_TRUE(MatchPattern("readme.*", "README"));
  EXPECT_TRUE(MatchPattern("*a*b*c*", "xxaxxbxxcxx"));
  EXPECT_FALSE(MatchPattern("*a*b*c*", "xxaxxcxxbxx"));
  EXPECT_TRUE(MatchPattern("é*", "Été"));
  EXPECT_FALSE(MatchPattern("", "a"));
}

TEST(PathName, PatternMatchingStaysLinearOnHostileInput) {
  const std::string name(20000, 'a');
  EXPECT_FALSE(MatchPattern("*a*a*a*a*a*a*a*a*b", name));
}

}  // namespace
}  // namespace platform
