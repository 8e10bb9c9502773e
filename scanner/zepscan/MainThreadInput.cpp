// Handing terminal reads from the worker to the main thread.
#include "scanner/zepscan/MainThreadInput.h"

namespace zepscan {

std::optional<std::string> MainThreadInput::ReadLine() {
  std::unique_lock lock(mutex_);
  if (cancelled_) return std::nullopt;
  asked_ = true;
  answered_ = false;
  changed_.notify_all();
  changed_.wait(lock, [&] { return answered_ || cancelled_; });
  asked_ = false;
  if (!answered_) return std::nullopt;
  return std::move(answer_);
}

void MainThreadInput::Serve() {
  {
    std::lock_guard lock(mutex_);
    if (!asked_ || answered_ || cancelled_) return;
  }
  std::optional<std::string> line;
  std::string text;
  int c;
  while ((c = std::fgetc(in_)) != EOF && c != '\n') text += static_cast<char>(c);
  if (c != EOF || !text.empty()) line = std::move(text);
  // An interrupted read leaves the stream's flags set; the next question
  // reads afresh.
  std::clearerr(in_);
  std::lock_guard lock(mutex_);
  answer_ = std::move(line);
  answered_ = true;
  changed_.notify_all();
}

void MainThreadInput::Cancel() {
  std::lock_guard lock(mutex_);
  cancelled_ = true;
  changed_.notify_all();
}

}  // namespace zepscan
