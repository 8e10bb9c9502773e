// Fuzz target: stored address values and the address list's rules on arbitrary input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/ScriptedPrompt.h"
#include "scanner/updater/ConfigureUpdater.h"
#include "scanner/updater/UpdaterSettings.h"

namespace {

class NullView : public scanner::ConfigureUpdaterView {
 public:
  void SetHeading(std::u16string_view) override {}
  void SetControlText(int, std::u16string_view) override {}
  void SetList(const std::vector<std::u16string>&) override {}
  void SetEditText(std::u16string_view) override {}
  void FocusEdit() override {}
  void Close() override {}
};

class NoDownload : public scanner::DownloadRunner {
 public:
  int32_t RunDownloadDialog() override { return scanner::kDownloadFailed; }
};

}  // namespace

// Input: one type byte, then the value's bytes. The same bytes, read as
// UTF-16 texts separated by NUL, drive Add, Select and Remove on the list.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const uint32_t kTypes[] = {platform::REG_SZ, platform::REG_EXPAND_SZ, platform::REG_BINARY,
                                    platform::REG_DWORD};
  const uint32_t type = kTypes[data[0] % 4];
  const std::span<const uint8_t> bytes(data + 1, size - 1);

  std::u16string url;
  if (scanner::UrlFromValue(type, bytes.first(std::min<size_t>(bytes.size(), 520)), url)) {
    if (url.empty() || url.size() >= scanner::kUrlChars) std::abort();
    if (url.back() != u'/' && url.back() != u'\\') std::abort();
  }

  NullView view;
  platform::ScriptedPrompt prompt;
  NoDownload runner;
  scanner::ConfigureUpdater dialog(view, prompt, runner, [] { return false; });
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char16_t c = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    if (c != 0) {
      text.push_back(c);
      continue;
    }
    if (!text.empty() && text[0] == u'-') {
      dialog.OnSelect(static_cast<int>(text.size()) - 3);
      dialog.OnRemove(static_cast<int>(text.size()) - 3);
    } else {
      dialog.OnAdd(text);
    }
    text.clear();
  }
  const auto& urls = dialog.urls();
  if (urls.size() > scanner::kMaxUrls) std::abort();
  for (size_t a = 0; a < urls.size(); ++a) {
    if (!scanner::FitsUrlField(urls[a])) std::abort();
    for (size_t b = a + 1; b < urls.size(); ++b)
      if (scanner::SameUrl(urls[a], urls[b])) std::abort();
  }
  return 0;
}
