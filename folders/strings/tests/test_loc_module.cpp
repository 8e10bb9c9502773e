// A language module for the folder string tests: two texts, one of them empty.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) const char16_t* QmLocString(uint32_t id) {
  switch (id) {
    case 49:
      return u"Tresor";
    case 50:
      return u"Falsches Passwort";
    default:
      return nullptr;
  }
}
