// The folder walk: what is counted, entered, skipped and reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/FileSystem.h"
#include "scanner/scanrun/tests/ScanFixture.h"

namespace scanner::testing {
namespace {

using Walker = ScanFixture;

TEST_F(Walker, CountsEveryFileAndFolderAndFindsTheVirus) {
  Device("a.txt");
  Device("Docs/b.txt");
  Device("Docs/Deep/evil.bin", Infected());
  EXPECT_EQ(Walk(), 0);
  const Scanner& s = *scanner_;
  EXPECT_EQ(s.files, 3);
  EXPECT_EQ(s.folders, 3);
  EXPECT_EQ(s.virusesFound, 1);
  EXPECT_EQ(s.errors, 0);
  EXPECT_EQ(ResultTexts(),
            (std::vector<std::u16string>{u"\\Docs\\Deep\\evil.bin : Infected with Alpha"}));
}

TEST_F(Walker, ExcludeMaskWinsOverAllFiles) {
  Device("keep.txt");
  Device("skip.tmp", Infected());
  Scanner& s = *scanner_;
  s.flags = kScanAllFiles | kScanExcludeMask;
  platform::CopyToField(s.excludeMask, u"*.tmp");
  Walk();
  EXPECT_EQ(s.files, 1);
  EXPECT_EQ(s.virusesFound, 0);
}

TEST_F(Walker, OnlyProgramsScansByContentNotByName) {
  std::string program(0x100, '\0');
  program[0] = 'M', program[1] = 'Z', program[60] = 0x40;
  program.replace(0x40, 4, std::string("PE\0\0", 4));
  Device("noext", program + Infected());
  Device("looks.exe", Infected());
  scanner_->flags = kScanOnlyPrograms;
  Walk();
  EXPECT_EQ(scanner_->files, 1);
  EXPECT_EQ(ResultTexts(), (std::vector<std::u16string>{u"\\noext : Infected with Alpha"}));
}

TEST_F(Walker, RomFilesAreSkippedUnlessRomFlagEvenWithAllFiles) {
  MountRom("Windows", "rom");
  Put("rom/ship.dll", Infected());
  Device("ram.txt");
  scanner_->flags = kScanAllFiles;
  Walk();
  EXPECT_EQ(scanner_->files, 1);
  EXPECT_EQ(scanner_->virusesFound, 0);

  scanner_->files = scanner_->virusesFound = 0;
  scanner_->flags = kScanAllFiles | kScanRomFiles;
  Walk();
  EXPECT_EQ(scanner_->files, 2);
  EXPECT_EQ(scanner_->virusesFound, 1);
}

TEST_F(Walker, CardFolderIsSkippedWithoutCardFlag) {
  MountCard("Storage Card", "card");
  Put("card/evil.bin", Infected());
  Put("card/Sub/x.txt", "x");
  Walk();
  const Scanner& s = *scanner_;
  EXPECT_EQ(s.cards, 0);
  EXPECT_EQ(s.folders, 1);
  EXPECT_EQ(s.files, 0);
  EXPECT_EQ(recorder_.CountProgress(kProgressCard), 0u);
}

TEST_F(Walker, CardFolderCountsOnceAsCardAndOnceAsFolderWithCardFlag) {
  MountCard("Storage Card", "card");
  Put("card/evil.bin", Infected());
  scanner_->flags = kScanAllFiles | kScanCards;
  Walk();
  const Scanner& s = *scanner_;
  EXPECT_EQ(s.cards, 1);
  EXPECT_EQ(s.folders, 2);
  EXPECT_EQ(s.files, 1);
  EXPECT_EQ(s.virusesFound, 1);
  EXPECT_EQ(recorder_.CountProgress(kProgressCard), 1u);
}

TEST_F(Walker, InfectedFolderAndAllBelowAreNeverWalkedOrCounted) {
  Device("Infected/old.bin", Infected());
  Device("Infected/Sub/older.bin", Infected());
  Device("clean.txt");
  // Stored in another letter case and with forward slashes, it is still the same folder.
  platform::CopyToField(scanner_->infectedPath, u"/INFECTED/");
  Walk();
  EXPECT_EQ(scanner_->folders, 1);
  EXPECT_EQ(scanner_->files, 1);
  EXPECT_EQ(scanner_->virusesFound, 0);
}

TEST_F(Walker, MoreThanSixteenPendingFoldersAreWalkedCompletely) {
  for (int i = 0; i < 40; ++i) Device("Many/F" + std::to_string(i) + "/file.txt");
  Device("Many/F7/Inner/evil.bin", Infected());
  Walk();
  const Scanner& s = *scanner_;
  EXPECT_EQ(s.folders, 1 + 1 + 40 + 1);
  EXPECT_EQ(s.files, 41);
  EXPECT_EQ(s.virusesFound, 1);
}

TEST_F(Walker, SubfoldersComeAfterTheFolderLastFoundFirst) {
  Device("A/a.txt");
  Device("root.txt");
  Walk();
  // Root is entered, its file scanned, and only then its subfolder.
  const auto m = recorder_.Messages();
  ASSERT_EQ(m.size(), 4u);
  EXPECT_EQ(m[0], P(kProgressFolder));
  EXPECT_EQ(m[1], P(kProgressFile));
  EXPECT_EQ(m[2], P(kProgressFolder));
  EXPECT_EQ(m[3], P(kProgressFile));
}

TEST_F(Walker, EmptyFileIsAnErrorWithCannotOpenFile) {
  Device("empty.txt", "");
  Walk();
  const Scanner& s = *scanner_;
  EXPECT_EQ(s.errors, 1);
  EXPECT_EQ(s.files, 0);
  EXPECT_EQ(recorder_.CountProgress(kProgressFileError), 1u);
  EXPECT_EQ(ResultTexts(), (std::vector<std::u16string>{u"\\empty.txt : Cannot open file."}));
}

TEST_F(Walker, StatusTextAndRowsKeepTheRealLetterCase) {
  Device("Docs/Evil.BIN", Infected(kBetaSignature));
  Walk();
  EXPECT_EQ(ResultTexts(), (std::vector<std::u16string>{u"\\Docs\\Evil.BIN : Infected with Beta"}));
  bool sawStatus = false;
  for (const Event& e : recorder_.events())
    sawStatus |= e.kind == Event::Status && e.text == u"\\Docs\\Evil.BIN";
  EXPECT_TRUE(sawStatus);
}

TEST_F(Walker, FileCounterIsRaisedBeforeItsMessage) {
  Device("a.txt");
  Device("b.txt");
  std::vector<int32_t> seen;
  recorder_.onProgress = [&](uint32_t first) {
    if (first == kProgressFile) seen.push_back(scanner_->files);
  };
  Walk();
  EXPECT_EQ(seen, (std::vector<int32_t>{1, 2}));
}

TEST_F(Walker, StopRequestEndsTheWalkAtTheNextFile) {
  Device("a.txt");
  Device("b.txt");
  scanner_->stopRequested = true;
  EXPECT_EQ(Walk(), kScanStopped);
  EXPECT_EQ(scanner_->files, 0);
  EXPECT_EQ(scanner_->folders, 1);
}

}  // namespace
}  // namespace scanner::testing
