// The Download dialog on a console: title, status text and a 0–10 bar on one line.
#pragma once

#include <atomic>
#include <iosfwd>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/Prompt.h"
#include "scanner/updater/DownloadDialog.h"
#include "scanner/zepscan/ConsoleScanView.h"

namespace zepscan {

// ConsoleDownloadView: with ProgressLine::On one line on `messages` shows
// the title, the bar and the address being tried, rewritten in place; with
// Off a line is written whenever the title or the address changes. The
// stream is borrowed. Safe from any thread.
class ConsoleDownloadView : public scanner::DownloadDialogView {
 public:
  ConsoleDownloadView(std::ostream& messages, ProgressLine line)
      : messages_(messages), line_(line) {}

  void SetTitle(std::u16string_view title) override;
  void SetButtonText(std::u16string_view) override {}
  void StartTimer(uint32_t) override {}
  void Close() override;

  void OnStatusText(std::u16string_view text) override;
  void OnProgressRange(int low, int high) override;
  void OnProgressAdvance(int delta) override;
  void OnProgressPos(int pos) override;

  // ClearLine: erases the progress line before another message is written.
  void ClearLine();

  bool closed() const { return closed_; }
  // Bar: the bar as drawn, "[####......]".
  std::string Bar() const;

 private:
  void Changed(bool announce);
  std::string BarLocked() const;

  std::ostream& messages_;
  const ProgressLine line_;
  mutable std::mutex mutex_;
  std::string title_;
  std::string status_;
  int low_ = 0;
  int high_ = 10;
  int pos_ = 0;
  bool drawn_ = false;
  std::atomic<bool> closed_{false};
};

// LineSafePrompt: a prompt that erases the view's line before each message
// of the wrapped prompt. Both are borrowed.
class LineSafePrompt : public platform::Prompt {
 public:
  LineSafePrompt(platform::Prompt& inner, ConsoleDownloadView& view) : inner_(inner), view_(view) {}
  using Prompt::Show;
  int Show(std::string_view text, std::string_view caption, uint32_t flags) override;

 private:
  platform::Prompt& inner_;
  ConsoleDownloadView& view_;
};

}  // namespace zepscan
