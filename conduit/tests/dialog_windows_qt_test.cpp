// The conduit's dialog windows offscreen: what they show, their countdowns, clicks, centring, and
// the Qt application made for a host that has none.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "conduit/dialogs/ActionDialog.h"
#include "conduit/dialogs/NoticeDialog.h"
#include "conduit/dialogs/SyncActionDialog.h"
#include "conduit/dialogs/UpdateProgressDialog.h"
#include "conduit/dialogs/qt/ActionDialogWindow.h"
#include "conduit/dialogs/qt/NoticeDialogWindow.h"
#include "conduit/dialogs/qt/QtConduitUi.h"
#include "conduit/dialogs/qt/SyncActionDialogWindow.h"
#include "palmsettings/PalmSettings.h"
#include "platform/ScriptedPrompt.h"
#include "platform/testing/HttpTestServer.h"

namespace conduit {
namespace {

// ConduitWindowsTest: offscreen, with a fresh application per test unless a test leaves
// making one to the code under test.
class ConduitWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("QT_QPA_PLATFORM", "offscreen", 1); }
  void MakeApplication() { app_ = std::make_unique<QApplication>(argc_, argv_); }

  template <typename T>
  static T* Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  static std::string Text(QWidget& window, const char* name) {
    if (auto* button = window.findChild<QAbstractButton*>(QString::fromLatin1(name)))
      return button->text().toStdString();
    if (auto* group = window.findChild<QGroupBox*>(QString::fromLatin1(name)))
      return group->title().toStdString();
    return Child<QLabel>(window, name)->text().toStdString();
  }
  // Press: a mouse button pressed on the window itself.
  static void Press(QWidget& window, Qt::MouseButton button) {
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(2, 2), window.mapToGlobal(QPointF(2, 2)),
                      button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
  }

