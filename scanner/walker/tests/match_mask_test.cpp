// The single-pass mask test and the consequences its rule fixes.
#include <gtest/gtest.h>

#include "scanner/walker/MatchMask.h"

namespace scanner {
namespace {

TEST(MatchMask, StarStopsAtTheFirstCharacterEqualToItsFollower) {
  EXPECT_TRUE(MatchMask(u"calc.exe", u"*.exe"));
  EXPECT_TRUE(MatchMask(u"readme", u"*.exe"));    // the star never meets a dot
  EXPECT_FALSE(MatchMask(u"a.b.exe", u"*.exe"));  // the first dot ends the star
  EXPECT_FALSE(MatchMask(u"calc.com", u"*.exe"));
}

TEST(MatchMask, RestOfMaskCountsOnlyWhenItStartsWithStar) {
  EXPECT_TRUE(MatchMask(u"ab", u"ab*"));
  EXPECT_TRUE(MatchMask(u"ab", u"ab*cd"));
  EXPECT_TRUE(MatchMask(u"abxcd", u"ab*cd"));
  EXPECT_FALSE(MatchMask(u"ab", u"abc"));
  EXPECT_FALSE(MatchMask(u"abc", u"ab"));  // the mask ends before the name
  EXPECT_TRUE(MatchMask(u"", u""));
  EXPECT_FALSE(MatchMask(u"a", u""));
}

TEST(MatchMask, QuestionMarkTakesAnyOneCharacterAndCaseIsExact) {
  EXPECT_TRUE(MatchMask(u"a1c", u"a?c"));
  EXPECT_FALSE(MatchMask(u"ac", u"a?c"));
  EXPECT_FALSE(MatchMask(u"CALC.EXE", u"*.exe"));
  // "*?" is used up by the first character, so it stands for exactly one.
  EXPECT_TRUE(MatchMask(u"xexe", u"*?exe"));
  EXPECT_FALSE(MatchMask(u"x.exe", u"*?exe"));
}

}  // namespace
}  // namespace scanner
