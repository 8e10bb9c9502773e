// A language library for the settings store's tests: two of the desktop texts in French.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) const char* QmLocStringA(uint32_t id) {
  switch (id) {
    case 204:
      return "Aucune adresse de mise à jour !";
    case 512:
      return "Mise à jour de l'antivirus pour PalmOS";
    default:
      return nullptr;  // 203 is missing on purpose
  }
}
