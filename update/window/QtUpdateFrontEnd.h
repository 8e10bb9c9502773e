// The downloader in Qt: the progress dialog as a window, messages as message boxes.
#pragma once

#include <functional>

#include "ui/QtPrompt.h"
#include "update/app/UpdateApp.h"

namespace update {

// QtUpdateFrontEnd: needs a QApplication on the calling thread. Message boxes
// from the fetch and watch threads are shown by that thread, which keeps
// serving events until every thread of the run has ended.
class QtUpdateFrontEnd final : public UpdateFrontEnd {
 public:
  // QtUpdateFrontEnd: message boxes through `prompt` when given (it must
  // outlive the front end), else as Qt message boxes.
  explicit QtUpdateFrontEnd(platform::Prompt* prompt = nullptr) : custom_(prompt) {}

  platform::Prompt& prompt() override { return custom_ ? *custom_ : prompt_; }
  RunOutcome RunDialog(UpdateDialog& dialog) override;
  void RunTask(const std::function<void()>& task) override;

 private:
  ui::QtPrompt prompt_;
  platform::Prompt* custom_;
};

}  // namespace update
