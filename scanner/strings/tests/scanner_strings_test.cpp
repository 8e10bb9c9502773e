// The scanner's own texts: numbers, exact wording and the lookup.
#include <gtest/gtest.h>

#include <vector>

#include "scanner/strings/ScannerStrings.h"

namespace scanner {
namespace {

TEST(ScannerStrings, TextsTheRunWritesAreExact) {
  EXPECT_EQ(ScannerText(kMsgCaption), u"Quillmark Anti-Virus");
  EXPECT_EQ(ScannerText(kMsgInfectedWith), u"Infected with ");
  EXPECT_EQ(ScannerText(kMsgMoved), u"Moved to \"Infected\"");
  EXPECT_EQ(ScannerText(kMsgLowBattery),
            u"Battery power is lower then 20%. Do you want to perform scan?");
  EXPECT_EQ(ScannerText(105), u"Path to \"Infected\" forlder is invalid.\nEnter another path.");
  EXPECT_EQ(ScannerText(16), u"Scan cards && network folders");
}

TEST(ScannerStrings, OwnTableHoldsExactlyTheProgramsNumbersInOrder) {
  // 8 and 9 (the About box's notice and address) have no text of their own.
  const std::vector<uint32_t> expected = {
      1,   2,   3,   4,   5,   6,   7,   10,  11,  12,  13,  14,  15,  16,  30,
      31,  32,  33,  34,  35,  51,  52,  53,  54,  55,  56,  57,  58,  59,  60,
      61,  62,  63,  71,  72,  73,  74,  75,  89,  90,  91,  92,  93,  95,  96,
      100, 101, 102, 103, 104, 105, 115, 116, 117, 118, 119, 120, 121, 122, 123};
  std::vector<uint32_t> ids;
  for (const platform::DeviceString& s : ScannerOwnStrings()) ids.push_back(s.id);
  EXPECT_EQ(ids, expected);
}

TEST(ScannerStrings, LineBreaksAreLineFeedsNotBackslashes) {
  for (const platform::DeviceString& s : ScannerOwnStrings())
    EXPECT_EQ(std::u16string_view(s.text).find(u'\\'), std::u16string_view::npos) << s.id;
  for (uint32_t id : {1u, 71u, 73u, 93u, 105u})
    EXPECT_NE(ScannerText(id).find(u'\n'), std::u16string::npos) << id;
}

TEST(ScannerStrings, UnknownNumberIsEmpty) {
  EXPECT_TRUE(ScannerText(94).empty());
  EXPECT_FALSE(ScannerStrings().languageLoaded());
}

TEST(ScannerStrings, MissingLanguageModuleLeavesOwnTexts) {
  EXPECT_NE(ScannerStrings().LoadLanguage("zepppc_loc_absent.dll"), 0u);
  EXPECT_EQ(ScannerText(kMsgCannotOpenFile), u"Cannot open file.");
}

}  // namespace
}  // namespace scanner
