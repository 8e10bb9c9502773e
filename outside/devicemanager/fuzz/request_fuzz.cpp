// Fuzz target: random request messages against a table of fake drivers; the same
// bytes also go through the reply and listing decoders that clients use.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "outside/devicemanager/RequestHandler.h"
#include "outside/devicemanager/tests/FakeDriver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static devicemanager::FakeWorld world = [] {
    devicemanager::FakeWorld w;
    w.keys = {{u"Fake.dll", u"VDD", std::nullopt}, {u"Fake.dll", u"TST", 3u}};
    return w;
  }();
  // One table for the whole run, so that sequences of requests build state;
  // it is emptied now and then to keep it small.
  static std::unique_ptr<devicemanager::DeviceTable> table = devicemanager::FakeTable(world);
  if (table->size() >= 8) table->UnloadAll();
  devicemanager::Handled handled;
  const auto reply =
      devicemanager::HandleMessage(*table, std::span<const uint8_t>(data, size), 1, handled);
  platform::DeviceReply decoded;
  if (platform::DecodeReply(reply, decoded) != 0) __builtin_trap();
  const std::span<const uint8_t> bytes(data, size);
  // A request that decodes is exactly what encoding it gives back: every
  // byte was accounted for, nothing read twice or past the end.
  platform::DeviceRequest request;
  if (platform::DecodeRequest(bytes, request) == 0) {
    const auto again = platform::EncodeRequest(request);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data)) __builtin_trap();
  }
  if (platform::DecodeReply(bytes, decoded) == 0) {
    const auto again = platform::EncodeReply(decoded);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data)) __builtin_trap();
  }
  std::vector<platform::DeviceStatusEntry> entries;
  platform::DecodeStatus(bytes, entries);
  return 0;
}
