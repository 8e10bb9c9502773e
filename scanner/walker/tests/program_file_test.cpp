// The program test on file contents, and the file filter built on it.
#include <gtest/gtest.h>

#include <string>

#include "scanner/scanrun/tests/ScanFixture.h"
#include "scanner/walker/FileSelection.h"

namespace scanner::testing {
namespace {

// Program: an "MZ" file whose offset at 60 points at a "PE\0\0" mark.
std::string Program(uint32_t headerOffset = 0x80,
                    std::string_view mark = std::string_view("PE\0\0", 4)) {
  std::string bytes(0x100, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  for (int i = 0; i < 4; ++i) bytes[60 + i] = static_cast<char>(headerOffset >> (8 * i));
  if (headerOffset + mark.size() <= bytes.size()) bytes.replace(headerOffset, mark.size(), mark);
  return bytes;
}

using ProgramFile = ScanFixture;

TEST_F(ProgramFile, RecognisedByMarksNotByName) {
  Device("prog.dat", Program());
  Device("fake.exe", "not a program at all, just text");
  EXPECT_EQ(IsProgramFile(u"\\prog.dat"), kIsProgram);
  EXPECT_EQ(IsProgramFile(u"\\fake.exe"), kNotProgram);
}

TEST_F(ProgramFile, HeaderOffsetBelow64OrWrongMarkIsNoProgram) {
  Device("low.exe", Program(63));
  Device("edge.exe", Program(64));
  Device("mark.exe", Program(0x80, std::string_view("PE\0\1", 4)));
  Device("short.exe", "MZ");
  Device("past.exe", Program(0x1000));
  EXPECT_EQ(IsProgramFile(u"\\low.exe"), kNotProgram);
  EXPECT_EQ(IsProgramFile(u"\\edge.exe"), kIsProgram);
  EXPECT_EQ(IsProgramFile(u"\\mark.exe"), kNotProgram);
  EXPECT_EQ(IsProgramFile(u"\\short.exe"), kNotProgram);
  EXPECT_EQ(IsProgramFile(u"\\past.exe"), kNotProgram);
}

TEST_F(ProgramFile, MissingFileGivesThePlatformCode) {
  EXPECT_EQ(IsProgramFile(u"\\nothing.exe"), 2);
}

TEST_F(ProgramFile, OnlyProgramsSelectsByContent) {
  Scanner& s = *scanner_;
  s.flags = kScanOnlyPrograms;
  Device("tool.bin", Program());
  Device("calc.exe", "MZ but nothing else of a program");
  EXPECT_TRUE(IsFileSelected(s, u"\\tool.bin", u"tool.bin"));
  EXPECT_FALSE(IsFileSelected(s, u"\\calc.exe", u"calc.exe"));
  // Without "only programs" a program is not selected by the test either.
  s.flags = 0;
  EXPECT_FALSE(IsFileSelected(s, u"\\tool.bin", u"tool.bin"));
  EXPECT_EQ(s.errors, 0);
}

TEST_F(ProgramFile, UnreadableFileCountsAnErrorWithItsCode) {
  Scanner& s = *scanner_;
  s.flags = kScanOnlyPrograms;
  EXPECT_FALSE(IsFileSelected(s, u"\\gone.exe", u"gone.exe"));
  EXPECT_EQ(s.errors, 1);
  EXPECT_EQ(recorder_.Messages(), (std::vector<Event>{P(kProgressFileError, 2)}));
  EXPECT_EQ(ResultTexts(), (std::vector<std::u16string>{u"\\gone.exe : Cannot open file."}));
}

TEST_F(ProgramFile, MasksCompareTheLowerCaseNameAsTyped) {
  Scanner& s = *scanner_;
  Device("Calc.EXE", "x");
  s.flags = kScanUserMask;
  platform::CopyToField(s.userMask, u"*.exe");
  EXPECT_TRUE(IsFileSelected(s, u"\\Calc.EXE", u"Calc.EXE"));
  platform::CopyToField(s.userMask, u"*.EXE");
  EXPECT_FALSE(IsFileSelected(s, u"\\Calc.EXE", u"Calc.EXE"));
  // An empty user mask selects nothing.
  platform::CopyToField(s.userMask, u"");
  EXPECT_FALSE(IsFileSelected(s, u"\\Calc.EXE", u"Calc.EXE"));
}

}  // namespace
}  // namespace scanner::testing
