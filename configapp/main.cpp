// Setdesk: the Palm desktop settings in one tabbed dialog; saved on OK.
#include <QApplication>

#include "configapp/SetdeskRun.h"
#include "configapp/qt/QtSetdeskDialog.h"
#include "palmsettings/PalmSettings.h"
#include "ui/QtPrompt.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);  // the program takes no arguments of its own
  ui::QtPrompt prompt;
  palmsettings::PalmSettings record;
  configapp::QtSetdeskDialog dialog(record, prompt);
  return configapp::RunSetdesk(record, dialog, prompt);
}
