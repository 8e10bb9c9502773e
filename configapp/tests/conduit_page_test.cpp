// The Conduit page's logic: lists and selections, the wait-time check, the show-dialog box, hints,
// "Get update now".
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "configapp/ConduitPage.h"
#include "configapp/ControlIds.h"
#include "configapp/DialogInteger.h"
#include "configapp/SetdeskStrings.h"
#include "configapp/StartUpdate.h"
#include "configapp/tests/SetdeskTest.h"
#include "platform/Text.h"

namespace configapp {
namespace {

using platform::MB_ICONERROR;
using platform::MB_ICONWARNING;

class ConduitPageTest : public testing::SetdeskTest {
 protected:
  // Open: the page over the record as it stands.
  CConduitPage& Open() {
    page_.OnInitDialog();
    return page_;
  }

  palmsettings::PalmSettings record_;
  CConduitPage page_{record_, prompt_};
};

TEST_F(ConduitPageTest, ListsCarryTheirItemDataAndSelectTheStoredValues) {
  record_.DefaultAction = 1;
  record_.DaysBetweenUpdate = 15;
  Open();
  ASSERT_EQ(page_.rateItems().size(), 5u);
  const char* rates[] = {"Daily", "Weekly", "Once in 2 weeks", "Monthly", "Once in 2 monthes"};
  const uint32_t days[] = {1, 7, 15, 30, 60};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(page_.rateItems()[i].text, rates[i]);
    EXPECT_EQ(page_.rateItems()[i].data, days[i]);
  }
  ASSERT_EQ(page_.actionItems().size(), 3u);
  EXPECT_EQ(page_.actionItems()[0].text, "Nothing to do");
  EXPECT_EQ(page_.actionItems()[1].text, "Get update and install it now");
  EXPECT_EQ(page_.actionItems()[2].text, "Get update and install it later");
  for (uint32_t i = 0; i < 3; ++i) EXPECT_EQ(page_.actionItems()[i].data, i);
  EXPECT_EQ(page_.controls().actionSelection, 1);
  EXPECT_EQ(page_.controls().rateSelection, 2);
  EXPECT_EQ(page_.controls().seconds, "5");
  EXPECT_TRUE(page_.controls().showDialog);
  EXPECT_TRUE(page_.controls().secondsEnabled);
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(ConduitPageTest, ValuesOutsideTheListsOpenUnselectedAndAreKept) {
  record_.DaysBetweenUpdate = 14;
  record_.DefaultAction = 7;
  Open();
  EXPECT_EQ(page_.controls().rateSelection, -1);
  EXPECT_EQ(page_.controls().actionSelection, -1);
  page_.OnDestroy();
  EXPECT_EQ(record_.DaysBetweenUpdate, 14);
  EXPECT_EQ(record_.DefaultAction, 7u);
}

TEST_F(ConduitPageTest, DestroyStoresTheSelectedItemDataAndTheBoxes) {
  Open();
  page_.SelectAction(0);
  page_.SelectRate(4);
  page_.OnSecondsChanged("42");
  page_.OnShowDialogClicked(false);
  page_.OnDestroy();
  EXPECT_EQ(record_.DefaultAction, 0u);
  EXPECT_EQ(record_.DaysBetweenUpdate, 60);
  EXPECT_EQ(record_.SyncWaitTime, 42);
  EXPECT_EQ(record_.SyncShowDlg, 0u);
}

TEST_F(ConduitPageTest, WaitTimeIsCheckedAtEveryChange) {
  record_.SyncWaitTime = 12;
  Open();
  // "0" is refused with string 323 and the previous value comes back.
  EXPECT_EQ(page_.OnSecondsChanged("0"), Exchange::OutOfRange);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Wait time must be between 1 and 60 seconds.");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus for Palm OS");
  EXPECT_EQ(prompt_.last().icon, MB_ICONERROR);
  EXPECT_EQ(page_.controls().seconds, "12");
  EXPECT_EQ(page_.waitTime(), 12);

