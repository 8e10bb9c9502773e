// Test support: a progress dialog's window that keeps what it was told, from any thread.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "conduit/dialogs/UpdateProgressDialog.h"

namespace conduit::testing {

// RecordingProgressView: the text line's texts in order, the bar's last
// range and the steps it took, and whether Close came.
class RecordingProgressView final : public ProgressDialogView,
                                    public palmsettings::ProgressWindow,
                                    public palmsettings::StatusWindow {
 public:
  palmsettings::ProgressWindow& progressBar() override { return *this; }
  palmsettings::StatusWindow& textLine() override { return *this; }
  void Close() override {
    std::lock_guard lock(mutex_);
    ++closes_;
    changed_.notify_all();
  }

  void SetRange(int low, int high) override {
    std::lock_guard lock(mutex_);
    range_ = std::to_string(low) + "-" + std::to_string(high);
  }
  void SetStep(int step) override {
    std::lock_guard lock(mutex_);
    step_ = step;
  }
  void StepIt() override {
    std::lock_guard lock(mutex_);
    ++steps_;
  }
  void SetPos(int) override {}
  void OffsetPos(int) override {}
  void SetText(std::string_view text) override {
    std::lock_guard lock(mutex_);
    texts_.emplace_back(text);
  }

  // WaitClosed: waits until Close has come.
  void WaitClosed() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return closes_ > 0; });
  }
  int closes() const {
    std::lock_guard lock(mutex_);
    return closes_;
  }
  std::vector<std::string> texts() const {
    std::lock_guard lock(mutex_);
    return texts_;
  }
  std::string range() const {
    std::lock_guard lock(mutex_);
    return range_;
  }
  int step() const {
    std::lock_guard lock(mutex_);
    return step_;
  }
  int steps() const {
    std::lock_guard lock(mutex_);
    return steps_;
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  int closes_ = 0;
  std::vector<std::string> texts_;
  std::string range_;
  int step_ = 10;
  int steps_ = 0;
};

}  // namespace conduit::testing
