// An in-process driver for the table and dispatch tests, with a log of its calls.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "outside/devicemanager/DeviceDriver.h"
#include "outside/devicemanager/DeviceTable.h"

namespace devicemanager {

// FakeWorld: what the fake drivers and key reader see and record.
struct FakeWorld {
  std::vector<std::u16string> presentFiles = {u"Fake.dll"};
  uint32_t initError = 0;  // the next Init fails with this
  int loads = 0;
  int live = 0;                 // drivers started and not ended
  int openCount = 0;            // opens not closed
  std::vector<DriverKey> keys;  // key "K<n>" reads keys[n]
};

class FakeDriver final : public DeviceDriver {
 public:
  explicit FakeDriver(FakeWorld& w) : w_(w) {}
  uint32_t Init(std::span<const uint8_t> info, uint32_t handle) override {
    if (w_.initError) return w_.initError;
    info_.assign(info.begin(), info.end());
    handle_ = handle;
    ++w_.live;
    return 0;
  }
  void Deinit() override { --w_.live; }
  uint32_t Open(uint32_t, uint32_t, uintptr_t& open) override {
    ++w_.openCount;
    open = 0x1000 + w_.openCount;
    return 0;
  }
  void Close(uintptr_t) override { --w_.openCount; }
  uint32_t IoControl(uintptr_t, uint32_t code, std::span<uint8_t> in, std::span<uint8_t> out,
                     uint32_t& returned) override {
    if (code == 2 && out.size() >= 4) {
      std::copy_n(reinterpret_cast<const uint8_t*>(&handle_), 4, out.begin());
      returned = 4;
      return 0;
    }
    if (code == 3) {
      std::reverse(in.begin(), in.end());
      return 0;
    }
    return 50;
  }
  const std::string& file() const override { return file_; }

 private:
  FakeWorld& w_;
  std::vector<uint8_t> info_;
  uint32_t handle_ = 0;
  std::string file_ = "/fake/Fake.so";
};

// FakeTable: a table over FakeWorld, handles counted from `first`.
inline std::unique_ptr<DeviceTable> FakeTable(FakeWorld& w, uint32_t first = 1) {
  auto loader = [&w](std::u16string_view dll, std::u16string_view,
                     std::unique_ptr<DeviceDriver>& out) -> uint32_t {
    if (std::find(w.presentFiles.begin(), w.presentFiles.end(), dll) == w.presentFiles.end())
      return 2;
    ++w.loads;
    out = std::make_unique<FakeDriver>(w);
    return 0;
  };
  auto keys = [&w](std::u16string_view key, DriverKey& out) -> uint32_t {
    if (key.size() != 2 || key[0] != u'K') return 2;
    const size_t n = static_cast<size_t>(key[1] - u'0');
    if (n >= w.keys.size()) return 2;
    out = w.keys[n];
    return 0;
  };
  return std::make_unique<DeviceTable>(loader, keys, first);
}

}  // namespace devicemanager
