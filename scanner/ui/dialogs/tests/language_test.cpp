// With a language module loaded every numbered text of the dialogs comes from it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>
#include <atomic>
#include <thread>

#include "platform/ScriptedPrompt.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/ui/dialogs/ScannerDialogs.h"
#include "scanner/ui/dialogs/tests/DialogDriver.h"
#include "scanner/updater/tests/UpdaterFixture.h"

namespace scanner_dialogs {
namespace {

using testing::Child;
using testing::Click;
using testing::LastingOffscreenApp;
using testing::WhenModal;

class LanguageTest : public scanner::testing::UpdaterFixture {
 protected:
  void SetUp() override {
    UpdaterFixture::SetUp();
    LastingOffscreenApp();
    ::setenv("QM_MODULE_PATH", SCANNER_DIALOGS_TEST_MODULES, 1);
    ASSERT_EQ(scanner::ScannerStrings().LoadLanguage(scanner::kScannerLanguageModule), 0u);
  }
  void TearDown() override {
    scanner::ScannerStrings().UnloadLanguage();
    ::unsetenv("QM_MODULE_PATH");
    UpdaterFixture::TearDown();
  }
  static QString Text(QWidget* dialog, const char* name) {
    return Child<QLabel>(dialog, name)->text();
  }
};

TEST_F(LanguageTest, AboutTakesEveryLineFromTheModule) {
  auto watch = WhenModal("aboutDialog", [](QWidget* dialog) {
    EXPECT_EQ(Text(dialog, "title"), "#1");
    EXPECT_EQ(Text(dialog, "version"), "#2 #7");
    EXPECT_EQ(Text(dialog, "notice"), "#8");
    EXPECT_EQ(Text(dialog, "web"), "#9");
    Click(dialog, "ok");
  });
  EXPECT_EQ(RunAboutDialog(nullptr), 1);
}

TEST_F(LanguageTest, DetectionAndUpdaterTextsComeFromTheModule) {
  QMainWindow owner;
  auto detection = MakeDetectionDialog(&owner);
  auto watch = WhenModal("detectionDialog", [](QWidget* dialog) {
    EXPECT_EQ(Text(dialog, "detected"), "#71");
    EXPECT_EQ(Child<QCheckBox>(dialog, "copy")->text(), "#33");
    EXPECT_EQ(Child<QCheckBox>(dialog, "delete")->text(), "#35");
    Click(dialog, "ok");
  });
  bool copy = false;
  bool del = false;
  EXPECT_TRUE(detection->Show(u"#72", u"x", u"#74", u"y", u"", copy, del));

  scanner::Scanner scanner;
  auto configure = WhenModal("configureUpdaterDialog", [](QWidget* dialog) {
    EXPECT_EQ(Text(dialog, "heading"), "#120");
    EXPECT_EQ(Child<QPushButton>(dialog, "1077")->text(), "#117");
    EXPECT_EQ(Child<QPushButton>(dialog, "1078")->text(), "#118");
    EXPECT_EQ(Child<QPushButton>(dialog, "1079")->text(), "#119");
    EXPECT_EQ(Child<QPushButton>(dialog, "2")->text(), "#116");
    Click(dialog, "2");
  });
  RunConfigureUpdaterDialog(nullptr, scanner, prompt_);
  EXPECT_EQ(prompt_.count(), 0u);
}

}  // namespace
}  // namespace scanner_dialogs
