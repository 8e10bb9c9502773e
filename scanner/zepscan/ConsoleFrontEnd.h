// The scanner's front-end for the command line: no window, the title as a message line.
#pragma once

#include <iosfwd>
#include <string_view>

#include "scanner/startup/ScannerApp.h"

namespace zepscan {

// ConsoleFrontEnd: creates no window; a title set after the base is loaded
// ("Quillmark AV - N viruses") is written as one line to `messages`
// (borrowed).
class ConsoleFrontEnd : public scanner::ScannerFrontEnd {
 public:
  explicit ConsoleFrontEnd(std::ostream& messages) : messages_(messages) {}

  bool CreateMainWindow(std::u16string_view title) override;
  void SetTitle(std::u16string_view title) override;

 private:
  std::ostream& messages_;
};

}  // namespace zepscan
