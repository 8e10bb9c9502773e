// Running the downloader without a display: the dialog as text, messages through a given prompt.
#pragma once

#include <functional>
#include <ostream>

#include "update/app/TextDialogView.h"
#include "update/app/UpdateApp.h"

namespace update {

// HeadlessFrontEnd: the dialog becomes a TextDialogView (writing to `out`
// when given); tasks run on the calling thread. The prompt and the stream
// must outlive it.
class HeadlessFrontEnd final : public UpdateFrontEnd {
 public:
  explicit HeadlessFrontEnd(platform::Prompt& prompt, std::ostream* out = nullptr)
      : prompt_(prompt), out_(out) {}

  platform::Prompt& prompt() override { return prompt_; }
  RunOutcome RunDialog(UpdateDialog& dialog) override;
  void RunTask(const std::function<void()>& task) override { task(); }

  // onOpen: called with the dialog and its view once the dialog runs (tests
  // press its buttons from here, on another thread).
  std::function<void(UpdateDialog&, TextDialogView&)> onOpen;

 private:
  platform::Prompt& prompt_;
  std::ostream* out_;
};

}  // namespace update
