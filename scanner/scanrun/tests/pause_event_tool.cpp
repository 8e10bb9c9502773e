// Test helper program: resets ("reset") or sets ("set") the scanner's pause event from outside.
#include <string_view>

#include "platform/Errors.h"
#include "platform/NamedEvent.h"

int main(int argc, char** argv) {
  if (argc != 2) return 87;
  platform::Event event = platform::OpenEvent("ZEPSCANPAUSE");
  if (!event.valid()) return static_cast<int>(platform::GetLastError());
  const std::string_view operation = argv[1];
  if (operation == "reset") return static_cast<int>(event.Reset());
  if (operation == "set") return static_cast<int>(event.Set());
  return 87;
}
