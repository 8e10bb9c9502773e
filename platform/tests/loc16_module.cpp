// A UTF-16 language module for the string-table tests.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) const char16_t* QmLocString(uint32_t id) {
  switch (id) {
    case 1:
      return u"Антивирус";
    case 5:
      return u"Quillmark Антивирус";
    case 7:
      return u"";
    default:
      return nullptr;
  }
}
