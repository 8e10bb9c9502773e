// The run's lifecycle: battery check, messages, pause, resume and stop.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <future>
#include <mutex>
#include <string>
#include <thread>

#include "platform/ObjectStore.h"
#include "platform/Power.h"
#include "scanner/scanrun/tests/ScanFixture.h"

namespace scanner::testing {
namespace {

using ScanRun = ScanFixture;

TEST_F(ScanRun, LowBatteryAsksAndDeclineKeepsIdle) {
  platform::FixedPowerSource power(19);
  platform::ScopedPowerSource use(power);
  prompt_.Answer(platform::IDNO);
  EXPECT_EQ(StartScan(*scanner_), -1);
  ASSERT_EQ(prompt_.count(), 1u);
  const platform::ShownMessage m = prompt_.last();
  EXPECT_EQ(m.text, "Battery power is lower then 20%. Do you want to perform scan?");
  EXPECT_EQ(m.caption, "Quillmark Anti-Virus");
  EXPECT_EQ(m.buttons, platform::MB_YESNO);
  EXPECT_EQ(m.icon, platform::MB_ICONWARNING);
  EXPECT_EQ(scanner_->state, kIdle);
  EXPECT_FALSE(scanner_->workerThread.joinable());

  prompt_.Answer(platform::IDYES);
  RunToEnd();
  EXPECT_EQ(prompt_.count(), 2u);
}

TEST_F(ScanRun, BatteryAtTwentyOrUnknownDoesNotAsk) {
  platform::FixedPowerSource power(20);
  platform::ScopedPowerSource use(power);
  RunToEnd();
  power.set(platform::BATTERY_PERCENTAGE_UNKNOWN);
  RunToEnd();
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(ScanRun, TinyTreeSendsTheExactMessageSequence) {
  platform::FixedPowerSource power(100);
  platform::ScopedPowerSource use(power);
  Device("a.txt");
  Device("Docs/evil.bin", Infected());
  Device("Docs/empty.bin", "");
  MountCard("Storage Card", "card");
  Put("card/c.txt", "c");
  scanner_->flags = kScanAllFiles;
  RunToEnd();
  std::vector<Event> m = recorder_.Messages();
  // Within Docs the host lists files in its own order.
  const std::vector<Event> evil = {P(kProgressFileHandled), P(kProgressFile)};
  const std::vector<Event> empty = {P(kProgressFileError)};
  std::vector<Event> expected = {S(kRunning, kIdle), P(kProgressFolder), P(kProgressFile),
                                 P(kProgressFolder)};
  if (m.size() > 4 && m[4] == empty[0]) {
    expected.insert(expected.end(), empty.begin(), empty.end());
    expected.insert(expected.end(), evil.begin(), evil.end());
  } else {
    expected.insert(expected.end(), evil.begin(), evil.end());
    expected.insert(expected.end(), empty.begin(), empty.end());
  }
  expected.push_back(S(kIdle, kRunning));
  EXPECT_EQ(m, expected);
  EXPECT_EQ(scanner_->files, 2);
  EXPECT_EQ(scanner_->errors, 1);
  EXPECT_EQ(scanner_->cards, 0);
}

TEST_F(ScanRun, EveryRunCountsFromZeroAndListsOnlyItsRows) {
  Device("evil.bin", Infected());
  RunToEnd();
  RunToEnd();
  EXPECT_EQ(scanner_->files, 1);
  EXPECT_EQ(scanner_->virusesFound, 1);
  const auto rows = list_.Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].object, u"Started at");
  EXPECT_EQ(rows[0].result, FormatScanTime(scanner_->startTime));
  EXPECT_EQ(rows[2].object, u"Finished at");
  EXPECT_EQ(rows[2].result, FormatScanTime(scanner_->finishTime));
}

TEST_F(ScanRun, PauseAndResumeChangeOnlyTheirOwnStates) {
  EXPECT_EQ(PauseScan(*scanner_), 0);
  EXPECT_EQ(ResumeScan(*scanner_), 0);
  EXPECT_EQ(StopScan(*scanner_), 0);
  EXPECT_TRUE(recorder_.Messages().empty());
  EXPECT_EQ(scanner_->pauseEvent.Wait(0), platform::WAIT_OBJECT_0);
}

// HoldAtFirstFile: pauses the run from inside its first file message, so
// the worker stops at the next wait point with exactly one file counted.
class HeldRun : public ScanRun {
 protected:
  void StartHeld() {
    for (int i = 0; i < 3; ++i) Device("f" + std::to_string(i) + ".txt");
    recorder_.onProgress = [this](uint32_t code) {
      if (code == kProgressFile && !paused_) {
        paused_ = true;
        EXPECT_EQ(PauseScan(*scanner_), 1);
      }
    };
    ASSERT_EQ(StartScan(*scanner_), 0);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (scanner_->state != kPaused && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(scanner_->state, kPaused);
    recorder_.onProgress = nullptr;
  }
  bool paused_ = false;
};

TEST_F(HeldRun, StopWhilePausedFinishesOnceAndNextStartCountsFromZero) {
  // The report goes where the next run does not look.
  MakeFolder("device/Infected");
  platform::CopyToField(scanner_->reportPath, u"\\Infected\\report.txt");
  scanner_->flags = kScanAllFiles | kCreateReport | kAppendReport;
  StartHeld();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(scanner_->files, 1);
  EXPECT_EQ(StopScan(*scanner_), 1);
  EXPECT_EQ(scanner_->state, kIdle);
  EXPECT_FALSE(scanner_->workerThread.joinable());
  EXPECT_EQ(scanner_->files, 1);  // counters stay as they were
  const auto m = recorder_.Messages();
  ASSERT_GE(m.size(), 2u);
  EXPECT_EQ(m.back(), S(kIdle, kRunning));
  EXPECT_EQ(std::count(m.begin(), m.end(), S(kIdle, kRunning)), 1);
  EXPECT_EQ(std::count(m.begin(), m.end(), S(kPaused, kRunning)), 1);

  const std::string report = Read(DeviceHost("Infected/report.txt"));
  size_t finished = 0;
  for (size_t at = report.find("Finished at"); at != std::string::npos;
       at = report.find("Finished at", at + 1))
    ++finished;
  EXPECT_EQ(finished, 1u);
  EXPECT_NE(report.find("Files: 1\n"), std::string::npos);
  EXPECT_EQ(scanner_->pauseEvent.Wait(0), platform::WAIT_OBJECT_0);

  idleRuns_ = 1;
  RunToEnd();
  EXPECT_EQ(scanner_->files, 3);
}

TEST_F(HeldRun, ResumeLetsThePausedRunFinish) {
  StartHeld();
  EXPECT_EQ(PauseScan(*scanner_), 0);
  EXPECT_EQ(ResumeScan(*scanner_), 1);
  ASSERT_TRUE(recorder_.WaitForIdle(1));
  scanner_->workerThread.join();
  EXPECT_EQ(scanner_->files, 3);
  const auto m = recorder_.Messages();
  EXPECT_EQ(std::count(m.begin(), m.end(), S(kRunning, kPaused)), 1);
}

TEST_F(HeldRun, StartWhileActiveIsRefused) {
  StartHeld();
  EXPECT_EQ(StartScan(*scanner_), -1);
  EXPECT_EQ(StopScan(*scanner_), 1);
}

TEST_F(ScanRun, StopFromInsideAnObserverEndsTheRunOnce) {
  for (int i = 0; i < 5; ++i) Device("f" + std::to_string(i) + ".txt");
  recorder_.onProgress = [this](uint32_t code) {
    if (code == kProgressFile) {
      EXPECT_EQ(StopScan(*scanner_), 1);
    }
  };
  RunToEnd();
  EXPECT_EQ(scanner_->files, 1);
  EXPECT_EQ(scanner_->state, kIdle);
  const auto rows = list_.Rows();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back().object, u"Finished at");
}

TEST_F(ScanRun, PauseThatMissesTheEndOfARunLeavesTheEventSignalled) {
  Device("only.txt");
  scanner_->pauseWaitMs =
      2000;  // generous: the run must end inside the wait even on a loaded machine
  std::promise<void> lastFile;
  recorder_.onProgress = [&](uint32_t code) {
    if (code == kProgressFile) lastFile.set_value();
  };
  ASSERT_EQ(StartScan(*scanner_), 0);
  ASSERT_EQ(lastFile.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready);
  // The worker has no wait point left, so the run ends during the pause's wait.
  EXPECT_EQ(PauseScan(*scanner_), 0);
  ASSERT_TRUE(recorder_.WaitForIdle(1));
  scanner_->workerThread.join();
  EXPECT_EQ(scanner_->state, kIdle);
  EXPECT_EQ(scanner_->pauseEvent.Wait(0), platform::WAIT_OBJECT_0);
  const auto m = recorder_.Messages();
  EXPECT_EQ(std::count(m.begin(), m.end(), S(kPaused, kRunning)), 0);
  recorder_.onProgress = nullptr;
  idleRuns_ = 1;
  RunToEnd();  // the next run is not frozen before its first file
  EXPECT_EQ(scanner_->files, 1);
}

// ViewThreadObserver: a view that lives on one thread (the test's, standing
// for the user-interface thread): a call from another thread is handed to it
// and blocks until handled there; a call on it runs at once.
class ViewThreadObserver : public ScanObserver {
 public:
  explicit ViewThreadObserver(Recorder& target) : target_(target) {}
  void OnProgress(uint32_t first, uint32_t second) override {
    Call([=, this] { target_.OnProgress(first, second); });
  }
  void OnState(uint32_t newState, uint32_t oldState) override {
    Call([=, this] { target_.OnState(newState, oldState); });
  }
  void OnStatusText(std::u16string_view text) override {
    Call([text = std::u16string(text), this] { target_.OnStatusText(text); });
  }
  void OnWaitForWorker() override { Serve(); }

