// The main window offscreen: the Apply button, a run through the toolbar, and the pages' texts.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <memory>
#include <string>

#include "scanner/scanrun/ScanRun.h"
#include "scanner/startup/ScannerApp.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/ui/qt/MainFrame.h"
#include "scanner/ui/qt/WindowFrontEnd.h"
#include "scanner/ui/tests/UiFixture.h"
#include "scanner/virusbase/tests/TestBase.h"
#include "ui/testing/OffscreenApp.h"

namespace scanner {
namespace {

using scanner_ui::CMainFrame;

// Never destroyed: windows and threads the tests leave end after it at exit.
using ui::testing::LastingOffscreenApp;

class MainWindowTest : public testing::UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    LastingOffscreenApp();
    scanner_->flags = kScanAllFiles | kCreateReport;
    window_ = std::make_unique<CMainFrame>(*scanner_, prompt_);
    window_->LoadPages();
    window_->show();
  }
  void TearDown() override {
    window_.reset();
    UiFixture::TearDown();
  }

  template <typename T>
  T* Control(const char* page, int number) {
    QWidget* pageWidget = window_->findChild<QWidget*>(page);
    EXPECT_NE(pageWidget, nullptr) << page;
    T* control = pageWidget ? pageWidget->findChild<T*>(QString::number(number)) : nullptr;
    EXPECT_NE(control, nullptr) << page << " " << number;
    return control;
  }
  QPushButton* ApplyButton() { return window_->findChild<QPushButton*>("121"); }
  void Trigger(int command) { window_->CommandAction(command)->trigger(); }
  bool Shown(int command) { return window_->CommandAction(command)->isVisible(); }

  std::unique_ptr<CMainFrame> window_;
};

