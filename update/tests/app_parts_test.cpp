// The run's small parts: the control centre's switch, the semaphore name, the texts, the progress
// numbers.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "palmsettings/PalmSettings.h"
#include "update/app/CommandLine.h"
#include "update/app/ProgressModel.h"
#include "update/app/SemaphoreName.h"
#include "update/app/UpdateStrings.h"

namespace update {
namespace {

TEST(CommandLine, TheSwitchCountsAnywhereInAnyLetterCase) {
  EXPECT_FALSE(IsControlCentreMode(""));
  EXPECT_TRUE(IsControlCentreMode("IPCSERVNAME"));
  EXPECT_TRUE(IsControlCentreMode("/ipcservname=RuviTask7"));
  EXPECT_TRUE(IsControlCentreMode("-x xIpcServNamex"));
  EXPECT_FALSE(IsControlCentreMode("IPC SERVNAME"));
  const char* argv[] = {"/opt/ipcservname/Update", "a", "b c"};
  EXPECT_EQ(JoinCommandLine(3, argv), "a b c") << "the program's own name is not searched";
  EXPECT_FALSE(IsControlCentreMode(JoinCommandLine(1, argv)));
}

TEST(SemaphoreName, IsFormattedExactlyAsPrintfFormsIt) {
  // Through a format that is not a literal, printf applies "%#06d" itself.
  const char* format = kSemaphoreNameFormat;
  for (int random : {0, 7, 1234, 32767, 123456789}) {
    for (long pid : {1L, 4242L, 4194304L}) {
      char expected[64];
      std::snprintf(expected, sizeof expected, format, random, pid);
      EXPECT_EQ(SemaphoreName(random, pid), expected) << random << " " << pid;
    }
  }
  EXPECT_EQ(SemaphoreName(1234, 4242), "QRX_KONDUIT_SEM_0012344242");
}

TEST(UpdateStrings, OwnTableHoldsTheTextsAndTheShortBuffersCutThem) {
  palmsettings::PalmSettings record;
  EXPECT_EQ(UpdateText(record, kIdsCaption), "Quillmark AV for PalmOS - Get Update");
  EXPECT_EQ(UpdateText(record, kIdsCancel), "Cancel");
  EXPECT_EQ(UpdateText(record, kIdsIncompleteCaption, kShortText), "Error!");
  EXPECT_EQ(UpdateText(record, kIdsNoAddress), "No update path is specified!");
  EXPECT_EQ(UpdateText(record, kIdsIncomplete, kShortText),
            "Not all of update files were succesfuly received.\nCheck your "
            "\"LastUpdate\\Download\" folder.");
  EXPECT_EQ(UpdateText(record, kIdsCaption, 9), "Quillmar");
  EXPECT_EQ(UpdateText(record, 999), "");
}

TEST(ProgressModel, PositionsStayInTheRangeAsTheControlKeepsThem) {
  ProgressModel bar;
  bar.SetRange(0, 10);
  bar.OffsetPos(2);
  bar.OffsetPos(2);
  EXPECT_EQ(bar.position(), 4);
  for (int i = 0; i < 5; ++i) bar.OffsetPos(2);
  EXPECT_EQ(bar.position(), 10);
  bar.SetRange(0, 10);  // a new file: the position is kept
  EXPECT_EQ(bar.position(), 10);
  bar.SetRange(20, 5);
  EXPECT_EQ(bar.low(), 5);
  EXPECT_EQ(bar.high(), 20);
  bar.SetPos(-3);
  EXPECT_EQ(bar.position(), 5);
  bar.SetStep(6);
  bar.StepIt();
  bar.StepIt();
  EXPECT_EQ(bar.position(), 17);
  bar.StepIt();  // 23 passes the end: starts again from the lower end
  EXPECT_EQ(bar.position(), 8);
}

}  // namespace
}  // namespace update