  // Serve: handles every call that waits for the view thread.
  void Serve() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!pending_.empty()) {
      std::function<void()> call = std::move(pending_.front());
      pending_.pop_front();
      lock.unlock();
      call();
      lock.lock();
      ++handled_;
      changed_.notify_all();
    }
  }
  // WaitForPending: true once a call waits for the view thread.
  bool WaitForPending() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), [&] { return !pending_.empty(); });
  }

 private:
  void Call(std::function<void()> call) {
    if (std::this_thread::get_id() == viewThread_) return call();
    std::unique_lock<std::mutex> lock(mutex_);
    pending_.push_back(std::move(call));
    const uint64_t ticket = handled_ + pending_.size();
    changed_.notify_all();
    changed_.wait(lock, [&] { return handled_ >= ticket; });
  }

  Recorder& target_;
  const std::thread::id viewThread_ = std::this_thread::get_id();
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> pending_;
  uint64_t handled_ = 0;
};

TEST_F(ScanRun, StopOnTheViewThreadServesTheWorkerThatWaitsForIt) {
  for (int i = 0; i < 3; ++i) Device("f" + std::to_string(i) + ".txt");
  ViewThreadObserver view(recorder_);
  scanner_->notifyWindow = &view;
  scanner_->statusWindow = &view;
  ASSERT_EQ(StartScan(*scanner_), 0);
  EXPECT_TRUE(view.WaitForPending());  // the worker stands in its first message
  // Joining without serving would wait for ever; give up loudly instead.
  std::promise<void> stopDone;
  std::thread watchdog([done = stopDone.get_future()]() mutable {
    if (done.wait_for(std::chrono::seconds(60)) != std::future_status::ready) std::abort();
  });
  const int stopped = StopScan(*scanner_);
  stopDone.set_value();
  watchdog.join();
  scanner_->notifyWindow = scanner_->statusWindow = &recorder_;
  EXPECT_EQ(stopped, 1);
  EXPECT_EQ(scanner_->state, kIdle);
  EXPECT_FALSE(scanner_->workerThread.joinable());
  EXPECT_EQ(scanner_->files, 0);
  const auto m = recorder_.Messages();
  ASSERT_GE(m.size(), 2u);
  EXPECT_EQ(m.front(), S(kRunning, kIdle));
  EXPECT_EQ(m.back(), S(kIdle, kRunning));
  const auto rows = list_.Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].object, u"Started at");
  EXPECT_EQ(rows[1].object, u"Finished at");
}