TEST_F(MainWindowTest, ApplyButtonShowsOnSettingsPagesDisabledUntilAControlChanges) {
  Trigger(kCmdResults);
  EXPECT_TRUE(ApplyButton()->isHidden());
  Trigger(kCmdScanOptions);
  EXPECT_FALSE(ApplyButton()->isHidden());
  EXPECT_FALSE(ApplyButton()->isEnabled());
  Trigger(kCmdReportPage);
  EXPECT_FALSE(ApplyButton()->isEnabled());

  Control<QCheckBox>("ReportPage", kCtlDeleteInfected)->click();
  EXPECT_TRUE(ApplyButton()->isEnabled());
  ApplyButton()->click();
  EXPECT_FALSE(ApplyButton()->isEnabled());
  EXPECT_TRUE(scanner_->flags & kDeleteInfected);
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(MainWindowTest, InfectedTypedAsBareWordIsStoredBetweenBackslashes) {
  Trigger(kCmdReportPage);
  Control<QCheckBox>("ReportPage", kCtlCopyToInfected)->click();
  QLineEdit* edit = Control<QLineEdit>("ReportPage", kCtlInfectedEdit);
  EXPECT_TRUE(edit->isEnabled());
  edit->clear();
  edit->insert("Infected");  // counts as typed
  ApplyButton()->click();
  EXPECT_EQ(platform::FieldText(scanner_->infectedPath), u"\\Infected\\");
  EXPECT_EQ(edit->text(), "\\Infected\\");
  EXPECT_TRUE(std::filesystem::is_directory(DeviceHost("Infected")));
}

TEST_F(MainWindowTest, StartAnsweredNoScansWithOldSettingsAndKeepsApplyEnabled) {
  Device("a.txt", Infected());
  Trigger(kCmdScanOptions);
  Control<QAbstractButton>("ScanOptionsPage", kCtlScanPrograms)->click();
  prompt_.Answer(platform::IDNO);
  Trigger(kCmdStart);
  JoinWorker(*scanner_);
  QApplication::processEvents();
  EXPECT_EQ(prompt_.last().text, "Apply settings?");
  EXPECT_EQ(scanner_->flags & 0xFF, kScanAllFiles);
  EXPECT_EQ(scanner_->virusesFound, 1);
  EXPECT_EQ(window_->Model().page(), Page::kResults);
  EXPECT_EQ(Control<QLabel>("ResultsPage", 1025)->text(), "1");
  EXPECT_GT(scanner_->resultList->Count(), 0u);
  EXPECT_EQ(Control<QTreeWidget>("ResultsPage", kCtlResultList)->topLevelItemCount(),
            static_cast<int>(scanner_->resultList->Count()));
  Trigger(kCmdScanOptions);
  EXPECT_TRUE(ApplyButton()->isEnabled());
  EXPECT_TRUE(Control<QAbstractButton>("ScanOptionsPage", kCtlScanPrograms)->isChecked());
}

// The worker's first message waits for this thread, so a pause right after
// the start always finds the run Running.
TEST_F(MainWindowTest, RunThroughToolbarSwapsButtonsRefusesApplyAndReportsOnce) {
  for (int i = 0; i < 5; ++i) Device("f" + std::to_string(i) + ".txt");
  EXPECT_TRUE(Shown(kCmdStart));
  EXPECT_FALSE(Shown(kCmdPause));
  Trigger(kCmdStart);
  EXPECT_FALSE(Shown(kCmdStart));
  EXPECT_TRUE(Shown(kCmdPause));
  Trigger(kCmdPause);
  ASSERT_EQ(scanner_->state.load(), kPaused);
  EXPECT_TRUE(Shown(kCmdStart));
  EXPECT_FALSE(Shown(kCmdPause));

  Trigger(kCmdScanOptions);
  Control<QCheckBox>("ScanOptionsPage", kCtlScanRom)->click();
  ApplyButton()->click();
  EXPECT_EQ(prompt_.last().text, "Cannot apply settings.\nScanner is running.");
  EXPECT_FALSE(scanner_->flags & kScanRomFiles);
  EXPECT_TRUE(ApplyButton()->isEnabled());

  Trigger(kCmdStart);  // resumes
  EXPECT_EQ(scanner_->state.load(), kRunning);
  EXPECT_TRUE(Shown(kCmdPause));
  Trigger(kCmdStop);
  JoinWorker(*scanner_);
  EXPECT_EQ(scanner_->state.load(), kIdle);
  EXPECT_TRUE(Shown(kCmdStart));
  const std::string report =
      platform::testing::TempFolder::Read(DeviceHost("My Documents/ZEPReport.txt"));
  size_t finished = 0;
  for (size_t at = report.find("Finished at"); at != std::string::npos;
       at = report.find("Finished at", at + 1))
    ++finished;
  EXPECT_EQ(finished, 1u) << report;
}

TEST_F(MainWindowTest, ExitWithUnappliedChangesCanBeCancelled) {
  Control<QCheckBox>("ScanOptionsPage", kCtlScanCards)->click();
  prompt_.Answer(platform::IDCANCEL);
  EXPECT_FALSE(window_->close());
  EXPECT_EQ(prompt_.last().text, "Do you want to save settings?");
  prompt_.Answer(platform::IDYES);
  EXPECT_TRUE(window_->close());
  EXPECT_TRUE(scanner_->flags & kScanCards);
}

// The program's own start-up: the window comes up titled and then shows the
// base's virus count, and is the scanner's observer while it lives.
class WindowStartupTest : public testing::UiFixture {};

TEST_F(WindowStartupTest, StartUpThroughTheWindowFrontEndTitlesTheWindow) {
  LastingOffscreenApp();
  const std::vector<uint8_t> base = testing::BaseBytes(2)
                                        .Record(u"Alpha", testing::kAlphaSignature)
                                        .Record(u"Beta", testing::kBetaSignature)
                                        .Signed();
  Put("device/Program Files/ZEP PPC/ZEPBase.zvb",
      std::string_view(reinterpret_cast<const char*>(base.data()), base.size()));
  ScannerApp app;
  {
    scanner_ui::WindowFrontEnd frontEnd(app.scanner, prompt_);
    ASSERT_EQ(InitInstance(app, frontEnd, prompt_), StartResult::kStarted) << prompt_.last().text;
    ASSERT_NE(frontEnd.Window(), nullptr);
    EXPECT_EQ(frontEnd.Window()->windowTitle(), "Quillmark AV - 2 viruses");
    EXPECT_TRUE(frontEnd.Window()->isVisible());
    EXPECT_EQ(app.scanner.notifyWindow, frontEnd.Window());
    EXPECT_EQ(ExitInstance(app), 1);
  }
  EXPECT_EQ(app.scanner.notifyWindow, nullptr);
}

class MainWindowLanguageTest : public MainWindowTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(ScannerStrings().LoadLanguage(kScannerLanguageModule, {SCANNER_UI_TEST_MODULES}), 0u);
    MainWindowTest::SetUp();
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    ScannerStrings().UnloadLanguage();
  }
};

TEST_F(MainWindowLanguageTest, EveryNumberedTextOnThePagesComesFromTheLanguageModule) {
  int checked = 0;
  for (const char* page : {"ScanOptionsPage", "ReportPage", "ResultsPage"}) {
    QWidget* pageWidget = window_->findChild<QWidget*>(page);
    ASSERT_NE(pageWidget, nullptr);
    for (QAbstractButton* b : pageWidget->findChildren<QAbstractButton*>()) {
      EXPECT_TRUE(b->text().startsWith("#")) << b->text().toStdString();
      ++checked;
    }
    for (QLabel* l : pageWidget->findChildren<QLabel*>()) {
      bool isNumber = false;
      l->objectName().toInt(&isNumber);
      const bool isValue = isNumber && l->objectName() != "1055";
      if (isValue) continue;  // number fields and the status line
      EXPECT_TRUE(l->text().startsWith("#")) << l->text().toStdString();
      ++checked;
    }
  }
  EXPECT_EQ(checked, 7 + 6 + 9);  // buttons, then labels of the three pages
  QTreeWidget* list = Control<QTreeWidget>("ResultsPage", kCtlResultList);
  EXPECT_EQ(list->headerItem()->text(0), "#62");
  EXPECT_EQ(list->headerItem()->text(1), "#63");
  // Buttons show "&&" as one ampersand themselves.
  QCheckBox* cards = Control<QCheckBox>("ScanOptionsPage", kCtlScanCards);
  EXPECT_EQ(cards->text().replace("&&", "&"), "#16 & more");
  EXPECT_TRUE(ApplyButton()->text().startsWith("#3"));
}

}  // namespace
}  // namespace scanner
