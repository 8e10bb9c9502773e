// The progress dialog on screen (offscreen): its named controls, updates from the threads, Cancel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <functional>
#include <thread>

#include "platform/ScriptedPrompt.h"
#include "ui/testing/OffscreenApp.h"
#include "update/app/UpdateApp.h"
#include "update/tests/UpdateTest.h"
#include "update/window/QtUpdateFrontEnd.h"
#include "update/window/UpdateDialogWindow.h"

namespace update {
namespace {

using namespace std::chrono_literals;
using platform::testing::HttpReply;

using ui::testing::OffscreenApp;

template <typename T>
T* Child(QWidget* dialog, const char* name) {
  T* child = dialog->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// WhenShown: runs `drive` on the progress dialog once it is up, then again
// every 20 ms until it returns true.
void WhenShown(std::function<bool(QWidget*)> drive) {
  auto* timer = new QTimer(&OffscreenApp());
  QObject::connect(timer, &QTimer::timeout, timer, [timer, drive] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr || dialog->objectName() != QStringLiteral("updateDialog")) return;
    if (drive(dialog)) timer->deleteLater();
  });
  timer->start(20);
}

class UpdateWindowTest : public testing::UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    OffscreenApp();
  }
  UpdateOptions Options() {
    UpdateOptions o;
    o.now = [] { return int64_t{1700000456}; };
    o.limits = {2000, 2000};
    return o;
  }
  void SlowFile(const std::string& path) {
    HttpReply slow(Body(40 * 1024));
    slow.Pieces(1024, 40);
    server_.Serve(path, slow);
  }
  platform::ScriptedPrompt prompt_;
};

TEST_F(UpdateWindowTest, TheDialogShowsItsTextsAndProgressAndClosesByItself) {
  SlowFile("/u/ZEPDB.pdb");
  Configure({server_.Url("/u")}, {"ZEPDB.pdb"});
  QString title, cancel, status;
  bool pauseHidden = false, resumeHidden = false, iconSet = false;
  int progress = -1, maximum = -1;
  WhenShown([&](QWidget* dialog) {
    status = Child<QLabel>(dialog, "status")->text();
    // The address comes first, then the bar moves.
    if (status == QStringLiteral("Updating...") ||
        Child<QProgressBar>(dialog, "progress")->value() < 2)
      return false;
    title = dialog->windowTitle();
    cancel = Child<QPushButton>(dialog, "cancel")->text();
    pauseHidden = Child<QPushButton>(dialog, "pause")->isHidden();
    resumeHidden = Child<QPushButton>(dialog, "resume")->isHidden();
    iconSet = !dialog->windowIcon().isNull();
    progress = Child<QProgressBar>(dialog, "progress")->value();
    maximum = Child<QProgressBar>(dialog, "progress")->maximum();
    return true;
  });
  QtUpdateFrontEnd frontEnd(&prompt_);
  EXPECT_EQ(RunUpdate("", frontEnd, Options()), kExitComplete);
  EXPECT_EQ(title, QStringLiteral("Quillmark AV for PalmOS - Get Update"));
  EXPECT_EQ(cancel, QStringLiteral("Cancel"));
  EXPECT_EQ(status, QString::fromStdString(server_.Url("/u")));
  EXPECT_TRUE(pauseHidden);
  EXPECT_TRUE(resumeHidden);
  EXPECT_TRUE(iconSet);
  EXPECT_EQ(maximum, 10);
  EXPECT_GE(progress, 2);
  EXPECT_EQ(prompt_.count(), 0u);
  EXPECT_EQ(StoredLastUpdate(), 1700000456u);
  EXPECT_EQ(Read(Current("ZEPDB.pdb")), Body(40 * 1024));
}

TEST_F(UpdateWindowTest, CancelAndEscapeEndTheRunWithNothingWritten) {
  for (const bool escape : {false, true}) {
    SCOPED_TRACE(escape ? "escape" : "cancel button");
    prompt_.Clear();
    SlowFile("/u/ZEPDB.pdb");
    Configure({server_.Url("/u")}, {"ZEPDB.pdb"});
    WhenShown([&](QWidget* dialog) {
      if (!Exists(Staged("ZEPDB.pdb.tmp"))) return false;
      if (escape)
        static_cast<QDialog*>(dialog)->reject();
      else
        Child<QPushButton>(dialog, "cancel")->click();
      return true;
    });
    QtUpdateFrontEnd frontEnd(&prompt_);
    EXPECT_EQ(RunUpdate("", frontEnd, Options()), kExitIncomplete);
    EXPECT_FALSE(StoredLastUpdate().has_value());
    EXPECT_FALSE(Exists(Staged("ZEPDB.pdb.tmp")));
    ASSERT_EQ(prompt_.count(), 1u);
    EXPECT_EQ(prompt_.last().caption, "Error");
  }
}

TEST_F(UpdateWindowTest, CallsFromAnotherThreadReachTheWidgets) {
  Configure({server_.Url("/u")}, {"ZEPDB.pdb"});
  UpdateDialog dialog(record_, prompt_, Options());
  UpdateDialogWindow window(dialog);
  std::thread worker([&] {
    window.SetRange(0, 10);
    window.OffsetPos(2);
    window.OffsetPos(20);
    window.SetText("http://example/");
  });
  worker.join();
  QApplication::processEvents();
  EXPECT_EQ(Child<QProgressBar>(&window, "progress")->value(), 10);
  EXPECT_EQ(Child<QLabel>(&window, "status")->text(), QStringLiteral("http://example/"));
}

}  // namespace
}  // namespace update
