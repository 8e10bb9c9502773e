// The notice's countdown, its stop on a mouse click, its fixed fields, and the dialogs' placement.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conduit/dialogs/DialogPlacement.h"
#include "conduit/dialogs/NoticeDialog.h"

namespace conduit {
namespace {

std::vector<std::string> Ticks(NoticeDialog& dialog, int limit = 100) {
  std::vector<std::string> shown;
  for (int i = 0; i < limit && dialog.end() == DialogEnd::Open; ++i) {
    shown.push_back(dialog.okText());
    dialog.OnTimer();
  }
  return shown;
}

TEST(NoticeDialog, CountsDownAndClosesByItself) {
  NoticeDialog dialog("Error!", "Not all of update files were succesfuly received.", 5);
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.caption(), "Error!");
  EXPECT_TRUE(dialog.timerRunning());
  EXPECT_EQ(Ticks(dialog),
            (std::vector<std::string>{"OK = 5", "OK = 4", "OK = 3", "OK = 2", "OK = 1"}));
  EXPECT_EQ(dialog.end(), DialogEnd::Ok);
}

TEST(NoticeDialog, AMouseClickStopsTheCountdownAndOkStillCloses) {
  NoticeDialog dialog("Error", "GetLastError() == 2", 10);
  dialog.OnInitDialog();
  dialog.OnTimer();
  EXPECT_EQ(dialog.okText(), "OK = 9");
  dialog.OnMouseButton();
  EXPECT_EQ(dialog.okText(), "OK");
  EXPECT_FALSE(dialog.timerRunning());
  for (int i = 0; i < 20; ++i) dialog.OnTimer();
  EXPECT_EQ(dialog.end(), DialogEnd::Open);
  dialog.OnOk();
  EXPECT_EQ(dialog.end(), DialogEnd::Ok);
}

TEST(NoticeDialog, WithoutACountdownWaitsForOk) {
  NoticeDialog dialog("Caption", "Text", NoticeDialog::kNoCountdown);
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.okText(), "OK");
  EXPECT_FALSE(dialog.timerRunning());
  dialog.OnTimer();
  EXPECT_EQ(dialog.end(), DialogEnd::Open);
}

TEST(NoticeDialog, ACountdownOfZeroClosesAfterOneTick) {
  NoticeDialog dialog("Caption", "Text", 0);
  dialog.OnInitDialog();
  EXPECT_EQ(Ticks(dialog), std::vector<std::string>{"OK = 1"});
  EXPECT_EQ(dialog.end(), DialogEnd::Ok);
}

TEST(NoticeDialog, CaptionAndTextKeepTheirFieldSizes) {
  const std::string caption(100, 'c');
  // A two-byte letter straddling the text's last place is left out whole.
  const std::string text = std::string(126, 't') + "\xD0\x96" + "tail";
  NoticeDialog dialog(caption, text, 5);
  EXPECT_EQ(dialog.caption(), std::string(63, 'c'));
  EXPECT_EQ(dialog.text(), std::string(126, 't'));
}

TEST(DialogPlacement, TemplatesInPixelsAndCentredOnTheScreen) {
  EXPECT_EQ(DialogPixels(kSyncActionDialogUnits), (PixelSize{405, 294}));
  EXPECT_EQ(DialogPixels(kNoticeDialogUnits), (PixelSize{306, 125}));
  EXPECT_EQ(CentredOrigin({0, 0}, {1024, 768}, {405, 294}), (PixelPoint{309, 237}));
  // A second screen to the right, and a dialog larger than the screen.
  EXPECT_EQ(CentredOrigin({1920, 0}, {800, 600}, {300, 201}), (PixelPoint{2170, 199}));
  EXPECT_EQ(CentredOrigin({0, 0}, {320, 240}, {405, 294}), (PixelPoint{0, 0}));
}

}  // namespace
}  // namespace conduit
