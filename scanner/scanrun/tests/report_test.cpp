// The report file: its exact text, append and replace, and its failures.
#include "scanner/scanrun/Report.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/Text.h"
#include "scanner/scanrun/tests/ScanFixture.h"

namespace scanner::testing {
namespace {

class Report : public ScanFixture {
 protected:
  void SetUp() override {
    ScanFixture::SetUp();
    MakeFolder("device/My Documents");
    Device("a.txt");
    Device("evil.bin", Infected());
    // The report lies in the tree; later runs must not scan it.
    platform::CopyToField(scanner_->excludeMask, u"zepreport.txt");
  }
  static constexpr uint32_t kReportFlags = kScanAllFiles | kScanExcludeMask | kCreateReport;
  std::string ReportText() { return Read(DeviceHost("My Documents/ZEPReport.txt")); }
  // Expected: one run's report as written after it ended.
  std::string Expected() const {
    const Scanner& s = *scanner_;
    return "\nStarted at : " + platform::Utf16ToUtf8(FormatScanTime(s.startTime)) +
           "\n\n\\evil.bin : Infected with Alpha\n\nFinished at : " +
           platform::Utf16ToUtf8(FormatScanTime(s.finishTime)) +
           "\nScanned:\nFiles: 2\nFolders: 2\nCards: 0\nDBases: 0\n\nViruses found 1\n"
           "Deleted: 0\nMoved to \"Infected\" 0\nErrors: 0\n***************************";
  }
};

TEST(ScanTime, HourMinuteTwoBlanksDayMonthYear) {
  SystemTime t;
  t.year = 2026, t.month = 3, t.day = 7, t.hour = 9, t.minute = 5, t.second = 59;
  EXPECT_EQ(FormatScanTime(t), u"09:05  07.03.2026");
}

TEST_F(Report, OneRunIsWrittenByteForByte) {
  scanner_->flags = kReportFlags;
  RunToEnd();
  EXPECT_EQ(ReportText(), Expected());
}

TEST_F(Report, AppendKeepsBothRuns) {
  scanner_->flags = kReportFlags | kAppendReport;
  RunToEnd();
  const std::string first = Expected();
  RunToEnd();
  EXPECT_EQ(ReportText(), first + Expected());
}

TEST_F(Report, WithoutAppendOnlyTheLastRunStays) {
  scanner_->flags = kReportFlags;
  Device("My Documents/ZEPReport.txt", std::string(5000, 'x'));
  RunToEnd();
  RunToEnd();
  EXPECT_EQ(ReportText(), Expected());
}

TEST_F(Report, RowTextsAreCutTo127Characters) {
  scanner_->flags = kCreateReport;
  list_.AddRow(std::u16string(200, u'o'), u"r");
  list_.AddRow(u"hidden", u"row", 0);  // only item value 1 is reported
  EXPECT_EQ(WriteReport(*scanner_), 1);
  const std::string text = ReportText();
  EXPECT_EQ(text.substr(0, 1 + 127 + 5), "\n" + std::string(127, 'o') + " : r\n");
  EXPECT_EQ(text.find("hidden"), std::string::npos);
}

TEST_F(Report, UnopenableFileShowsTheErrorAndReturnsZero) {
  scanner_->flags = kCreateReport;
  platform::CopyToField(scanner_->reportPath, u"\\No Such Folder\\r.txt");
  EXPECT_EQ(WriteReport(*scanner_), 0);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Cannot open report file.");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus");
  EXPECT_EQ(prompt_.last().icon, platform::MB_ICONERROR);
}

TEST_F(Report, NoListOrNoReportFlagWritesNothing) {
  scanner_->flags = kCreateReport;
  scanner_->resultList = nullptr;
  EXPECT_EQ(WriteReport(*scanner_), 0);
  scanner_->resultList = &list_;
  scanner_->flags = 0;
  EXPECT_EQ(WriteReport(*scanner_), 1);
  EXPECT_FALSE(Exists(DeviceHost("My Documents/ZEPReport.txt")));
}

}  // namespace
}  // namespace scanner::testing