  palmsettings::PalmSettings record_;
  int argc_ = 1;
  char name_[16] = "conduit_qt_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

HandheldBaseReader NoBase() {
  return [](uint32_t&, std::string*) { return -1; };
}

TEST_F(ConduitWindowsTest, TheSyncTimeDialogCountsDownOnItsButtonAndClosesWithOnSchedule) {
  MakeApplication();
  record_.SyncWaitTime = 5;
  SyncActionDialog dialog(record_, NoBase());
  SyncActionDialogWindow window(dialog);
  window.Open();
  EXPECT_EQ(Text(window, "ok"), "OK = 5");
  EXPECT_EQ(Text(window, "count"), "-1");
  EXPECT_EQ(Text(window, "date"), "");
  EXPECT_EQ(Text(window, "now"), "Now");
  EXPECT_EQ(window.windowTitle().toStdString(), "Quillmark Anti-Virus for PalmOS Updater");
  EXPECT_TRUE(Child<QAbstractButton>(window, "schedule")->isChecked());

  // The countdown runs fast here; each tick shows the next number.
  auto* countdown = Child<QTimer>(window, "countdown");
  ASSERT_TRUE(countdown->isActive());
  std::vector<std::string> shown;
  QObject::connect(countdown, &QTimer::timeout, &window,
                   [&] { shown.push_back(Text(window, "ok")); });
  countdown->setInterval(1);
  window.exec();
  EXPECT_EQ(shown, (std::vector<std::string>{"OK = 4", "OK = 3", "OK = 2", "OK = 1", "OK"}));
  EXPECT_EQ(dialog.end(), DialogEnd::Ok);
  EXPECT_EQ(dialog.action(), kActionOnSchedule);
}

TEST_F(ConduitWindowsTest, NowStopsTheSyncTimeCountdownAndCancelChoosesNothing) {
  MakeApplication();
  SyncActionDialog dialog(record_, NoBase());
  SyncActionDialogWindow window(dialog);
  window.Open();
  Child<QAbstractButton>(window, "now")->click();
  EXPECT_EQ(Text(window, "ok"), "OK");
  EXPECT_FALSE(Child<QTimer>(window, "countdown")->isActive());
  EXPECT_EQ(dialog.action(), kActionNow);
  Child<QAbstractButton>(window, "cancel")->click();
  EXPECT_EQ(dialog.end(), DialogEnd::Cancel);
  EXPECT_EQ(dialog.action(), kActionCancelled);
}

TEST_F(ConduitWindowsTest, ClosingTheSyncTimeWindowIsOk) {
  MakeApplication();
  SyncActionDialog dialog(record_, NoBase());
  SyncActionDialogWindow window(dialog);
  window.Open();
  window.show();
  window.close();
  EXPECT_EQ(dialog.end(), DialogEnd::Ok);
  EXPECT_EQ(dialog.action(), kActionOnSchedule);
}

TEST_F(ConduitWindowsTest, TheNoticeIsCentredAndAClickStopsItsCountdown) {
  MakeApplication();
  NoticeDialog dialog("Error", "GetLastError() == 2", 10);
  NoticeDialogWindow window(dialog);
  window.Open();
  EXPECT_EQ(window.windowTitle().toStdString(), "Error");
  EXPECT_EQ(Text(window, "text"), "GetLastError() == 2");
  EXPECT_EQ(Text(window, "ok"), "OK = 10");
  const QRect screen = window.screen()->geometry();
  const QSize size = window.frameGeometry().size();
  EXPECT_EQ(window.pos(), QPoint(screen.x() + (screen.width() - size.width()) / 2,
                                 screen.y() + (screen.height() - size.height()) / 2));

  Press(window, Qt::RightButton);
  EXPECT_EQ(Text(window, "ok"), "OK");
  EXPECT_FALSE(Child<QTimer>(window, "countdown")->isActive());
  EXPECT_EQ(dialog.end(), DialogEnd::Open);
  Child<QAbstractButton>(window, "ok")->click();
  EXPECT_EQ(dialog.end(), DialogEnd::Ok);
}

TEST_F(ConduitWindowsTest, TheSettingsDialogShowsTheNextActionAndWritesTheChoice) {
  MakeApplication();
  ConduitCfgRecord arguments{};
  arguments.version = 1;
  std::strcpy(arguments.userName, "Ann");
  arguments.defaultSyncType = 0;
  arguments.nextSyncType = 6;
  ActionDialog dialog(record_, arguments);
  ActionDialogWindow window(dialog);
  window.Open();
  EXPECT_EQ(window.windowTitle().toStdString(), "Change HotSync Action");
  EXPECT_EQ(Text(window, "settingsGroup"), "Ann's Current Settings:");
  EXPECT_EQ(Text(window, "next"), "Do Nothing");
  EXPECT_TRUE(Child<QAbstractButton>(window, "nothing")->isChecked());
  EXPECT_FALSE(Child<QWidget>(window, "help")->isEnabled());

  Child<QAbstractButton>(window, "update")->click();
  Child<QAbstractButton>(window, "setAsDefault")->click();
  Child<QAbstractButton>(window, "ok")->click();
  EXPECT_EQ(dialog.end(), DialogEnd::Ok);
  EXPECT_EQ(arguments.chosenSyncType, 3);
  EXPECT_EQ(arguments.defaultFlag, 1);
}

TEST_F(ConduitWindowsTest, AHostWithoutQtGetsAnApplicationForTheCallOnly) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  palmsettings::AppendEntry(record_.addressList, "http://127.0.0.1:1/");
  platform::ScriptedPrompt prompt;
  std::string shownText;
  int passes = 0;
  {
    QtConduitUi ui;
    EXPECT_TRUE(QtConduitUi::Usable());
    UpdateProgressDialog dialog(
        record_, prompt, UpdateProgressDialog::kModeInstall,
        [&](palmsettings::ProgressWindow& bar, palmsettings::StatusWindow& text) {
          ++passes;
          text.SetText("installing");
          bar.SetRange(0, 2);
          bar.StepIt();
          // The pass runs in the shown window, on this thread.
          auto* window = qobject_cast<QWidget*>(dynamic_cast<QObject*>(&bar));
          if (window) shownText = Text(*window, "textLine");
          return -2;
        });
    ui.Run(dialog);
    EXPECT_NE(QCoreApplication::instance(), nullptr);
    EXPECT_EQ(dialog.installResult(), -2);
  }
  EXPECT_EQ(passes, 1);
  EXPECT_EQ(shownText, "installing");
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

TEST_F(ConduitWindowsTest, CancelInTheFetchWindowStopsTheFetchAndCloses) {
  MakeApplication();
  platform::testing::HttpTestServer server;
  server.Serve("/slow/ZEPDB.pdb", platform::testing::HttpReply("late").HeaderDelay(30000));
  palmsettings::AppendEntry(record_.addressList, server.Url("/slow"));
  palmsettings::AppendEntry(record_.fileList, "ZEPDB.pdb");
  platform::ScriptedPrompt prompt;
  UpdateProgressDialog dialog(record_, prompt, UpdateProgressDialog::kModeFetch, {},
                              {60000, {60000, 60000}});
  std::string shownAddress;
  // Once the fetch is under way (its address on the text line), Cancel.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* window = QApplication::activeModalWidget();
    if (window == nullptr || Text(*window, "textLine") != server.Url("/slow")) return;
    shownAddress = Text(*window, "textLine");
    Child<QAbstractButton>(*window, "cancel")->click();
    poll.stop();
  });
  poll.start(10);
  QtConduitUi ui;
  ui.Run(dialog);
  EXPECT_EQ(shownAddress, server.Url("/slow"));
  EXPECT_TRUE(dialog.cancelled());
  EXPECT_TRUE(dialog.ThreadsEnded());
  EXPECT_EQ(record_.fileList->received, 0);
  EXPECT_EQ(record_.statusWindow, nullptr);
}

}  // namespace
}  // namespace conduit
