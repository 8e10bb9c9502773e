// Test fixture: a temporary handheld, a signed two-virus base and a Scanner wired to recorders.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ScriptedPrompt.h"
#include "platform/Text.h"
#include "platform/tests/TempDevice.h"
#include "scanner/scanrun/ScanRun.h"
#include "scanner/scanrun/Scanner.h"
#include "scanner/virusbase/LoadBase.h"
#include "scanner/virusbase/tests/TestBase.h"
#include "scanner/walker/WalkFiles.h"

namespace scanner::testing {

inline constexpr char kAlphaSignature[] = "ALPHA-VIRUS-BODY-1";
inline constexpr char kBetaSignature[] = "BETA-VIRUS-BODY-22";

// Event: one call the scan made to its observer.
struct Event {
  enum Kind { Progress, State, Status } kind;
  uint32_t first = 0;
  uint32_t second = 0;
  std::u16string text;
  bool operator==(const Event&) const = default;
};

inline Event P(uint32_t first, uint32_t second = 0) {
  return {Event::Progress, first, second, {}};
}
inline Event S(uint32_t newState, uint32_t oldState) {
  return {Event::State, newState, oldState, {}};
}

// Recorder: keeps every observer call; lets a test wait for the end of a run
// and hook into progress messages (called on the scanning thread).
class Recorder : public ScanObserver {
 public:
  void OnProgress(uint32_t first, uint32_t second) override {
    std::function<void(uint32_t)> hook;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      events_.push_back(P(first, second));
      hook = onProgress;
    }
    if (hook) hook(first);
  }
  void OnState(uint32_t newState, uint32_t oldState) override {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(S(newState, oldState));
    if (newState == kIdle) ++idleCount_;
    changed_.notify_all();
  }
  void OnStatusText(std::u16string_view text) override {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back({Event::Status, 0, 0, std::u16string(text)});
  }

  // WaitForIdle: waits until `count` runs have ended; false on time-out.
  bool WaitForIdle(int count, std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return idleCount_ >= count; });
  }

  std::vector<Event> events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }
  // Messages: the progress and state calls only, in order.
  std::vector<Event> Messages() const {
    std::vector<Event> out;
    for (const Event& e : events())
      if (e.kind != Event::Status) out.push_back(e);
    return out;
  }
  size_t CountProgress(uint32_t first) const {
    size_t n = 0;
    for (const Event& e : events()) n += e.kind == Event::Progress && e.first == first;
    return n;
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.clear();
  }

  std::function<void(uint32_t)> onProgress;

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Event> events_;
  int idleCount_ = 0;
};

// ScriptedDialog: the detection dialog with a fixed answer; records what it showed.
class ScriptedDialog : public DetectionDialog {
 public:
  struct Shown {
    std::u16string objectLabel, objectText, virusLabel, virusText, description;
    bool copy, del;
  };
  bool Show(std::u16string_view objectLabel, std::u16string_view objectText,
            std::u16string_view virusLabel, std::u16string_view virusText,
            std::u16string_view description, bool& copy, bool& del) override {
    shown.push_back({std::u16string(objectLabel), std::u16string(objectText),
                     std::u16string(virusLabel), std::u16string(virusText),
                     std::u16string(description), copy, del});
    // The boxes are changed whatever the answer, as a user may tick them and
    // then press escape.
    copy = boxCopy;
    del = boxDelete;
    return closeWithOk;
  }
  bool closeWithOk = true;
  bool boxCopy = false;
  bool boxDelete = false;
  std::vector<Shown> shown;
};

class ScanFixture : public platform::TempDevice {
 protected:
  void SetUp() override {
    TempDevice::SetUp();
    ::setenv("QM_OBJECT_STORE", Host("objectstore.db").c_str(), 1);
    BaseBytes bytes(2);
    bytes.Record(u"Alpha", kAlphaSignature);
    bytes.Name(u"Beta")
        .Chunk(3, kChunkHasValue, 7)
        .Signature(kBetaSignature)
        .Description(u"Beta spreads by card")
        .EndRecord();
    ASSERT_EQ(LoadBase(base_, bytes.Signed()), 0);
    scanner_ = std::make_unique<Scanner>();
    Scanner& s = *scanner_;
    s.base = &base_;
    s.notifyWindow = &recorder_;
    s.statusWindow = &recorder_;
    s.resultList = &list_;
    s.prompt = &prompt_;
    s.detectionDialog = &dialog_;
    s.errorPauseMs = 0;
    s.pauseWaitMs = 20;
    s.flags = kScanAllFiles;
    platform::CopyToField(s.infectedPath, u"\\Infected\\");
    platform::CopyToField(s.reportPath, u"\\My Documents\\ZEPReport.txt");
  }
  void TearDown() override {
    scanner_.reset();
    ::unsetenv("QM_OBJECT_STORE");
    TempDevice::TearDown();
  }

  // Device: writes a file below the handheld root ("Docs/a.txt").
  std::string Device(std::string_view relative, std::string_view content = "clean data") {
    return Put("device/" + std::string(relative), content);
  }
  std::string DeviceHost(std::string_view relative) const {
    return Host("device/" + std::string(relative));
  }
  static std::string Infected(std::string_view name = kAlphaSignature) {
    return "head " + std::string(name) + " tail";
  }

  // RunToEnd: starts a run and waits until it has ended and its worker is gone.
  void RunToEnd() {
    const int before = idleRuns_;
    ASSERT_EQ(StartScan(*scanner_), 0);
    ASSERT_TRUE(recorder_.WaitForIdle(before + 1));
    ++idleRuns_;
    if (scanner_->workerThread.joinable()) scanner_->workerThread.join();
  }

  // Walk: one walk on this thread, as the worker does it.
  int Walk() { return WalkFiles(*scanner_); }

  std::vector<std::u16string> ResultTexts() const {
    std::vector<std::u16string> out;
    for (const ResultRow& r : list_.Rows()) out.push_back(r.object + u" : " + r.result);
    return out;
  }

  VirusBase base_;
  Recorder recorder_;
  ResultList list_;
  platform::ScriptedPrompt prompt_;
  ScriptedDialog dialog_;
  std::unique_ptr<Scanner> scanner_;
  int idleRuns_ = 0;
};

}  // namespace scanner::testing
