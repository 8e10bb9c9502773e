// The folder dialogs on screen (offscreen), driven through their named controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "folders/container/Container.h"
#include "folders/container/PasswordChangeHooks.h"
#include "folders/dialogs/FolderDialogs.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/volumes/DriverKey.h"
#include "folders/volumes/Mount.h"
#include "folders/volumes/tests/FolderDeviceTest.h"
#include "platform/InputPanel.h"
#include "platform/ScriptedPrompt.h"
#include "platform/Text.h"
#include "ui/testing/OffscreenApp.h"

namespace folders {
namespace {

using platform::ScriptedPrompt;

constexpr char16_t kPath[] = u"\\My Documents\\Secret.zsf";

using ui::testing::OffscreenApp;

// OnModal: runs `drive` on the modal dialog once it is up.
void OnModal(std::function<void(QWidget*)> drive) {
  QTimer::singleShot(0, [drive] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    drive(dialog);
  });
}

template <typename T>
T* Child(QWidget* dialog, const char* name) {
  T* child = dialog->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

void Click(QWidget* dialog, const char* name) {
  Child<QPushButton>(dialog, name)->click();
}

void Type(QWidget* dialog, const char* name, const QString& text) {
  Child<QLineEdit>(dialog, name)->setText(text);
}

bool StillOpen(QWidget* dialog) {
  return QApplication::activeModalWidget() == dialog;
}

// MaskedWithStar: the field hides its text behind "*".
bool MaskedWithStar(QWidget* dialog, const char* name) {
  auto* field = Child<QLineEdit>(dialog, name);
  return field->echoMode() == QLineEdit::Password &&
         field->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, field) == '*';
}

// The re-keying worker held at its first written sectors until released.
std::atomic<bool> gReKeyingHeld{false};
std::atomic<bool> gReKeyingRelease{false};
void HoldReKeying(uint32_t) {
  gReKeyingHeld = true;
  for (int i = 0; i < 1000 && !gReKeyingRelease; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

class FolderDialogsTest : public testing::FolderDeviceTest {
 protected:
  void SetUp() override {
    FolderDeviceTest::SetUp();
    ASSERT_EQ(RegisterDriverKey(kDriverKeyDll, kDriverKeyPath), 0u);  // as the program's start
    OffscreenApp();
  }
  ScriptedPrompt prompt_;
};

TEST_F(FolderDialogsTest, SheetRefusesASmallSizeAndMbLowersTheMinimum) {
  NewFolderRequest request;
  OnModal([this](QWidget* sheet) {
    EXPECT_EQ(sheet->objectName(), "newFolderSheet");
    EXPECT_EQ(sheet->windowTitle(), "New folder");
    auto* size = Child<QSpinBox>(sheet, "size");
    EXPECT_EQ(size->value(), 256);
    EXPECT_EQ(size->singleStep(), 32);
    size->setValue(100);
    Click(sheet, "ok");
    EXPECT_EQ(prompt_.last().text, "Too small disk size specified!");
    EXPECT_TRUE(StillOpen(sheet));
    EXPECT_EQ(Child<QTabWidget>(sheet, "pages")->currentIndex(), 0);

    EXPECT_EQ(size->property("unitMinimum").toInt(), 256);
    Child<QComboBox>(sheet, "sizeUnit")->setCurrentIndex(1);
    EXPECT_EQ(size->property("unitMinimum").toInt(), 1);
    size->stepBy(-100);
    EXPECT_EQ(size->value(), 1);
    Child<QComboBox>(sheet, "sizeUnit")->setCurrentIndex(0);
    EXPECT_EQ(size->value(), 256);
    Click(sheet, "cancel");
  });
  EXPECT_FALSE(RunNewFolderSheet(nullptr, prompt_, u"New folder", u"", request));
}

TEST_F(FolderDialogsTest, SheetKeepsAFailedPageInFront) {
  NewFolderRequest request;
  OnModal([this](QWidget* sheet) {
    auto* pages = Child<QTabWidget>(sheet, "pages");
    Type(sheet, "name", "   ");
    pages->setCurrentIndex(1);
    EXPECT_EQ(prompt_.last().text, "A filename is required to create new folder");
    EXPECT_EQ(pages->currentIndex(), 0);

    Type(sheet, "name", "Secret");
    pages->setCurrentIndex(1);
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_EQ(Child<QComboBox>(sheet, "cipher")->currentText(), "RC5-32/12/16");
    Type(sheet, "password", "a long password of 24 ch");
    Type(sheet, "retype", "other");
    Click(sheet, "ok");
    EXPECT_EQ(prompt_.last().text, "Two passwords are not same. Try again.");
    EXPECT_EQ(Child<QLineEdit>(sheet, "retype")->text(), "");
    EXPECT_EQ(pages->currentIndex(), 1);

    Type(sheet, "retype", "a long password of 24 ch");
    auto* timeout = Child<QSpinBox>(sheet, "timeout");
    EXPECT_FALSE(timeout->isEnabled());
    Child<QCheckBox>(sheet, "timeoutBox")->setChecked(true);
    EXPECT_TRUE(timeout->isEnabled());
    timeout->setValue(0);
    Click(sheet, "ok");
    EXPECT_EQ(prompt_.last().text, "Timeout must be greater then 0!");
    EXPECT_TRUE(StillOpen(sheet));

    timeout->setValue(3);
    EXPECT_EQ(timeout->singleStep(), 5);
    Child<QComboBox>(sheet, "timeoutUnit")->setCurrentIndex(2);
    Click(sheet, "ok");
  });
  ASSERT_TRUE(RunNewFolderSheet(nullptr, prompt_, u"New Folder", u"\\My Documents\\x", request));
  EXPECT_EQ(platform::FieldText(request.record.path), kPath);
  EXPECT_EQ(platform::FieldText(request.record.mountName), u"Secret");
  EXPECT_EQ(request.record.algorithm, 3);
  EXPECT_EQ(request.record.timeoutSeconds, 3u * 3600);
  EXPECT_EQ(request.sizeKb, 256u);
  EXPECT_EQ(request.password, u"a long password of 24 ch");
  EXPECT_EQ(prompt_.count(), 3u);
}

TEST_F(FolderDialogsTest, PageCancelCancelsTheSheet) {
  for (const char* cancel : {"encryptionPageCancel", "folderPageCancel"}) {
    NewFolderRequest request;
    OnModal([cancel](QWidget* sheet) {
      Type(sheet, "name", "Secret");
      Type(sheet, "password", "pw");
      Type(sheet, "retype", "pw");
      Click(sheet, cancel);
    });
    EXPECT_FALSE(RunNewFolderSheet(nullptr, prompt_, u"New folder", u"", request)) << cancel;
    EXPECT_EQ(request.sizeKb, 0u);
  }
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(FolderDialogsTest, PasswordFieldsAreMaskedAndSwitchCompletionOff) {
  NewFolderRequest request;
  platform::SetInputPanelFlags(1);
  OnModal([](QWidget* sheet) {
    auto* password = Child<QLineEdit>(sheet, "password");
    EXPECT_TRUE(MaskedWithStar(sheet, "password"));
    EXPECT_TRUE(MaskedWithStar(sheet, "retype"));
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(password, &in);
    EXPECT_EQ(platform::InputPanelFlags(), 1u | platform::kInputPanelNoCompletion);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(password, &out);
    EXPECT_EQ(platform::InputPanelFlags(), 1u);
    Click(sheet, "cancel");
  });
  EXPECT_FALSE(RunNewFolderSheet(nullptr, prompt_, u"New folder", u"", request));
}

TEST_F(FolderDialogsTest, MountDialogStaysOpenUntilTheMountSucceeds) {
  VolumeRecord record = MakeFolder(kPath, u"pw");
  OnModal([this](QWidget* dialog) {
    EXPECT_EQ(Child<QLabel>(dialog, "fileName")->text(), "\\My Documents\\Secret.zsf");
    EXPECT_EQ(Child<QLabel>(dialog, "size")->text(), "256 (KB)");
    EXPECT_EQ(Child<QLabel>(dialog, "algorithm")->text(), "RC5");
    EXPECT_EQ(Child<QLineEdit>(dialog, "mountAs")->text(), "Secret");
    EXPECT_TRUE(MaskedWithStar(dialog, "password"));
    Type(dialog, "password", "wrong");
    Click(dialog, "ok");
    EXPECT_EQ(prompt_.last().text, "Invalid Password");
    EXPECT_TRUE(StillOpen(dialog));
    Type(dialog, "mountAs", "Vault");
    Type(dialog, "password", "pw");
    Click(dialog, "ok");
  });
  ASSERT_TRUE(RunMountDialog(nullptr, prompt_, record));
  EXPECT_NE(record.deviceHandle, 0u);
  EXPECT_EQ(platform::FieldText(record.mountName), u"Vault");
  EXPECT_TRUE(ReleaseFolderDevice(record.deviceHandle));
}

TEST_F(FolderDialogsTest, ChangePasswordChecksThenReKeys) {
  VolumeRecord record = MakeFolder(kPath, u"old");
  OnModal([this](QWidget* dialog) {
    EXPECT_TRUE(Child<QLineEdit>(dialog, "path")->isReadOnly());
    for (const char* name : {"oldPassword", "newPassword", "retype"})
      EXPECT_TRUE(MaskedWithStar(dialog, name)) << name;
    Type(dialog, "oldPassword", "bad");
    Type(dialog, "newPassword", "new");
    Type(dialog, "retype", "new");
    Click(dialog, "ok");
    EXPECT_EQ(prompt_.last().text, "Old password is invalid!");
    EXPECT_EQ(Child<QLineEdit>(dialog, "oldPassword")->text(), "");
    EXPECT_EQ(Child<QLineEdit>(dialog, "newPassword")->text(), "new");

    Type(dialog, "oldPassword", "old");
    Type(dialog, "retype", "neu");
    Click(dialog, "ok");
    EXPECT_EQ(prompt_.last().text, "Two passwords are not same. Try again.");
    EXPECT_EQ(Child<QLineEdit>(dialog, "newPassword")->text(), "");
    EXPECT_EQ(Child<QLineEdit>(dialog, "retype")->text(), "");
    EXPECT_EQ(Child<QLineEdit>(dialog, "oldPassword")->text(), "old");

    Type(dialog, "newPassword", "new");
    Type(dialog, "retype", "new");
    Click(dialog, "ok");
  });
  EXPECT_EQ(RunChangePasswordDialog(nullptr, prompt_, record), 0);
  EXPECT_EQ(prompt_.count(), 2u);
  VolumeRecord reread{};
  ASSERT_EQ(ReadContainerHeader(reread, kPath), 1);
  EXPECT_TRUE(VerifyPassword(reread, u"new"));
  EXPECT_FALSE(VerifyPassword(reread, u"old"));

  OnModal([](QWidget* dialog) { Click(dialog, "cancel"); });
  EXPECT_EQ(RunChangePasswordDialog(nullptr, prompt_, reread), 1);
}

TEST_F(FolderDialogsTest, ReKeyingIndicationCannotBeClosedWhileTheWorkerRuns) {
  const std::u16string longPassword = u"a new password of 27 chars.";
  VolumeRecord record = MakeFolder(kPath, u"old");
  SetPasswordChangeHooks({&HoldReKeying, nullptr});
  gReKeyingHeld = false;
  gReKeyingRelease = false;
  OnModal([&](QWidget* dialog) {
    Type(dialog, "oldPassword", "old");
    Type(dialog, "newPassword", QString::fromStdU16String(longPassword));
    Type(dialog, "retype", QString::fromStdU16String(longPassword));
    Click(dialog, "ok");
  });
  // Once the worker is held, Escape and a close request must leave the
  // indication up, keeping the window below out of reach. (A synthetic key
  // event would create an input device that outlives the application.)
  bool tried = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    QWidget* top = QApplication::activeModalWidget();
    if (!gReKeyingHeld || top == nullptr || top->objectName() != "passwordProgress") return;
    watch.stop();
    auto* indication = qobject_cast<QDialog*>(top);
    ASSERT_NE(indication, nullptr);
    indication->reject();  // what Escape does
    indication->close();   // the title bar's close
    EXPECT_TRUE(top->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), top);
    tried = true;
    gReKeyingRelease = true;
  });
  watch.start(5);
  EXPECT_EQ(RunChangePasswordDialog(nullptr, prompt_, record), 0);
  SetPasswordChangeHooks({});
  EXPECT_TRUE(tried);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  VolumeRecord reread{};
  ASSERT_EQ(ReadContainerHeader(reread, kPath), 1);
  EXPECT_TRUE(VerifyPassword(reread, longPassword));  // whole, not cut at 15
  EXPECT_FALSE(VerifyPassword(reread, longPassword.substr(0, 15)));
}

TEST_F(FolderDialogsTest, PropertiesShowTheTimeoutInItsLargestUnit) {
  VolumeRecord record = MakeFolder(kPath, u"pw");
  for (auto [seconds, value, unit] : {std::tuple{7200u, 2, "Hours"}, {90u, 90, "Seconds"}}) {
    record.timeoutSeconds = seconds;
    OnModal([value, unit](QWidget* dialog) {
      EXPECT_EQ(dialog->windowTitle(), "Properties of");
      EXPECT_TRUE(Child<QCheckBox>(dialog, "timeoutBox")->isChecked());
      EXPECT_EQ(Child<QSpinBox>(dialog, "timeout")->value(), value);
      EXPECT_EQ(Child<QComboBox>(dialog, "timeoutUnit")->currentText(), unit);
      EXPECT_EQ(Child<QLabel>(dialog, "sizeAndCipher")->text(), "256 (KB) ; RC5");
      Click(dialog, "cancel");
    });
    EXPECT_FALSE(RunPropertiesDialog(nullptr, prompt_, record));
  }
}

TEST_F(FolderDialogsTest, PropertiesOfAMountedFolderAreDisabled) {
  VolumeRecord record = MakeFolder(kPath, u"pw");
  record.deviceHandle = 9;
  OnModal([](QWidget* dialog) {
    for (const char* name : {"path", "mountAs", "timeoutBox", "timeout", "timeoutUnit"})
      EXPECT_FALSE(Child<QWidget>(dialog, name)->isEnabled()) << name;
    Click(dialog, "cancel");
  });
  EXPECT_FALSE(RunPropertiesDialog(nullptr, prompt_, record));
}

TEST_F(FolderDialogsTest, PropertiesFailedMoveKeepsTheDialogOpen) {
  VolumeRecord record = MakeFolder(kPath, u"pw");
  OnModal([this](QWidget* dialog) {
    Type(dialog, "path", "\\Nowhere\\b.zsf");
    Click(dialog, "ok");
    EXPECT_EQ(prompt_.last().text,
              "Cannot move file '\\My Documents\\Secret.zsf' to '\\Nowhere\\b.zsf'");
    EXPECT_TRUE(StillOpen(dialog));
    Type(dialog, "path", "\\Moved.zsf");
    Click(dialog, "ok");
  });
  ASSERT_TRUE(RunPropertiesDialog(nullptr, prompt_, record));
  EXPECT_EQ(platform::FieldText(record.path), u"\\Moved.zsf");
  EXPECT_TRUE(std::filesystem::exists(Host(u"\\Moved.zsf")));
}

TEST_F(FolderDialogsTest, ScreenshotsOfEveryDialogAreWritten) {
  VolumeRecord sample = MakeFolder(kPath, u"pw", 6, 256, u"Vault");
  sample.timeoutSeconds = 600;
  const std::string out = folder_.MakeFolder("shots");
  EXPECT_EQ(SaveDialogScreenshots(out, sample), 5);
  for (const char* file : {"folders-new-folder.png", "folders-new-encryption.png",
                           "folders-mount.png", "folders-password.png", "folders-properties.png"})
    EXPECT_GT(std::filesystem::file_size(out + "/" + file), 100u) << file;
}

}  // namespace
}  // namespace folders
