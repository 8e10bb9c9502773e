// Test fixture: a temporary handheld and registry, an HTTP server, signed bases and a recording
// view.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/RegKey.h"
#include "platform/Registry.h"
#include "platform/ScriptedPrompt.h"
#include "platform/Text.h"
#include "platform/testing/HttpTestServer.h"
#include "platform/tests/TempDevice.h"
#include "scanner/settings/Settings.h"
#include "scanner/updater/Download.h"
#include "scanner/updater/UpdaterSettings.h"
#include "scanner/updater/UpdaterState.h"
#include "scanner/virusbase/tests/TestBase.h"

namespace scanner::testing {

using platform::testing::HttpReply;
using platform::testing::HttpTestServer;

// BarRecorder: the status text and progress bar; keeps every call.
class BarRecorder : public UpdaterObserver {
 public:
  void OnStatusText(std::u16string_view text) override {
    Add("status " + platform::Utf16ToUtf8(text));
  }
  void OnProgressRange(int low, int high) override {
    Add("range " + std::to_string(low) + "-" + std::to_string(high));
  }
  void OnProgressAdvance(int delta) override { Add("advance " + std::to_string(delta)); }
  void OnProgressPos(int pos) override { Add("pos " + std::to_string(pos)); }

  std::vector<std::string> calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }
  // WaitFor: waits until a call equal to `call` was made; false after a
  // minute (a bound for a broken run, not a timing assertion).
  bool WaitFor(const std::string& call) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::minutes(1), [&] {
      for (const std::string& c : calls_)
        if (c == call) return true;
      return false;
    });
  }

 private:
  void Add(std::string call) {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.push_back(std::move(call));
    changed_.notify_all();
  }
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> calls_;
};

class UpdaterFixture : public platform::TempDevice {
 protected:
  void SetUp() override {
    TempDevice::SetUp();
    ::setenv("QM_DEVICE_REGISTRY", Host("device-registry.db").c_str(), 1);
    MakeFolder("device/Bases");
    StoreMainText(kBasesValue, u"\\Bases\\");
  }
  void TearDown() override {
    ::unsetenv("QM_DEVICE_REGISTRY");
    TempDevice::TearDown();
  }

  static platform::HKEY CurrentUser() {
    return platform::RegRootKey(platform::RegStore::Device, platform::HKEY_CURRENT_USER);
  }
  static platform::RegKey Key(const char16_t* path) {
    platform::RegKey key;
    EXPECT_EQ(key.Create(CurrentUser(), path), 0u);
    return key;
  }
  static void StoreMainText(const char16_t* name, std::u16string_view text) {
    ASSERT_EQ(Key(kSettingsKey).SetString(name, text), 0u);
  }
  static void StoreUpdaterText(const std::u16string& name, std::u16string_view text) {
    ASSERT_EQ(Key(kUpdaterKey).SetString(name, text), 0u);
  }
  // StoreUrls: "Url0"… as the dialog would have saved them.
  static void StoreUrls(const std::vector<std::string>& urls) {
    for (size_t i = 0; i < urls.size(); ++i)
      StoreUpdaterText(UrlValueName(i), platform::Utf8ToUtf16(urls[i]));
  }

  // Bases: the host path of a file in the handheld's base folder.
  std::string Bases(std::string_view name = "ZEPBase.zvb") const {
    return Host("device/Bases/" + std::string(name));
  }

  // GoodBase: a genuine base of one record; with `size`, padded so that the
  // signed file has exactly that many bytes.
  // Signing is randomised, so each size is signed once per test program.
  static std::string GoodBase(size_t size = 0) {
    static std::map<size_t, std::string> made;
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    auto& base = made[size];
    if (base.empty()) base = SignBase(size);
    return base;
  }
  static std::string SignBase(size_t size) {
    BaseBytes bytes(1);
    bytes.Record(u"Fresh", "FRESH-VIRUS-BODY");
    if (size != 0) {
      const size_t trailer = bytes.Signed().size() - bytes.content().size();
      EXPECT_GT(size, bytes.content().size() + trailer);
      bytes.Raw(std::vector<uint8_t>(size - bytes.content().size() - trailer, 0x5A));
    }
    const std::vector<uint8_t> signed_ = bytes.Signed();
    return std::string(signed_.begin(), signed_.end());
  }
  // BadBase: a base whose content was changed after signing.
  static std::string BadBase() {
    std::string base = GoodBase();
    base[60] = static_cast<char>(base[60] ^ 0x01);
    return base;
  }

  // BreakRegistry: the device registry becomes a store that cannot be
  // opened (its folder is a file).
  void BreakRegistry() {
    ::setenv("QM_DEVICE_REGISTRY", Put("blocker", "a file").append("/registry.db").c_str(), 1);
  }

  // Prepare: the state as a dialog has it after LoadUpdaterSettings.
  void Prepare(UpdaterState& updater) {
    ASSERT_EQ(LoadUpdaterSettings(updater), 0u);
    updater.prompt = &prompt_;
    updater.pauseMs = 0;
    updater.limits = {5000, 5000};
    updater.statusWindow = &recorder_;
    updater.progressWindow = &recorder_;
  }

  // RunToEnd: a whole download through StartDownload; waits for Idle.
  void RunToEnd(UpdaterState& updater) {
    ASSERT_EQ(StartDownload(updater), 0);
    WaitIdle(updater);
  }
  static void WaitIdle(UpdaterState& updater) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (updater.state != kUpdaterIdle && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(updater.state, kUpdaterIdle);
    while (!updater.workerEnded) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  bool NoLeftovers() const {
    return !Exists(Bases("tempfile.dat")) && !Exists(Bases("ZEPBase.zvb.new"));
  }

  HttpTestServer server_;
  platform::ScriptedPrompt prompt_;
  BarRecorder recorder_;
};

}  // namespace scanner::testing
