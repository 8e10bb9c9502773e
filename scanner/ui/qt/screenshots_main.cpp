// scanner_screenshots: writes the scanner window's three pages as PNG files.
#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <string>

#include "platform/ScriptedPrompt.h"
#include "platform/Text.h"
#include "scanner/scanrun/ScanObserver.h"
#include "scanner/ui/qt/MainFrame.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: scanner_screenshots FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  scanner::Scanner scanner;
  platform::CopyToField(scanner.infectedPath, u"\\Program Files\\ZEP PPC\\Infected\\");
  platform::CopyToField(scanner.excludeMask, u"*.txt");
  platform::ScriptedPrompt prompt;  // nothing is asked while drawing
  int written = 0;
  {
    scanner_ui::CMainFrame window(scanner, prompt);
    window.setWindowTitle("Quillmark AV - 2 viruses");
    window.LoadPages();
    window.show();

    // A finished run to show on the results page.
    window.OnState(scanner::kRunning, scanner::kIdle);
    scanner.resultList->AddRow(u"\\My Documents\\setup.exe", u"Infected with Alpha");
    scanner.resultList->AddRow(u"\\Storage Card\\game.exe", u"Deleted");
    scanner.files = 214;
    scanner.folders = 31;
    scanner.dbases = 6;
    scanner.cards = 1;
    scanner.virusesFound = 2;
    scanner.deleted = 1;
    for (uint32_t code : {scanner::kProgressFileHandled, scanner::kProgressFolder,
                          scanner::kProgressDatabase, scanner::kProgressCard})
      window.OnProgress(code, 0);
    window.OnStatusText(u"\\Windows\\calc.exe");

    const struct {
      scanner::Page page;
      const char* name;
    } pages[] = {{scanner::Page::kScanOptions, "scanner-options.png"},
                 {scanner::Page::kReport, "scanner-report.png"},
                 {scanner::Page::kResults, "scanner-results.png"}};
    for (const auto& shot : pages) {
      window.ShowPage(shot.page);
      QApplication::processEvents();
      if (window.grab().save(QString::fromStdString(folder + "/" + shot.name))) ++written;
    }
  }
  std::printf("%d screenshots written to %s\n", written, folder.c_str());
  return written == 3 ? 0 : 1;
}
