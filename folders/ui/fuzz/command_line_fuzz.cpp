// Fuzz target: the folder program's command-line text, as any caller may pass it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "folders/ui/FoldersCommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2)
    text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  const folders::FoldersCommandLine line = folders::ParseFoldersCommandLine(text);
  if (line.form == folders::CommandForm::None) return 0;
  // Every parsed path is a handheld path: rooted, backslashes only.
  if (line.path.empty() || line.path.front() != u'\\') __builtin_trap();
  if (line.path.find(u'/') != std::u16string::npos) __builtin_trap();
  if (line.form != folders::CommandForm::Create && line.sizeKb != 0) __builtin_trap();
  return 0;
}
