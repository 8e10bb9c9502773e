// Looking for the control centre's switch.
#include "update/app/CommandLine.h"

#include <cctype>

namespace update {

std::string JoinCommandLine(int argc, const char* const* argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

bool IsControlCentreMode(std::string_view commandLine) {
  std::string upper;
  upper.reserve(commandLine.size());
  for (char c : commandLine)
    upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper.find(kControlCentreSwitch) != std::string::npos;
}

}  // namespace update
