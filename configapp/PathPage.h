// The Paths page without a toolkit: the Palm Desktop and anti-virus directories.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "configapp/HintLine.h"
#include "palmsettings/PalmSettings.h"
#include "platform/Prompt.h"

namespace configapp {

// PathControls: what the page's two edit boxes show.
struct PathControls {
  std::string desktopPath;  // edit box 1043
  std::string zeppDir;      // edit box 1045
};

// CPathPage: the page's members and its behaviour (template 136). The
// record and the prompt must outlive it. The directories reach the record
// only in OnDestroy.
class CPathPage {
 public:
  CPathPage(palmsettings::PalmSettings& record, platform::Prompt& prompt)
      : record_(record), prompt_(prompt), hint_(record, SetdeskPage::Paths) {}

  // OnInitDialog: takes DesktopPath and ZEPPDir into the edit boxes.
  void OnInitDialog();

  // Text: the text of a labelled control (1042, 1047, 1048); empty for
  // another.
  std::string Text(uint32_t control) const;

  const PathControls& controls() const { return controls_; }
  const std::string& hint() const { return hint_.text(); }

  void SetDesktopPath(std::string_view text) { controls_.desktopPath = text; }
  void SetZeppDir(std::string_view text) { controls_.zeppDir = text; }

  // CheckLengths: before OK closes the dialog. A directory longer than the
  // 255 characters (UTF-8 bytes) of its field is refused with a message
  // rather than cut, which would name another folder. Returns 0 when both
  // fit, else the edit box to correct (1043 or 1045).
  uint32_t CheckLengths();

  // OnSetCursor: the pointer is over `control`; true when the hint changed.
  bool OnSetCursor(uint32_t control) { return hint_.OnSetCursor(control); }

  // OnDestroy: copies both directories into DesktopPath and ZEPPDir. One
  // that does not fit leaves its field as it was (Cancel skips the check).
  void OnDestroy();

 private:
  palmsettings::PalmSettings& record_;
  platform::Prompt& prompt_;
  HintLine hint_;
  PathControls controls_;
};

}  // namespace configapp
