// The detection dialog shown from a scan worker: OK takes the boxes, escape keeps the actions.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <atomic>
#include <thread>

#include "scanner/ui/dialogs/ScannerDialogs.h"
#include "scanner/ui/dialogs/tests/DialogDriver.h"

namespace scanner_dialogs {
namespace {

using testing::Child;
using testing::Click;
using testing::LastingOffscreenApp;
using testing::PressEscape;
using testing::SpinUntil;
using testing::WhenModal;

struct Answer {
  bool shown = false;
  bool copy;
  bool del;
};

class DetectionDialogTest : public ::testing::Test {
 protected:
  // ShowFromWorker: Show called on a thread of its own, as the scan worker
  // calls it, with the boxes preset; the GUI thread serves it meanwhile.
  Answer ShowFromWorker(bool copy, bool del) {
    Answer answer{false, copy, del};
    std::atomic<bool> done{false};
    std::thread worker([&] {
      answer.shown = dialog_->Show(u"File:", u"\\My Documents\\game.exe", u"Virus:", u"Eicar",
                                   u"A test file", answer.copy, answer.del);
      done = true;
    });
    EXPECT_TRUE(SpinUntil([&] { return done.load(); }));
    worker.join();
    return answer;
  }

  QApplication& app_ = LastingOffscreenApp();  // before any widget
  QMainWindow owner_;
  std::unique_ptr<scanner::DetectionDialog> dialog_ = MakeDetectionDialog(&owner_);
};

TEST_F(DetectionDialogTest, OkFromTheWorkerTakesTheBoxesAndShowsTheDetection) {
  auto watch = WhenModal("detectionDialog", [this](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "Virus detected!");
    EXPECT_EQ(dialog->parentWidget(), &owner_);
    EXPECT_EQ(Child<QLabel>(dialog, "detected")->text(),
              "Quillmark Anti-Virus has detected\nan infected object:");
    EXPECT_EQ(Child<QLabel>(dialog, "objectText")->text(), "\\My Documents\\game.exe");
    EXPECT_EQ(Child<QLabel>(dialog, "virusLabel")->text(), "Virus:");
    EXPECT_EQ(Child<QLabel>(dialog, "virusText")->text(), "Eicar");
    EXPECT_EQ(Child<QLabel>(dialog, "description")->text(), "A test file");
    auto* copy = Child<QCheckBox>(dialog, "copy");
    auto* del = Child<QCheckBox>(dialog, "delete");
    EXPECT_EQ(copy->text(), "Copy to \"Infected\" folder");
    EXPECT_TRUE(copy->isChecked());
    EXPECT_FALSE(del->isChecked());
    copy->setChecked(false);
    del->setChecked(true);
    Click(dialog, "ok");
  });
  const Answer answer = ShowFromWorker(true, false);
  EXPECT_TRUE(answer.shown);
  EXPECT_FALSE(answer.copy);
  EXPECT_TRUE(answer.del);
}

TEST_F(DetectionDialogTest, EscapeKeepsTheConfiguredActionsWhateverTheBoxesSay) {
  auto watch = WhenModal("detectionDialog", [](QWidget* dialog) {
    Child<QCheckBox>(dialog, "copy")->setChecked(false);
    Child<QCheckBox>(dialog, "delete")->setChecked(true);
    PressEscape(dialog);
  });
  const Answer answer = ShowFromWorker(true, false);
  EXPECT_FALSE(answer.shown);
  EXPECT_TRUE(answer.copy);
  EXPECT_FALSE(answer.del);
}

TEST_F(DetectionDialogTest, OnTheGuiThreadItRunsDirectly) {
  bool copy = false;
  bool del = false;
  auto watch = WhenModal("detectionDialog", [](QWidget* dialog) {
    Child<QCheckBox>(dialog, "copy")->setChecked(true);
    Click(dialog, "ok");
  });
  EXPECT_TRUE(dialog_->Show(u"File:", u"a", u"Virus:", u"b", u"", copy, del));
  EXPECT_TRUE(copy);
  EXPECT_FALSE(del);
}

TEST_F(DetectionDialogTest, AnOwnerGoneBeforeTheWorkerAsksKeepsTheActions) {
  auto owner = std::make_unique<QWidget>();
  auto dialog = MakeDetectionDialog(owner.get());
  owner.reset();
  bool copy = true;
  bool del = true;
  std::atomic<bool> done{false};
  bool shown = true;
  std::thread worker([&] {
    shown = dialog->Show(u"File:", u"a", u"Virus:", u"b", u"", copy, del);
    done = true;
  });
  EXPECT_TRUE(SpinUntil([&] { return done.load(); }));
  worker.join();
  EXPECT_FALSE(shown);
  EXPECT_TRUE(copy);
  EXPECT_TRUE(del);
}

}  // namespace
}  // namespace scanner_dialogs
