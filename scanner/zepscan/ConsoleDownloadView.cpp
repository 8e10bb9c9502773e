// The Download dialog on a console: title, status text and a 0–10 bar on one line.
#include "scanner/zepscan/ConsoleDownloadView.h"

#include <algorithm>
#include <ostream>

#include "platform/Text.h"

namespace zepscan {

void ConsoleDownloadView::SetTitle(std::u16string_view title) {
  std::lock_guard<std::mutex> lock(mutex_);
  title_ = platform::Utf16ToUtf8(title);
  Changed(true);
}

void ConsoleDownloadView::Close() {
  ClearLine();
  closed_ = true;
}

void ConsoleDownloadView::OnStatusText(std::u16string_view text) {
  std::lock_guard<std::mutex> lock(mutex_);
  status_ = platform::Utf16ToUtf8(text);
  Changed(true);
}

void ConsoleDownloadView::OnProgressRange(int low, int high) {
  std::lock_guard<std::mutex> lock(mutex_);
  low_ = low;
  high_ = std::max(low, high);
  pos_ = std::clamp(pos_, low_, high_);
  Changed(false);
}

void ConsoleDownloadView::OnProgressAdvance(int delta) {
  std::lock_guard<std::mutex> lock(mutex_);
  pos_ = std::clamp(pos_ + delta, low_, high_);
  Changed(false);
}

void ConsoleDownloadView::OnProgressPos(int pos) {
  std::lock_guard<std::mutex> lock(mutex_);
  pos_ = std::clamp(pos, low_, high_);
  Changed(false);
}

void ConsoleDownloadView::ClearLine() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!drawn_) return;
  messages_ << "\r\x1b[K" << std::flush;
  drawn_ = false;
}

std::string ConsoleDownloadView::Bar() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return BarLocked();
}

std::string ConsoleDownloadView::BarLocked() const {
  const int width = high_ - low_;
  const int filled = pos_ - low_;
  return "[" + std::string(static_cast<size_t>(filled), '#') +
         std::string(static_cast<size_t>(width - filled), '.') + "]";
}

// Changed: redraws the line; without one, `announce` changes get a line of
// their own and the bar is left out.
void ConsoleDownloadView::Changed(bool announce) {
  if (closed_) return;
  if (line_ == ProgressLine::On) {
    messages_ << '\r' << title_ << ' ' << BarLocked() << ' ' << status_ << "\x1b[K" << std::flush;
    drawn_ = true;
  } else if (announce) {
    messages_ << title_;
    if (!status_.empty()) messages_ << ": " << status_;
    messages_ << '\n' << std::flush;
  }
}

int LineSafePrompt::Show(std::string_view text, std::string_view caption, uint32_t flags) {
  view_.ClearLine();
  return inner_.Show(text, caption, flags);
}

}  // namespace zepscan
