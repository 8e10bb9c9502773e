// The progress dialog without a window: its texts and bar kept as text, for headless runs and
// tests.
#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "update/app/ProgressModel.h"
#include "update/app/UpdateDialog.h"

namespace update {

// TextDialogView: keeps what a window would show; every member is safe from
// any thread. When given a stream it writes the caption and each address
// tried to it, one line each.
class TextDialogView final : public UpdateDialogView,
                             public palmsettings::ProgressWindow,
                             public palmsettings::StatusWindow {
 public:
  explicit TextDialogView(std::ostream* out = nullptr) : out_(out) {}

  // UpdateDialogView
  void SetCaption(std::string_view text) override;
  void SetCancelText(std::string_view text) override;
  palmsettings::ProgressWindow& progressBar() override { return *this; }
  palmsettings::StatusWindow& statusText() override { return *this; }
  void Close(DialogResult result) override;

  // ProgressWindow
  void SetRange(int low, int high) override;
  void SetStep(int step) override;
  void StepIt() override;
  void SetPos(int position) override;
  void OffsetPos(int delta) override;

  // StatusWindow
  void SetText(std::string_view text) override;

  // WaitClosed: waits until Close has come; its result.
  DialogResult WaitClosed();

  std::string caption() const;
  std::string cancelText() const;
  // statusTexts: every status text in order ("Updating..." first, as the
  // dialog starts with it).
  std::vector<std::string> statusTexts() const;
  ProgressModel progress() const;
  std::optional<DialogResult> closed() const;

 private:
  std::ostream* out_;
  mutable std::mutex mutex_;
  std::condition_variable closedChanged_;
  std::string caption_;
  std::string cancelText_;
  std::vector<std::string> statusTexts_{"Updating..."};
  ProgressModel progress_;
  std::optional<DialogResult> closed_;
};

}  // namespace update
