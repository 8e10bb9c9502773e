// conduit_screenshots: writes the conduit's four dialogs as PNG files, over sample settings.
#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <cstring>
#include <string>

#include "conduit/dialogs/ActionDialog.h"
#include "conduit/dialogs/NoticeDialog.h"
#include "conduit/dialogs/SyncActionDialog.h"
#include "conduit/dialogs/UpdateProgressDialog.h"
#include "conduit/dialogs/qt/ActionDialogWindow.h"
#include "conduit/dialogs/qt/NoticeDialogWindow.h"
#include "conduit/dialogs/qt/ProgressDialogWindow.h"
#include "conduit/dialogs/qt/SyncActionDialogWindow.h"
#include "conduit/sync/InstallPass.h"
#include "palmsettings/PalmSettings.h"
#include "platform/ScriptedPrompt.h"

namespace {

int g_written = 0;

void Save(QWidget& window, const std::string& folder, const char* file) {
  window.show();
  QApplication::processEvents();
  if (window.grab().save(QString::fromStdString(folder + "/" + file))) ++g_written;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: conduit_screenshots FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  // Sample settings in memory only: nothing is read from or written to a registry.
  palmsettings::PalmSettings record;
  palmsettings::AppendEntry(record.addressList, "http://updates.example.com/palm");
  platform::ScriptedPrompt quiet;

  {
    conduit::SyncActionDialog dialog(record, [](uint32_t& stamp, std::string* date) {
      stamp = 20030214;
      if (date) *date = "2 / 14 / 2003";
      return 1187;
    });
    conduit::SyncActionDialogWindow window(dialog);
    window.Open();
    Save(window, folder, "zeppalm-sync-action.png");
  }
  {
    ConduitCfgRecord arguments{};
    arguments.version = 1;
    std::strcpy(arguments.userName, "Ann");
    arguments.defaultSyncType = 0;
    arguments.nextSyncType = 0;
    conduit::ActionDialog dialog(record, arguments);
    conduit::ActionDialogWindow window(dialog);
    window.Open();
    Save(window, folder, "zeppalm-settings.png");
  }
  {
    conduit::UpdateProgressDialog dialog(record, quiet,
                                         conduit::UpdateProgressDialog::kModeInstall);
    conduit::ProgressDialogWindow window(dialog);
    window.SetText(conduit::kInstallingText);
    window.SetRange(0, 10);
    window.SetPos(6);
    Save(window, folder, "zeppalm-progress.png");
  }
  {
    conduit::NoticeDialog dialog("Error!",
                                 "Not all of update files were succesfuly received.\nCheck your "
                                 "\"LastUpdate\\Download\" folder.",
                                 5);
    conduit::NoticeDialogWindow window(dialog);
    window.Open();
    Save(window, folder, "zeppalm-notice.png");
  }
  std::printf("%d screenshots written to %s\n", g_written, folder.c_str());
  return g_written == 4 ? 0 : 1;
}
