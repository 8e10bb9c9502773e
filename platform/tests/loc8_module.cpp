// A UTF-8 language module for the string-table tests.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) const char* QmLocStringA(uint32_t id) {
  switch (id) {
    case 1:
      return "Обновление";
    case 204:
      return "Путь обновления не задан!";
    default:
      return nullptr;
  }
}
