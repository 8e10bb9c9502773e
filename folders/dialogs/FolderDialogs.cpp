// The folder program's modal dialogs: each a logic object shown through its Qt view.
#include "folders/dialogs/FolderDialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <iterator>
#include <thread>

#include "folders/container/Container.h"
#include "folders/dialogs/MountForm.h"
#include "folders/dialogs/NewFolderSheet.h"
#include "folders/dialogs/PasswordForm.h"
#include "folders/dialogs/PropertiesForm.h"
#include "folders/dialogs/qt/MountDialogView.h"
#include "folders/dialogs/qt/NewFolderSheetView.h"
#include "folders/dialogs/qt/PasswordDialogView.h"
#include "folders/dialogs/qt/PropertiesDialogView.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/volumes/CipherNames.h"
#include "platform/ScriptedPrompt.h"
#include "platform/Text.h"

namespace folders {

namespace {

// BusyDialog: a progress indication the user cannot close. While it is up the
// window below must stay out of reach: a folder being re-keyed must not be
// mounted, deleted or re-keyed again meanwhile.
class BusyDialog final : public QProgressDialog {
 public:
  using QProgressDialog::QProgressDialog;
  void reject() override {}  // Escape

 protected:
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// Save: shows `view` and writes what it shows into folder/file as PNG.
bool Save(QWidget& view, const std::string& folder, const char* file) {
  view.show();
  QApplication::processEvents();
  const QString path = QString::fromStdString(folder + "/" + file);
  return view.grab().save(path, "PNG");
}

}  // namespace

bool RunNewFolderSheet(QWidget* parent, platform::Prompt& prompt, std::u16string_view caption,
                       std::u16string_view initialPath, NewFolderRequest& request) {
  NewFolderSheet sheet;
  sheet.Load(initialPath);
  NewFolderSheetView view(sheet, prompt, Qs(caption), parent);
  view.exec();
  // A sheet closed by its title bar counts as cancelled: no page passed OK.
  if (view.result() != QDialog::Accepted) return false;
  return sheet.Result(request);
}

bool RunMountDialog(QWidget* parent, platform::Prompt& prompt, VolumeRecord& record) {
  MountForm form(record);
  MountDialogView view(form, prompt, parent);
  return view.exec() == QDialog::Accepted;
}

int RunChangePasswordDialog(QWidget* parent, platform::Prompt& prompt, const VolumeRecord& record) {
  std::u16string oldPassword, newPassword;
  {
    PasswordDialogView view(record, prompt, parent);
    if (view.exec() != QDialog::Accepted) return 1;
    oldPassword = view.OldPassword();
    newPassword = view.NewPassword();
  }

  // Re-keying reads and writes every sector: a worker does it while a busy
  // indicator keeps the window painted. The worker touches no widget and no
  // prompt; it works on its own copy of the record.
  BusyDialog progress(QText(kIdsMenuChangePassword), QString(), 0, 0, parent);
  progress.setObjectName(QStringLiteral("passwordProgress"));
  progress.setWindowTitle(QText(kIdsCaption));
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setCancelButton(nullptr);
  progress.setMinimumDuration(0);
  progress.show();

  std::atomic<bool> done{false};
  int result = 0;
  std::thread worker([&, job = record] {
    result = ChangeContainerPassword(job, oldPassword, newPassword);
    done.store(true);
  });
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done.load()) loop.quit();
  });
  poll.start(20);
  if (!done.load()) loop.exec();
  worker.join();
  progress.hide();
  ReportPasswordChange(result, prompt);
  return result;
}

bool RunPropertiesDialog(QWidget* parent, platform::Prompt& prompt, VolumeRecord& record) {
  PropertiesForm form(record);
  PropertiesDialogView view(form, prompt, parent);
  return view.exec() == QDialog::Accepted;
}

int SaveDialogScreenshots(const std::string& folder, const VolumeRecord& sample) {
  if (QApplication::instance() == nullptr) return 0;
  platform::ScriptedPrompt quiet;  // nothing is pressed, so nothing is asked
  VolumeRecord record = sample;
  int written = 0;

  NewFolderSheet sheet;
  sheet.Load(platform::FieldText(sample.path));
  sheet.SetPassword(u"secret");
  sheet.SetRetype(u"secret");
  sheet.SetTimeout(TimeoutFromSeconds(sample.timeoutSeconds));
  const auto offered =
      std::find(std::begin(kOfferedCiphers), std::end(kOfferedCiphers), sample.algorithm);
  if (offered != std::end(kOfferedCiphers))
    sheet.SetCipher(static_cast<size_t>(offered - std::begin(kOfferedCiphers)));
  {
    NewFolderSheetView view(sheet, quiet, QStringLiteral("New folder"));
    view.ShowPage(SheetPage::Folder);
    written += Save(view, folder, "folders-new-folder.png");
    view.ShowPage(SheetPage::Encryption);
    written += Save(view, folder, "folders-new-encryption.png");
  }
  {
    MountForm form(record);
    MountDialogView view(form, quiet);
    view.SetPassword(QStringLiteral("secret"));
    written += Save(view, folder, "folders-mount.png");
  }
  {
    PasswordDialogView view(record, quiet);
    view.SetPasswords(QStringLiteral("secret"), QStringLiteral("another"));
    written += Save(view, folder, "folders-password.png");
  }
  {
    PropertiesForm form(record);
    PropertiesDialogView view(form, quiet);
    written += Save(view, folder, "folders-properties.png");
  }
  return written;
}

}  // namespace folders
