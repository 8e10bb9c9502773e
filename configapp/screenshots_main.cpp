// configapp_screenshots: writes Setdesk's three tabs as PNG files, over sample settings.
#include <QApplication>
#include <QListWidget>
#include <QPixmap>
#include <cstdio>
#include <string>

#include "configapp/SetdeskDialog.h"
#include "configapp/qt/SetdeskDialogView.h"
#include "palmsettings/PalmSettings.h"
#include "platform/ScriptedPrompt.h"

namespace {

// Hover: the pointer comes over the control named `name`, as for its hint.
void Hover(QWidget& dialog, const char* name) {
  if (QWidget* control = dialog.findChild<QWidget*>(QString::fromLatin1(name))) {
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(control, &enter);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: configapp_screenshots FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  // Sample settings in memory only: nothing is read from or written to a registry.
  palmsettings::PalmSettings record;
  palmsettings::AppendEntry(record.addressList, "http://updates.example.com/palm/");
  palmsettings::AppendEntry(record.addressList, "http://mirror.example.org/zepp/");
  record.DaysBetweenUpdate = 30;
  record.SyncWaitTime = 10;

  platform::ScriptedPrompt quiet;  // nothing is pressed, so nothing is asked
  configapp::SetdeskDialog dialog(record, quiet);
  configapp::SetdeskDialogView view(dialog);
  view.show();
  struct Shot {
    const char* file;
    const char* hover;
  };
  const Shot shots[] = {{"setdesk-conduit.png", "rate"},
                        {"setdesk-urls.png", "address"},
                        {"setdesk-paths.png", "zeppDir"}};
  int written = 0;
  for (int tab = 0; tab < 3; ++tab) {
    view.SelectTab(tab);
    Hover(view, shots[tab].hover);
    if (tab == 1) {
      if (auto* list = view.findChild<QListWidget*>(QStringLiteral("addresses")))
        list->setCurrentRow(0);
    }
    QApplication::processEvents();
    if (view.grab().save(QString::fromStdString(folder + "/" + shots[tab].file))) ++written;
  }
  view.reject();
  std::printf("%d screenshots written to %s\n", written, folder.c_str());
  return written == 3 ? 0 : 1;
}
