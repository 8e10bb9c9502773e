// The About box's lines and the label form of control texts, from the own table.
#include <gtest/gtest.h>

#include "scanner/ui/dialogs/DialogTexts.h"

namespace scanner_dialogs {
namespace {

TEST(DialogTexts, DoubledAmpersandsShowAsOne) {
  EXPECT_EQ(DisplayText(u"Scan cards && network folders"), u"Scan cards & network folders");
  EXPECT_EQ(DisplayText(u"a &&&& b"), u"a && b");
  EXPECT_EQ(DisplayText(u"&x & y&"), u"&x & y&");
  EXPECT_EQ(DisplayText(u""), u"");
}

TEST(DialogTexts, AboutJoinsVersionWordAndNumberAndUsesOurOwnMakerLines) {
  const AboutLines lines = AboutText();
  EXPECT_EQ(lines.title, u"Quillmark Anti-Virus\nfor PocketPC");
  EXPECT_EQ(lines.version, u"version 5.0.0.18");
  // The table has no 8 and 9: the maker's lines are ours.
  EXPECT_EQ(lines.notice, kOwnMakerNotice);
  EXPECT_EQ(lines.web, kOwnWebAddress);
}

}  // namespace
}  // namespace scanner_dialogs
