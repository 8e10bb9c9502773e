// The main dialog without a toolkit: caption, tabs, the three pages, and closing.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "configapp/ConduitPage.h"
#include "configapp/DialogGeometry.h"
#include "configapp/HintLine.h"
#include "configapp/PathPage.h"
#include "configapp/UpdatePage.h"
#include "palmsettings/PalmSettings.h"
#include "platform/Prompt.h"

namespace configapp {

// SetdeskDialog: the main dialog (template 135). It owns the three pages;
// the record and the prompt must outlive it.
class SetdeskDialog {
 public:
  SetdeskDialog(palmsettings::PalmSettings& record, platform::Prompt& prompt)
      : record_(record), prompt_(prompt) {}

  // OnInitDialog: creates the pages in tab order (Conduit, URLs, Paths),
  // each opening on the record, and shows the Conduit page.
  void OnInitDialog();

  // Caption: string 321. CancelText: string 201.
  std::string Caption() const;
  std::string CancelText() const;
  // TabTitle: strings 322, 355, 356 for the tabs in order.
  std::string TabTitle(SetdeskPage page) const;

  // The pages, once OnInitDialog has created them.
  CConduitPage& conduit() { return *conduit_; }
  CUpdatePage& urls() { return *urls_; }
  CPathPage& paths() { return *paths_; }
  bool created() const { return conduit_ != nullptr; }

  // OnSelChange: the tab at `selection` was chosen: every page is hidden and
  // the one of that index shown (none for an index without a page).
  void OnSelChange(int selection);
  int selection() const { return selection_; }
  bool PageVisible(SetdeskPage page) const { return visible_[static_cast<size_t>(page)]; }

  // OnOk: the checks before OK closes the dialog. A directory too long for
  // its field keeps the dialog open on the Paths page. Returns 0 when the
  // dialog may close, else the control to correct.
  uint32_t OnOk();

  // OnDestroy: the dialog closes (OK or Cancel): each page stores its values
  // into the record, in page order; the first call only.
  void OnDestroy();

 private:
  palmsettings::PalmSettings& record_;
  platform::Prompt& prompt_;
  std::unique_ptr<CConduitPage> conduit_;
  std::unique_ptr<CUpdatePage> urls_;
  std::unique_ptr<CPathPage> paths_;
  std::array<bool, kPageCount> visible_{};
  int selection_ = 0;
  bool destroyed_ = false;
};

}  // namespace configapp
