// The URLs page without a toolkit: the list of update addresses and its buttons.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "configapp/HintLine.h"
#include "palmsettings/PalmSettings.h"
#include "platform/Prompt.h"

namespace configapp {

// AddressControls: what the page's controls show.
struct AddressControls {
  std::string address;             // the address edit box 1007
  std::vector<std::string> items;  // the list box 1012, top first: the order of the addresses
  int selection = -1;              // the selected item, -1 none
};

// CUpdatePage: the page's members and its behaviour (template 134). The
// record and the prompt must outlive it. The list reaches the record only in
// OnDestroy.
class CUpdatePage {
 public:
  CUpdatePage(palmsettings::PalmSettings& record, platform::Prompt& prompt)
      : record_(record), prompt_(prompt), hint_(record, SetdeskPage::Urls) {}

  // OnInitDialog: empties the list box and adds every address of
  // addressList in list order.
  void OnInitDialog();

  // Text: the text of a labelled control (1032, 1019, 1020, 1015, 1016,
  // 1017); empty for another, such as the "URL:" label, whose text is fixed.
  std::string Text(uint32_t control) const;

  const AddressControls& controls() const { return controls_; }
  const std::string& hint() const { return hint_.text(); }

  // SetAddress: the user typed into the edit box.
  void SetAddress(std::string_view text) { controls_.address = text; }
  // Select: the user selected item `index` (-1 none).
  void Select(int index);

  // OnAdd: inserts the edit text, without blanks at either end, as the first
  // item and empties the edit box. Blanks alone add nothing. An address
  // longer than 255 characters is refused with a message and left in the
  // edit box, since the stored list could only keep it cut. Returns true
  // when an item was added.
  bool OnAdd();
  // OnDelete: deletes the selected item and empties the edit box; nothing
  // without a selection.
  void OnDelete();
  // OnClearAll: asks string 343 (Yes/No); on Yes empties the list and the
  // edit box. Returns true when cleared.
  bool OnClearAll();
  // OnUp / OnDown: moves the selected item one place up or down and keeps it
  // selected; nothing without a selection or at the list's end.
  void OnUp();
  void OnDown();

  // OnSetCursor: the pointer is over `control`; true when the hint changed.
  bool OnSetCursor(uint32_t control) { return hint_.OnSetCursor(control); }

  // OnDestroy: frees addressList and builds it again from the list box, top
  // first, each entry a copy of an item's text.
  void OnDestroy();

 private:
  palmsettings::PalmSettings& record_;
  platform::Prompt& prompt_;
  HintLine hint_;
  AddressControls controls_;
};

}  // namespace configapp
