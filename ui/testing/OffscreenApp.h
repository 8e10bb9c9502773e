// The one Qt application of a test program, made offscreen on first use.
#pragma once

class QApplication;

// The library also holds the sanitizer's leak suppressions for the font
// library's cache (__lsan_default_suppressions): a program linking it defines none.

namespace ui::testing {

// OffscreenApp: the program's application, made on the first call on the
// "offscreen" platform unless QT_QPA_PLATFORM already names one, and
// destroyed at exit. The usual choice: the sanitizer build then sees the
// application's allocations freed instead of reporting them as leaks. A
// program calls this or LastingOffscreenApp, never both.
QApplication& OffscreenApp();

// LastingOffscreenApp: as OffscreenApp, but never destroyed. Only for
// programs whose windows, dialogs or threads outlive the tests: destroying
// the application before them at exit crashes or hangs Qt's own clean-up.
QApplication& LastingOffscreenApp();

}  // namespace ui::testing
