// A language library for Setdesk's tests: every text of Setdesk replaced, two hints too long for
// their buffers.
#include <cstdint>
#include <map>
#include <string>

namespace {

// kIds: every string number of Setdesk.
constexpr uint32_t kIds[] = {102, 201, 300, 301, 302, 303, 304, 305, 306, 307, 308, 309,
                             310, 311, 312, 313, 314, 315, 316, 317, 320, 321, 322, 323,
                             330, 331, 332, 333, 334, 335, 336, 337, 338, 339, 340, 341,
                             342, 343, 350, 351, 352, 353, 354, 355, 356};

const std::map<uint32_t, std::string>& Texts() {
  static const std::map<uint32_t, std::string> texts = [] {
    std::map<uint32_t, std::string> t;
    for (uint32_t id : kIds) t[id] = "L" + std::to_string(id);
    // 300 characters: the URLs page cuts its hints at 255, the Paths page at 127.
    t[341] = "L341 " + std::string(295, 'u');
    t[354] = "L354 " + std::string(295, 'p');
    return t;
  }();
  return texts;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const char* QmLocStringA(uint32_t id) {
  const auto found = Texts().find(id);
  return found == Texts().end() ? nullptr : found->second.c_str();
}
