// Folders: the encrypted-folder program, its window or one command-line form.
#include <QApplication>
#include <string>

#include "folders/ui/CreationWorkers.h"
#include "folders/ui/FoldersCommandLine.h"
#include "folders/ui/FoldersStartup.h"
#include "folders/ui/FoldersWindow.h"
#include "folders/ui/QtFrontEnd.h"
#include "platform/Text.h"
#include "ui/QtPrompt.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const folders::FoldersSession session = folders::StartFolders();
  int status = 0;
  {
    ui::QtPrompt prompt;
    folders::CreationWorkers workers;  // holds the creation lock
    // The handheld hands a program one command-line text; the words are joined back.
    std::string text;
    for (int i = 1; i < argc; ++i) {
      if (i > 1) text += ' ';
      text += argv[i];
    }
    const folders::FoldersCommandLine line =
        folders::ParseFoldersCommandLine(platform::Utf8ToUtf16(text));
    if (line.form != folders::CommandForm::None) {
      folders::QtFrontEnd frontEnd(nullptr, prompt);
      status = folders::RunFoldersCommandLine(line, frontEnd, prompt, workers.Lock());
    } else {
      folders::FoldersWindow window(prompt, workers);
      window.show();
      status = app.exec();
    }
  }
  folders::EndFolders(session);
  return status;
}