TEST_F(ScanRun, SecondStopReturnsOnlyOnceTheRunIsIdle) {
  for (int i = 0; i < 3; ++i) Device("f" + std::to_string(i) + ".txt");
  recorder_.onProgress = [this](uint32_t code) {
    if (code != kProgressFile || scanner_->state != kRunning) return;
    EXPECT_EQ(StopScan(*scanner_), 1);  // from the worker: only requested
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  };
  ASSERT_EQ(StartScan(*scanner_), 0);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (scanner_->state != kStopping && std::chrono::steady_clock::now() < until)
    std::this_thread::yield();
  ASSERT_EQ(scanner_->state, kStopping);
  EXPECT_EQ(StopScan(*scanner_), 1);
  EXPECT_EQ(scanner_->state, kIdle);
  EXPECT_EQ(list_.Rows().back().object, u"Finished at");
  EXPECT_EQ(scanner_->files, 1);
  recorder_.onProgress = nullptr;
}

// PausingPrompt: answers the report's error message only after a pause,
// asked from another thread, has taken effect; the run is then writing its
// end and has no wait point left.
class PausingPrompt : public platform::Prompt {
 public:
  explicit PausingPrompt(Scanner& scanner) : scanner_(scanner) {}
  int Show(std::string_view, std::string_view, uint32_t) override {
    paused = std::async(std::launch::async, [this] { return PauseScan(scanner_); }).get();
    return platform::IDOK;
  }
  int paused = -1;

