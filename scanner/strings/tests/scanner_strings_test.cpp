// The scanner's own texts: numbers, exact wording and the lookup.
#include <gtest/gtest.h>

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

TEST(ScannerStrings, OwnTableIsSortedAndCoversEveryNumber) {
  const auto own = ScannerOwnStrings();
  for (size_t i = 1; i < own.size(); ++i) EXPECT_LT(own[i - 1].id, own[i].id);
  for (uint32_t id : {1u, 7u, 35u, 63u, 89u, 104u, 123u})
    EXPECT_NE(ScannerStrings().Own(id), nullptr) << id;
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
