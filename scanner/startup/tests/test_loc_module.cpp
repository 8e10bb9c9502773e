// A language module for the start-up tests: the caption and the Infected message only.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) const char16_t* QmLocString(uint32_t id) {
  switch (id) {
    case 5:
      return u"Quillmark Virenschutz";
    case 105:
      return u"Der Pfad zum Ordner \"Infected\" ist ungültig.";
    default:
      return nullptr;
  }
}