 private:
  Scanner& scanner_;
};

TEST_F(ScanRun, PauseWhileTheRunWritesItsEndDoesNotFreezeTheNextRun) {
  Device("a.txt");
  PausingPrompt prompt(*scanner_);
  scanner_->prompt = &prompt;
  struct Restore {
    Scanner& scanner;
    platform::Prompt* prompt;
    ~Restore() { scanner.prompt = prompt; }
  } restore{*scanner_, &prompt_};
  scanner_->flags = kScanAllFiles | kCreateReport;
  platform::CopyToField(scanner_->reportPath, u"\\No Such Folder\\r.txt");
  RunToEnd();
  EXPECT_EQ(prompt.paused, 1);
  EXPECT_EQ(scanner_->state, kIdle);
  EXPECT_EQ(scanner_->pauseEvent.Wait(0), platform::WAIT_OBJECT_0);
  const auto m = recorder_.Messages();
  ASSERT_GE(m.size(), 2u);
  EXPECT_EQ(m[m.size() - 2], S(kPaused, kRunning));
  EXPECT_EQ(m.back(), S(kIdle, kRunning));

  scanner_->flags = kScanAllFiles;
  RunToEnd();  // would wait before its first file for ever
  EXPECT_EQ(scanner_->files, 1);
}

TEST_F(ScanRun, DatabasesAreScannedAfterTheFilesWithTheirFlag) {
  Device("a.txt");
  ASSERT_NE(platform::CreateDatabase(u"Tasks", 0), 0u);
  scanner_->flags = kScanAllFiles | kScanDatabases;
  RunToEnd();
  EXPECT_EQ(scanner_->dbases, 1);
  const auto m = recorder_.Messages();
  ASSERT_GE(m.size(), 3u);
  EXPECT_EQ(m[m.size() - 2], P(kProgressDatabase));
}

}  // namespace
}  // namespace scanner::testing
