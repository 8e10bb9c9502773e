// CConduitTreePage: the conduit settings as a tree page: filling the tree and collecting it.
#pragma once

#include <cstdint>
#include <span>

#include "configobject/layout/LayoutWindow.h"
#include "configobject/page/ControlTreeCtrl.h"
#include "configobject/proptree/Node.h"
#include "palmsettings/PalmSettings.h"
#include "platform/Prompt.h"
#include "platform/StringTable.h"
#include "platform/com/Automation.h"

namespace qrx {

class PageEvents;

// CConduitTreePage: one page object. It owns the pattern tree, the control
// wrapper (whose control owns the working tree) and one settings record.
// No toolkit: the page's window lives in the Qt view, which creates the
// control and calls OnInitDialog, OnSize and the collection.
class CConduitTreePage {
 public:
  // CConduitTreePage: the record with its defaults (this module never creates
  // them in the registry), and the pattern tree read once from `pattern`
  // (none when it does not read). `strings` is this module's own table.
  CConduitTreePage(std::span<const uint8_t> pattern,
                   std::span<const platform::DeviceString> strings);
  ~CConduitTreePage();
  CConduitTreePage(const CConduitTreePage&) = delete;
  CConduitTreePage& operator=(const CConduitTreePage&) = delete;

  // control: the wrapper the view creates the control through; events: the
  // sink to advise for the control's caption requests.
  CControlTreeCtrl& control() { return control_; }
  platform::com::IAutomation* events() const;

  // OnInitDialog: loads the record, asks the control for a working tree
  // made from the pattern, fills it from the record, and shows it from the
  // root item. Returns the result of Load (0, or -1 without the component
  // key, in which case the defaults are shown).
  int OnInitDialog();

  // FillTree: the record's values into the working tree, between an access
  // and its end. A path the tree lacks is passed over.
  void FillTree();

  // GetDataFromPage: the working tree's values into the record (the wait
  // time's low 16 bits, the action's lowest byte, texts, the address list
  // rebuilt in order), then Save; Save's result is not passed on. A path the
  // tree lacks leaves its setting as it was.
  void GetDataFromPage();

  // OnGetString: event 5: the caption `id` into `buffer` (`units` with the
  // terminator, at most 128 characters); whether anything was loaded.
  bool OnGetString(int32_t id, char16_t* buffer, intptr_t units) const;

  // OnSize: lays the page's window out by its two rules.
  bool OnSize(layout::LayoutWindow& window, platform::Prompt& prompt);

  palmsettings::PalmSettings& settings() { return settings_; }
  const proptree::Node* patternTree() const { return pattern_; }
  proptree::Node* workingTree() const { return working_; }
  proptree::Node* rootItem() const { return root_; }

 private:
  std::span<const platform::DeviceString> strings_;
  proptree::Node* pattern_ = nullptr;  // the holder of the pattern's root; owned
  proptree::Node* working_ = nullptr;  // the control's, valid while it lives
  proptree::Node* root_ = nullptr;
  PageEvents* events_ = nullptr;  // one reference, dropped at the end
  palmsettings::PalmSettings settings_;
  CControlTreeCtrl control_;  // last member: released first
};

}  // namespace qrx
