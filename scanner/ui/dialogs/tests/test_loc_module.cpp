// A language module for the dialog tests: every text is "#" and its number, "&&" in 16.
#include <cstdint>
#include <string>

extern "C" __attribute__((visibility("default"))) const char16_t* QmLocString(uint32_t id) {
  static const auto* texts = [] {
    auto* made = new std::u16string[200];
    for (uint32_t i = 0; i < 200; ++i) {
      for (char c : "#" + std::to_string(i))
        if (c != '\0') made[i].push_back(static_cast<char16_t>(c));
    }
    made[16] = u"#16 && more";
    return made;
  }();
  return id < 200 ? texts[id].c_str() : nullptr;
}
