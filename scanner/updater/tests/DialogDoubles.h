// Test doubles for the updater's dialogs: recording views and a runner that drives the Download
// dialog.
#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/Text.h"
#include "scanner/updater/ConfigureUpdater.h"
#include "scanner/updater/DownloadDialog.h"
#include "scanner/updater/tests/UpdaterFixture.h"

namespace scanner::testing {

// DownloadView: the Download dialog's window as a record.
class DownloadView : public DownloadDialogView {
 public:
  void SetTitle(std::u16string_view title) override {
    std::lock_guard<std::mutex> lock(mutex);
    titles.push_back(platform::Utf16ToUtf8(title));
  }
  void SetButtonText(std::u16string_view text) override { button = platform::Utf16ToUtf8(text); }
  void StartTimer(uint32_t ms) override { timerMs = ms; }
  void Close() override { ++closed; }
  void OnStatusText(std::u16string_view text) override { bar.OnStatusText(text); }
  void OnProgressRange(int low, int high) override { bar.OnProgressRange(low, high); }
  void OnProgressAdvance(int delta) override { bar.OnProgressAdvance(delta); }
  void OnProgressPos(int pos) override { bar.OnProgressPos(pos); }

  std::mutex mutex;
  std::vector<std::string> titles;
  std::string button;
  uint32_t timerMs = 0;
  int closed = 0;
  BarRecorder bar;
};

// DrivenDownload: runs the Download dialog as a modal loop would: OnInit,
// then ticks until the view is closed. `during` runs once after OnInit with
// the dialog, for a test's button presses.
class DrivenDownload : public DownloadRunner {
 public:
  explicit DrivenDownload(platform::Prompt& prompt) : prompt_(prompt) {}

  int32_t RunDownloadDialog() override {
    ++runs;
    UpdaterState updater;
    updater.prompt = &prompt_;
    updater.pauseMs = 0;
    DownloadDialog dialog(updater, view);
    dialog.OnInit();
    if (during) during(dialog);
    const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (view.closed == 0 && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      dialog.OnTimer();
    }
    return updater.result;
  }

  std::function<void(DownloadDialog&)> during;
  DownloadView view;
  int runs = 0;

 private:
  platform::Prompt& prompt_;
};

// FixedDownload: a runner that only counts and answers a fixed result.
class FixedDownload : public DownloadRunner {
 public:
  explicit FixedDownload(int32_t result) : result_(result) {}
  int32_t RunDownloadDialog() override {
    ++runs;
    if (onRun) onRun();
    return result_;
  }
  std::function<void()> onRun;
  int runs = 0;

 private:
  int32_t result_;
};

// ConfigureView: the Configure Updater window as a record.
class ConfigureView : public ConfigureUpdaterView {
 public:
  void SetHeading(std::u16string_view text) override { heading = platform::Utf16ToUtf8(text); }
  void SetControlText(int control, std::u16string_view text) override {
    controls.emplace_back(control, platform::Utf16ToUtf8(text));
  }
  void SetList(const std::vector<std::u16string>& urls) override { list = urls; }
  void SetEditText(std::u16string_view text) override { edit = std::u16string(text); }
  void FocusEdit() override { ++focused; }
  void Close() override { ++closed; }

  std::string heading;
  std::vector<std::pair<int, std::string>> controls;
  std::vector<std::u16string> list;
  std::u16string edit = u"typed";
  int focused = 0;
  int closed = 0;
};

}  // namespace scanner::testing