  EXPECT_EQ(page_.OnSecondsChanged("6"), Exchange::Accepted);
  EXPECT_EQ(page_.OnSecondsChanged("60"), Exchange::Accepted);
  EXPECT_EQ(page_.OnSecondsChanged("1"), Exchange::Accepted);
  EXPECT_EQ(page_.OnSecondsChanged("60"), Exchange::Accepted);
  EXPECT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(page_.OnSecondsChanged("61"), Exchange::OutOfRange);
  EXPECT_EQ(page_.controls().seconds, "60");
  EXPECT_EQ(page_.OnSecondsChanged("-3"), Exchange::OutOfRange);
  EXPECT_EQ(page_.OnSecondsChanged("99999999999"), Exchange::OutOfRange);
  EXPECT_EQ(page_.waitTime(), 60);
  EXPECT_EQ(prompt_.count(), 4u);
  page_.OnDestroy();
  EXPECT_EQ(record_.SyncWaitTime, 60);
}

TEST_F(ConduitPageTest, TextThatIsNoWholeNumberIsRefusedByTheFramework) {
  record_.SyncWaitTime = 9;
  Open();
  for (const char* text : {"", "abc", "4 2", "0x10", "7s"}) {
    EXPECT_EQ(page_.OnSecondsChanged(text), Exchange::NotInteger) << text;
    EXPECT_EQ(prompt_.last().text, "Please enter an integer.");
    EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus for Palm OS");
    EXPECT_EQ(prompt_.last().icon, MB_ICONWARNING);
    // The text stays for the user to correct; the wait time keeps its value.
    EXPECT_EQ(page_.controls().seconds, text);
    EXPECT_EQ(page_.waitTime(), 9);
  }
  // Closing takes the values once more: refused again, the last value stored.
  prompt_.Clear();
  page_.OnDestroy();
  EXPECT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(record_.SyncWaitTime, 9);
}

TEST_F(ConduitPageTest, AStoredWaitTimeOutOfRangeOpensWithFiveAfterOneMessage) {
  for (int32_t stored : {0, -1, 61, std::numeric_limits<int32_t>::max()}) {
    palmsettings::PalmSettings record;
    record.SyncWaitTime = stored;
    platform::ScriptedPrompt prompt;
    CConduitPage page(record, prompt);
    page.OnInitDialog();
    EXPECT_EQ(prompt.count(), 1u) << stored;
    EXPECT_EQ(page.controls().seconds, "5");
    EXPECT_EQ(page.waitTime(), 5);
    EXPECT_EQ(page.lastAccepted(), 5);
  }
}

TEST_F(ConduitPageTest, ClearingTheShowDialogBoxDisablesSecondsAndKeepsTheWaitTime) {
  record_.SyncWaitTime = 20;
  Open();
  page_.OnShowDialogClicked(false);
  EXPECT_FALSE(page_.controls().secondsEnabled);
  EXPECT_FALSE(page_.controls().showDialog);
  EXPECT_EQ(page_.controls().seconds, "20");
  EXPECT_EQ(page_.hint(), "Показывать ли окно диалога во время соединения");
  EXPECT_EQ(page_.showDialog(), 0u);
  page_.OnShowDialogClicked(true);
  EXPECT_TRUE(page_.controls().secondsEnabled);
  EXPECT_EQ(page_.showDialog(), 1u);
  page_.OnShowDialogClicked(false);
  page_.OnDestroy();
  EXPECT_EQ(record_.SyncShowDlg, 0u);
  EXPECT_EQ(record_.SyncWaitTime, 20);
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(ConduitPageTest, AShowDialogFlagOfZeroOpensWithSecondsDisabled) {
  record_.SyncShowDlg = 0;
  Open();
  EXPECT_FALSE(page_.controls().showDialog);
  EXPECT_FALSE(page_.controls().secondsEnabled);
}

TEST_F(ConduitPageTest, HintsFollowThePointerOverTheListedControlsOnly) {
  Open();
  EXPECT_EQ(page_.hint(), "");
  EXPECT_TRUE(page_.OnSetCursor(kIdAction));
  EXPECT_EQ(page_.hint(), "Action,that will be performed during syncronization");
  EXPECT_FALSE(page_.OnSetCursor(kIdConduitGroup));
  EXPECT_EQ(page_.hint(), "Action,that will be performed during syncronization");
  page_.OnSetCursor(kIdRate);
  EXPECT_EQ(page_.hint(), "Virus base update frequency");
  page_.OnSetCursor(kIdShowDialog);
  EXPECT_EQ(page_.hint(), "Show dialog box during syncronization");
  page_.OnSetCursor(kIdSeconds);
  EXPECT_EQ(page_.hint(), "Specify diration of holding sync-time dialog. ");
  page_.OnSetCursor(kIdGetUpdateNow);
  EXPECT_EQ(page_.hint(), "Get update immediately");
}

TEST_F(ConduitPageTest, GetUpdateNowStartsTheDownloaderFromZeppDirWithoutArguments) {
  InstallUpdate();
  platform::CopyToField(record_.ZEPPDir, testing::kZeppDir);
  Open();
  EXPECT_EQ(page_.OnGetUpdateNow(), 0u);
  EXPECT_EQ(page_.hint(), "Получить обновление немедленно");
  EXPECT_EQ(prompt_.count(), 0u);
  const std::string started = WaitForStart();
  EXPECT_NE(started.find("arguments=0\n"), std::string::npos) << started;
  EXPECT_NE(started.find("folder=" + Host("ZEPP") + "\n"), std::string::npos) << started;
}

TEST_F(ConduitPageTest, AFailedStartShowsTheSystemErrorCode) {
  platform::CopyToField(record_.ZEPPDir, testing::kZeppDir);  // no Update there
  Open();
  page_.OnSecondsChanged("33");
  EXPECT_EQ(page_.OnGetUpdateNow(), 2u);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "GetLastError() == 2");
  EXPECT_EQ(prompt_.last().caption, "Error creating child process");
  EXPECT_EQ(prompt_.last().icon, MB_ICONERROR);
  // The page keeps what the user had entered.
  EXPECT_EQ(page_.controls().seconds, "33");
}

TEST_F(ConduitPageTest, AnUpdatePathBeyondItsFieldIsRefusedRatherThanCut) {
  // 245 + "\Update.exe" is 256 bytes: one too many for the field.
  const std::string longDir = "C:\\" + std::string(242, 'd');
  platform::CopyToField(record_.ZEPPDir, longDir);
  EXPECT_FALSE(UpdateProgramPath(record_).has_value());
  Open();
  EXPECT_EQ(page_.OnGetUpdateNow(), 206u);
  EXPECT_EQ(prompt_.last().text, "GetLastError() == 206");
  platform::CopyToField(record_.ZEPPDir, longDir.substr(0, 244));
  EXPECT_EQ(UpdateProgramPath(record_), longDir.substr(0, 244) + "\\Update.exe");
}

TEST(DialogInteger, WholeNumbersWithBlanksAndSignsOnly) {
  EXPECT_EQ(ParseDialogInteger("42"), 42);
  EXPECT_EQ(ParseDialogInteger(" \t42 "), 42);
  EXPECT_EQ(ParseDialogInteger("+7"), 7);
  EXPECT_EQ(ParseDialogInteger("-15"), -15);
  EXPECT_EQ(ParseDialogInteger("007"), 7);
  EXPECT_EQ(ParseDialogInteger("-0"), 0);
  for (const char* text : {"", " ", "-", "+", "4 2", "0x10", "1.5", "12a", "a12", "--1", "\n5"})
    EXPECT_FALSE(ParseDialogInteger(text).has_value()) << text;
}

TEST(DialogInteger, NumbersBeyondThirtyTwoBitsSaturate) {
  EXPECT_EQ(ParseDialogInteger("2147483647"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ParseDialogInteger("2147483648"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ParseDialogInteger("99999999999999999999999"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ParseDialogInteger("-2147483648"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ParseDialogInteger("-99999999999999999999999"), std::numeric_limits<int32_t>::min());
}

}  // namespace
}  // namespace configapp
