// Updating the virus base from the command line, with the Download dialog on the console.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "platform/Prompt.h"
#include "scanner/updater/DownloadDialog.h"
#include "scanner/updater/UpdaterState.h"
#include "scanner/zepscan/ConsoleDownloadView.h"

namespace zepscan {

// UpdateOptions: what `zepscan update` takes.
struct UpdateOptions {
  uint32_t pauseMs = scanner::kDefaultPauseMs;  // the wait before each body is read
};

// ConsoleDownload: runs the Download dialog on the console: a tick every
// 500 ms; the first interrupt (Ctrl-C, or a stop request) presses Cancel,
// the second one escape. `interrupts` answers how many there were so far.
class ConsoleDownload : public scanner::DownloadRunner {
 public:
  ConsoleDownload(ConsoleDownloadView& view, platform::Prompt& prompt, uint32_t pauseMs,
                  std::function<int()> interrupts)
      : view_(view), prompt_(prompt), pauseMs_(pauseMs), interrupts_(std::move(interrupts)) {}

  int32_t RunDownloadDialog() override;

  // target: the handheld path of the base the last run wrote (or would have).
  const std::u16string& target() const { return target_; }

 private:
  ConsoleDownloadView& view_;
  platform::Prompt& prompt_;
  uint32_t pauseMs_;
  std::function<int()> interrupts_;
  std::u16string target_;
};

// RunUpdate: `zepscan update`: refused with message 122 while a scan (or
// another update) runs under the same home; otherwise the download with its
// progress on err, message 123 on err when it fails, and the new base's
// path on out when it succeeds. Holds the one-scan mark meanwhile, so that
// no scan starts during the update. Returns kExitClean or kExitError.
int RunUpdate(const UpdateOptions& options, std::ostream& out, std::ostream& err);

// DownloadResultText: a short meaning of a download result.
const char* DownloadResultText(int32_t result);

}  // namespace zepscan
