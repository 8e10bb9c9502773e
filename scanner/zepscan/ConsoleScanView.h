// The scan run on a console: result rows as they come, and a progress line on a terminal.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/Prompt.h"
#include "scanner/scanrun/ResultList.h"
#include "scanner/scanrun/ScanObserver.h"
#include "scanner/scanrun/Scanner.h"

namespace zepscan {

// ProgressLine: whether the view keeps a progress line on its message stream.
enum class ProgressLine { Off, On };

// ConsoleScanView: the observer of a run. Rows of the result list go to
// `rows` as "object<TAB>result" lines, each as soon as a call from the run
// finds it in the list (a row is in the list by the progress or state
// message that follows it). With ProgressLine::On one line on `messages`
// (files, folders, viruses, the current object) is rewritten in place, at
// most every few hundredths of a second.
// Scanner, list and streams are borrowed. Safe from any thread.
class ConsoleScanView : public scanner::ScanObserver {
 public:
  ConsoleScanView(const scanner::Scanner& scanner, const scanner::ResultList& list,
                  std::ostream& rows, std::ostream& messages, ProgressLine line);

  void OnProgress(uint32_t first, uint32_t second) override;
  void OnState(uint32_t newState, uint32_t oldState) override;
  void OnStatusText(std::u16string_view text) override;

  // FlushRows: prints the rows added since the last call.
  void FlushRows();

  // ClearProgress: erases the progress line so that a message can be
  // written on the message stream; the next call from the run draws it again.
  void ClearProgress();

  // PrintSummary: the counters with their labels, as the report has them.
  void PrintSummary();

 private:
  void FlushRowsLocked();
  void ClearLocked();
  void DrawLocked();

  const scanner::Scanner& scanner_;
  const scanner::ResultList& list_;
  std::ostream& rows_;
  std::ostream& messages_;
  const ProgressLine line_;
  std::mutex mutex_;
  size_t printed_ = 0;
  std::string current_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point lastDraw_{};
};

// ProgressSafePrompt: a prompt that erases the view's progress line before
// each message of the wrapped prompt. Both are borrowed.
class ProgressSafePrompt : public platform::Prompt {
 public:
  ProgressSafePrompt(platform::Prompt& inner, ConsoleScanView& view) : inner_(inner), view_(view) {}
  using Prompt::Show;
  int Show(std::string_view text, std::string_view caption, uint32_t flags) override;

 private:
  platform::Prompt& inner_;
  ConsoleScanView& view_;
};

}  // namespace zepscan
