// Rows, summary and the progress line of a console scan.
#include "scanner/zepscan/ConsoleScanView.h"

#include <ostream>
#include <vector>

#include "platform/Text.h"
#include "scanner/strings/ScannerStrings.h"

namespace zepscan {
namespace {

// Longest current object shown on the progress line; its start is cut so the
// line fits a common terminal.
constexpr size_t kShownPathChars = 40;

// Least time between two redraws of a progress line that is shown; a
// terminal written for every small file would slow the scan down.
constexpr auto kRedrawInterval = std::chrono::milliseconds(40);

std::string Utf8(std::u16string_view text) {
  return platform::Utf16ToUtf8(text);
}

}  // namespace

ConsoleScanView::ConsoleScanView(const scanner::Scanner& scanner, const scanner::ResultList& list,
                                 std::ostream& rows, std::ostream& messages, ProgressLine line)
    : scanner_(scanner), list_(list), rows_(rows), messages_(messages), line_(line) {}

void ConsoleScanView::OnProgress(uint32_t, uint32_t) {
  std::lock_guard lock(mutex_);
  FlushRowsLocked();
  DrawLocked();
}

void ConsoleScanView::OnState(uint32_t newState, uint32_t oldState) {
  std::lock_guard lock(mutex_);
  // A new run empties the list right after this message.
  if (newState == scanner::kRunning && oldState == scanner::kIdle) {
    printed_ = 0;
    return;
  }
  FlushRowsLocked();
  if (newState == scanner::kIdle) {
    ClearLocked();
    current_.clear();
  }
}

void ConsoleScanView::OnStatusText(std::u16string_view text) {
  std::lock_guard lock(mutex_);
  current_ = Utf8(text);
  DrawLocked();
}

void ConsoleScanView::FlushRows() {
  std::lock_guard lock(mutex_);
  FlushRowsLocked();
}

void ConsoleScanView::ClearProgress() {
  std::lock_guard lock(mutex_);
  ClearLocked();
}

void ConsoleScanView::FlushRowsLocked() {
  const std::vector<scanner::ResultRow> rows = list_.Rows();
  if (rows.size() < printed_) printed_ = 0;  // emptied by a new run
  if (rows.size() == printed_) return;
  ClearLocked();
  for (size_t i = printed_; i < rows.size(); ++i)
    rows_ << Utf8(rows[i].object) << '\t' << Utf8(rows[i].result) << '\n';
  rows_.flush();
  printed_ = rows.size();
}

void ConsoleScanView::ClearLocked() {
  if (!drawn_) return;
  messages_ << "\r\x1b[K" << std::flush;
  drawn_ = false;
}

void ConsoleScanView::DrawLocked() {
  if (line_ == ProgressLine::Off) return;
  const auto now = std::chrono::steady_clock::now();
  if (drawn_ && now - lastDraw_ < kRedrawInterval) return;
  lastDraw_ = now;
  std::string shown = current_;
  if (shown.size() > kShownPathChars) shown = "..." + shown.substr(shown.size() - kShownPathChars);
  messages_ << '\r' << Utf8(scanner::ScannerText(scanner::kMsgFiles)) << ' ' << scanner_.files
            << "  " << Utf8(scanner::ScannerText(scanner::kMsgFolders)) << ' ' << scanner_.folders
            << "  " << Utf8(scanner::ScannerText(scanner::kMsgVirusesFound)) << ' '
            << scanner_.virusesFound << "  " << shown << "\x1b[K" << std::flush;
  drawn_ = true;
}

void ConsoleScanView::PrintSummary() {
  std::lock_guard lock(mutex_);
  FlushRowsLocked();
  ClearLocked();
  using namespace scanner;
  const auto line = [&](uint32_t id, int32_t value) {
    rows_ << Utf8(ScannerText(id)) << ' ' << value << '\n';
  };
  rows_ << '\n' << Utf8(ScannerText(kMsgScanned)) << '\n';
  line(kMsgFiles, scanner_.files);
  line(kMsgFolders, scanner_.folders);
  line(kMsgCards, scanner_.cards);
  line(kMsgDBases, scanner_.dbases);
  rows_ << '\n';
  line(kMsgVirusesFound, scanner_.virusesFound);
  line(kMsgDeleted, scanner_.deleted);
  line(kMsgMoved, scanner_.moved);
  line(kMsgErrors, scanner_.errors);
  rows_.flush();
}

int ProgressSafePrompt::Show(std::string_view text, std::string_view caption, uint32_t flags) {
  view_.ClearProgress();
  return inner_.Show(text, caption, flags);
}

}  // namespace zepscan
