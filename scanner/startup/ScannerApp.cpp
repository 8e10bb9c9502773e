// The scanner program's start-up and end, shared by the window and the command line.
#include "scanner/startup/ScannerApp.h"

#include <cstdio>
#include <string>

#include "platform/DevicePath.h"
#include "platform/Text.h"
#include "scanner/scanrun/ScanRun.h"
#include "scanner/settings/Settings.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/virusbase/CheckSignature.h"
#include "scanner/virusbase/LoadBase.h"

namespace scanner {
namespace {

constexpr uint32_t kErrorBox = platform::MB_ICONERROR | platform::MB_OK;

// Format: printf-style formatting into a string of the needed length.
template <typename... Args>
std::string Format(const char* format, Args... args) {
  const int length = std::snprintf(nullptr, 0, format, args...);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length), '\0');
  std::snprintf(text.data(), text.size() + 1, format, args...);
  return text;
}

// BasePath: "%s%s" of the base folder and the file name, cut to the 259
// characters a path field holds.
std::u16string BasePath(const Scanner& scanner) {
  std::u16string path(platform::FieldText(scanner.szBasePath));
  path += kBaseFileName;
  if (path.size() > kPathChars - 1) path.resize(kPathChars - 1);
  return path;
}

}  // namespace

int ShowNumberedMessage(platform::Prompt& prompt, uint32_t id, uint32_t flags) {
  return prompt.Show(ScannerText(id), ScannerText(kMsgCaption), flags);
}

StartResult InitInstance(ScannerApp& app, ScannerFrontEnd& frontEnd, platform::Prompt& prompt) {
  Scanner& scanner = app.scanner;
  scanner.base = &app.base;
  scanner.prompt = &prompt;

  app.languageLoaded = ScannerStrings().LoadLanguage(kScannerLanguageModule) == 0;
  app.settingsLoaded = LoadSettings(scanner) == 1;
  if (!frontEnd.CreateMainWindow(kMainTitle)) return StartResult::kNoWindow;

  app.basePath = BasePath(scanner);
  const platform::FilePath baseFile = platform::ResolveDevicePath(app.basePath);
  // A path that does not resolve is a file that cannot be opened, with the
  // resolution's code.
  app.checkResult =
      baseFile.ok() ? CheckSignature(baseFile.host) : static_cast<int>(baseFile.error);
  if (app.checkResult > 0) {
    const std::string folder = platform::Utf16ToUtf8(platform::FieldText(scanner.szBasePath));
    prompt.Show(Format(kCheckFailedFormat, app.checkResult, folder.c_str()), kInitInstanceCaption,
                kErrorBox);
    return StartResult::kBaseUnreadable;
  }
  if (app.checkResult < 0) {
    ShowNumberedMessage(prompt, kMsgBaseCorrupted, kErrorBox);
    return StartResult::kBaseCorrupted;
  }

  if (!EnsureInfectedFolder(scanner)) ShowNumberedMessage(prompt, kMsgInfectedInvalid, kErrorBox);

  app.loadResult = LoadBase(app.base, baseFile.host);
  if (app.loadResult == -3)
    ShowNumberedMessage(prompt, kMsgBaseCorrupted, kErrorBox);
  else if (app.loadResult == -1)
    ShowNumberedMessage(prompt, kMsgBaseNotFound, kErrorBox);

  if (app.base.virusCount <= 0) return StartResult::kNoVirusKnown;
  frontEnd.SetTitle(platform::Utf8ToUtf16(Format(kTitleWithCount, app.base.virusCount)));
  return StartResult::kStarted;
}

int ExitInstance(ScannerApp& app) {
  if (app.scanner.state.load() != kIdle) StopScan(app.scanner);
  const int saved = SaveSettings(app.scanner);
  ScannerStrings().UnloadLanguage();
  app.languageLoaded = false;
  return saved;
}

}  // namespace scanner
