// The updater's address list from the command line, under the Configure Updater dialog's rules.
#include "scanner/zepscan/UrlsCommand.h"

#include <cstdio>
#include <ostream>
#include <vector>

#include "platform/ConsolePrompt.h"
#include "platform/Text.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/updater/ConfigureUpdater.h"
#include "scanner/zepscan/ZepscanCommand.h"

namespace zepscan {
namespace {

// ListView: the dialog's window without a window: only whether OK closed it.
class ListView : public scanner::ConfigureUpdaterView {
 public:
  void SetHeading(std::u16string_view) override {}
  void SetControlText(int, std::u16string_view) override {}
  void SetList(const std::vector<std::u16string>&) override {}
  void SetEditText(std::u16string_view) override {}
  void FocusEdit() override {}
  void Close() override { closed = true; }
  bool closed = false;
};

// NoDownload: the list commands never press Get Update.
class NoDownload : public scanner::DownloadRunner {
 public:
  int32_t RunDownloadDialog() override { return scanner::kDownloadFailed; }
};

int Edit(UrlsAction action, const std::string& url, std::ostream& out, std::ostream& err) {
  platform::ConsolePrompt prompt(platform::ConsoleAnswers::DefaultButton, stdin, stderr);
  ListView view;
  NoDownload runner;
  scanner::ConfigureUpdater dialog(view, prompt, runner, [] { return false; });
  if (dialog.OnInit() != 0) return kExitError;  // message 121 was shown

  if (action == UrlsAction::List) {
    for (const std::u16string& listed : dialog.urls()) out << platform::Utf16ToUtf8(listed) << '\n';
    out.flush();
    return kExitClean;
  }
  const std::u16string address = platform::Utf8ToUtf16(url);
  if (action == UrlsAction::Add) {
    if (platform::Trim(address).empty()) {
      err << "zepscan: an empty address cannot be added\n";
      return kExitError;
    }
    if (!dialog.OnAdd(address)) return kExitError;  // the dialog's message was shown
  } else {
    const auto& listed = dialog.urls();
    int found = -1;
    for (size_t i = 0; i < listed.size() && found < 0; ++i)
      if (scanner::SameUrl(listed[i], platform::Trim(address))) found = static_cast<int>(i);
    if (found < 0) {
      err << "zepscan: no such address: " << url << '\n';
      return kExitError;
    }
    dialog.OnSelect(found);
    dialog.OnRemove(found);
  }
  return dialog.OnOk() && view.closed ? kExitClean : kExitError;
}

}  // namespace

int RunUrls(UrlsAction action, const std::string& url, std::ostream& out, std::ostream& err) {
  scanner::ScannerStrings().LoadLanguage(scanner::kScannerLanguageModule);
  const int status = Edit(action, url, out, err);
  scanner::ScannerStrings().UnloadLanguage();
  return status;
}

}  // namespace zepscan
