// The window-less front-end of zepscan.
#include "scanner/zepscan/ConsoleFrontEnd.h"

#include <ostream>

#include "platform/Text.h"

namespace zepscan {

bool ConsoleFrontEnd::CreateMainWindow(std::u16string_view) {
  return true;
}

void ConsoleFrontEnd::SetTitle(std::u16string_view title) {
  messages_ << platform::Utf16ToUtf8(title) << '\n' << std::flush;
}

}  // namespace zepscan
