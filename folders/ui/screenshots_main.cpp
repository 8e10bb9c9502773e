// folders_screenshots: writes the folder window and the folder dialogs as PNG files.
#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <string>

#include "folders/dialogs/FolderDialogs.h"
#include "folders/ui/CreationWorkers.h"
#include "folders/ui/FoldersStartup.h"
#include "folders/ui/FoldersWindow.h"
#include "platform/ScriptedPrompt.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: folders_screenshots FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const folders::FoldersSession session = folders::StartFolders();
  int written = 0;
  {
    platform::ScriptedPrompt prompt;  // nothing is asked while drawing
    folders::CreationWorkers workers;
    folders::FoldersWindow window(prompt, workers);
    window.resize(300, 240);
    window.show();
    window.Refresh();
    const std::vector<folders::VolumeRow> rows = folders::RefreshVolumeList();
    folders::VolumeRecord sample{};
    for (const folders::VolumeRow& row : rows) {
      if (row.state != folders::VolumeState::Missing) {
        sample = row.record;
        window.SelectPath(row.path);
        if (row.state == folders::VolumeState::NotMounted) break;
      }
    }
    QApplication::processEvents();
    if (window.grab().save(QString::fromStdString(folder + "/folders-window.png"))) ++written;
    written += folders::SaveDialogScreenshots(folder, sample);
  }
  folders::EndFolders(session);
  std::printf("%d screenshots written to %s\n", written, folder.c_str());
  return written == 6 ? 0 : 1;
}
