// The one Qt application of a test program, and the leak checker's view of Qt's libraries.
#include "ui/testing/OffscreenApp.h"

#include <QApplication>

namespace ui::testing {
namespace {

// Qt keeps argc by reference and argv for the application's life.
int argc = 1;
char name[] = "offscreen_qt_tests";
char* argv[] = {name, nullptr};

// ChooseOffscreen: no display for tests, unless the caller asked for one
// (QT_QPA_PLATFORM=xcb shows the windows while debugging).
void ChooseOffscreen() {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace

QApplication& OffscreenApp() {
  ChooseOffscreen();  // only the first call counts: the platform is read once
  static QApplication app(argc, argv);
  return app;
}

QApplication& LastingOffscreenApp() {
  ChooseOffscreen();
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace ui::testing

// The font library keeps a cache the leak checker cannot see freed. It lives
// here, beside the application every offscreen test program links, because
// a program has one such list; the sanitizer build reads it (ignored elsewhere).
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
