// scanner_dialogs_screenshots: writes the scanner's four dialogs as PNG files.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <string>

#include "platform/ScriptedPrompt.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/ui/dialogs/qt/AboutWindow.h"
#include "scanner/ui/dialogs/qt/ConfigureUpdaterWindow.h"
#include "scanner/ui/dialogs/qt/DetectionWindow.h"
#include "scanner/ui/dialogs/qt/DownloadWindow.h"
#include "scanner/updater/UpdaterMessages.h"

namespace {

// NoDownload: Get Update is not pressed while drawing.
class NoDownload : public scanner::DownloadRunner {
 public:
  int32_t RunDownloadDialog() override { return scanner::kDownloadCancelled; }
};

// Save: the dialog at the handheld's width, drawn into `folder`/`name`.
bool Save(QDialog& dialog, const std::string& folder, const char* name) {
  dialog.resize(240, dialog.sizeHint().height());
  dialog.show();
  QApplication::processEvents();
  const bool saved = dialog.grab().save(QString::fromStdString(folder + "/" + name));
  dialog.hide();
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: scanner_dialogs_screenshots FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  int written = 0;

  scanner_dialogs::DetectionWindow detection(
      {scanner::ScannerText(scanner::kMsgFileLabel), u"\\My Documents\\Games\\solitaire.exe",
       scanner::ScannerText(scanner::kMsgVirusLabel), u"Eicar-Test",
       u"The anti-virus test file: harmless, detected on purpose."},
      true, false, nullptr);
  written += Save(detection, folder, "scanner-detection.png");

  scanner_dialogs::AboutWindow about(nullptr);
  written += Save(about, folder, "scanner-about.png");

  platform::ScriptedPrompt prompt;  // nothing is asked while drawing
  NoDownload runner;
  scanner_dialogs::ConfigureUpdaterWindow configure(
      prompt, runner, [] { return false; }, nullptr);
  configure.Open();
  for (const char* url :
       {"http://updates.quillmark.example/bases/", "http://mirror.quillmark.example/zep/"}) {
    configure.findChild<QLineEdit*>("1076")->setText(QString::fromLatin1(url));
    configure.findChild<QPushButton*>("1079")->click();
  }
  written += Save(configure, folder, "scanner-configure-updater.png");

  scanner::UpdaterState updater;
  scanner_dialogs::DownloadWindow download(updater, nullptr);
  download.SetTitle(scanner::ScannerText(scanner::kMsgDownloading));
  download.SetButtonText(scanner::ScannerText(scanner::kMsgCancel));
  download.OnStatusText(u"http://updates.quillmark.example/bases/");
  download.OnProgressRange(0, 100);
  download.OnProgressPos(40);
  written += Save(download, folder, "scanner-download.png");

  std::printf("%d screenshots written to %s\n", written, folder.c_str());
  return written == 4 ? 0 : 1;
}
