// Another process pauses and resumes a running scan through the named event.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "platform/Process.h"
#include "scanner/scanrun/tests/ScanFixture.h"

namespace scanner::testing {
namespace {

using PauseEvent = ScanFixture;

bool EventIsReset(const Scanner& s, std::chrono::milliseconds within) {
  const auto until = std::chrono::steady_clock::now() + within;
  while (std::chrono::steady_clock::now() < until) {
    if (s.pauseEvent.Wait(0) == platform::WAIT_TIMEOUT) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST_F(PauseEvent, SecondProcessHoldsAndReleasesARunningScan) {
  constexpr int kFiles = 30;
  for (int i = 0; i < kFiles; ++i) Device("Many/f" + std::to_string(i) + ".txt");
  std::promise<void> firstFile;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  bool first = true;
  recorder_.onProgress = [&](uint32_t code) {
    if (code != kProgressFile || !first) return;
    first = false;
    firstFile.set_value();
    released.wait();
  };

  ASSERT_EQ(StartScan(*scanner_), 0);
  ASSERT_EQ(firstFile.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready);
  const uint32_t started = platform::StartProcess(SCANRUN_PAUSE_TOOL, "", {"reset"});
  const bool reset = started == 0 && EventIsReset(*scanner_, std::chrono::seconds(20));
  release.set_value();  // never leave the worker held, whatever failed
  ASSERT_EQ(started, 0u);
  ASSERT_TRUE(reset);

  // The worker now stands at its wait before the next file.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(recorder_.CountProgress(kProgressFile), 1u);
  EXPECT_EQ(scanner_->state, kRunning);  // this process was not told

  ASSERT_EQ(platform::StartProcess(SCANRUN_PAUSE_TOOL, "", {"set"}), 0u);
  ASSERT_TRUE(recorder_.WaitForIdle(1));
  scanner_->workerThread.join();
  EXPECT_EQ(recorder_.CountProgress(kProgressFile), static_cast<size_t>(kFiles));
  EXPECT_EQ(scanner_->files, kFiles);
}

}  // namespace
}  // namespace scanner::testing
