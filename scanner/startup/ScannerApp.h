// The scanner program's start-up and end, shared by the window and the command line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Prompt.h"
#include "scanner/scanrun/Scanner.h"
#include "scanner/virusbase/VirusBase.h"

namespace scanner {

// kBaseFileName: the base's file name inside szBasePath.
inline constexpr char16_t kBaseFileName[] = u"ZEPBase.zvb";

// kMainTitle / kTitleWithCount: the main window's titles before and after
// the base is loaded ("%d" is the number of viruses).
inline constexpr char16_t kMainTitle[] = u"Quillmark AV";
inline constexpr char kTitleWithCount[] = "Quillmark AV - %d viruses";

// Start-up messages.
inline constexpr uint32_t kMsgBaseCorrupted = 91;
inline constexpr uint32_t kMsgBaseNotFound = 92;
inline constexpr uint32_t kMsgInfectedInvalid = 105;
inline constexpr char kCheckFailedFormat[] = "CheckSignature returned %d\nScanner.szBasePath == %s";
inline constexpr char kInitInstanceCaption[] = "CZEPScannerApp::InitInstance()";

// ScannerFrontEnd: what start-up asks of the program's face: a window, or
// nothing at all for the command line.
class ScannerFrontEnd {
 public:
  virtual ~ScannerFrontEnd() = default;

  // CreateMainWindow: creates and shows the main window with its menu and
  // toolbar under `title`; false when it cannot, which ends the start-up.
  virtual bool CreateMainWindow(std::u16string_view title) = 0;

  // SetTitle: the main window's new title.
  virtual void SetTitle(std::u16string_view title) = 0;
};

// StartResult: how the start-up ended. Every value but kStarted ends the
// program (after ExitInstance).
enum class StartResult {
  kStarted,         // the base is loaded and knows at least one virus
  kNoWindow,        // the front-end could not create its window
  kBaseUnreadable,  // CheckSignature was positive (diagnostic box shown)
  kBaseCorrupted,   // CheckSignature was negative (message 91 shown)
  kNoVirusKnown,    // the loaded base holds no virus (nothing shown)
};

// ScannerApp: the program's one scanner, its base and its language module.
// The Scanner's base pointer refers to `base`; the prompt is borrowed.
struct ScannerApp {
  Scanner scanner;
  VirusBase base;
  std::u16string basePath;  // the base file's handheld path (step 4)
  int checkResult = 0;      // CheckSignature's result
  int loadResult = 0;       // LoadBase's result
  bool languageLoaded = false;
  bool settingsLoaded = false;  // LoadSettings answered 1
};

// InitInstance: the start-up in its order: the language module
// "zepppc_loc.dll" into ScannerStrings(), LoadSettings, the front-end's
// window, the base path, CheckSignature, EnsureInfectedFolder, LoadBase and
// the title with the virus count. The base path is resolved to its host file
// for CheckSignature and LoadBase. Messages go to `prompt`: numbered ones
// captioned with message 5 and the error icon. Sets app.scanner.base and
// app.scanner.prompt.
StartResult InitInstance(ScannerApp& app, ScannerFrontEnd& frontEnd, platform::Prompt& prompt);

// ExitInstance: the program's end: StopScan when a run is active,
// SaveSettings, and the language module released. Safe after any
// StartResult; returns SaveSettings's result.
int ExitInstance(ScannerApp& app);

// ShowNumberedMessage: a numbered message as the scanner shows it: its text
// from ScannerText, captioned with message 5, with `flags` (icon, buttons).
int ShowNumberedMessage(platform::Prompt& prompt, uint32_t id, uint32_t flags);

}  // namespace scanner
