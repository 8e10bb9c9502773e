// The Configure Updater dialog without a toolkit: the address list, its rules and Get Update.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Prompt.h"
#include "scanner/updater/DownloadDialog.h"
#include "scanner/updater/UpdaterState.h"

namespace scanner {

// ConfigureUpdaterView: the dialog's window: texts, the address list (1075),
// the address edit (1076) and its end.
class ConfigureUpdaterView {
 public:
  virtual ~ConfigureUpdaterView() = default;
  // SetHeading: the heading (message 120).
  virtual void SetHeading(std::u16string_view text) = 0;
  // SetControlText: a button's text by control number.
  virtual void SetControlText(int control, std::u16string_view text) = 0;
  // SetList: the list's entries (no entry selected afterwards).
  virtual void SetList(const std::vector<std::u16string>& urls) = 0;
  virtual void SetEditText(std::u16string_view text) = 0;
  virtual void FocusEdit() = 0;
  // Close: ends the dialog.
  virtual void Close() = 0;
};

// ConfigureUpdater: the dialog's rules. Messages go to the prompt; Get Update
// runs the download through the runner, refused while `scanRunning` answers
// true. Everything borrowed must outlive the model.
class ConfigureUpdater {
 public:
  ConfigureUpdater(ConfigureUpdaterView& view, platform::Prompt& prompt, DownloadRunner& runner,
                   std::function<bool()> scanRunning);

  // OnInit: the texts, then LoadUpdaterSettings: on failure message 121 and
  // an empty list, else the addresses; the edit gets the focus. Returns
  // LoadUpdaterSettings's result.
  uint32_t OnInit();

  // OnSelect: the entry at `index` into the edit (nothing for no entry).
  void OnSelect(int index);

  // OnAdd: adds the edit's text (without surrounding blanks) at the end and
  // empties the edit. Nothing for an empty text; "Duplicate Url!" for an
  // address already listed (letter case and the trailing "/" not counted),
  // "Too many Urls" with ten listed, "Url is too long" when it would not fit
  // its registry field, each captioned "Error!". Returns true when added.
  bool OnAdd(std::u16string_view editText);

  // OnRemove: deletes the selected entry (none: nothing) and empties the edit.
  void OnRemove(int selected);

  // OnOk: saves at most ten entries; on failure "Error writing settings in
  // registry" captioned "Error!" and the dialog stays. Returns true when
  // saved and closed.
  bool OnOk();

  // OnGetUpdate: while a scan runs "Scanner is running.Cannot update bases."
  // captioned "Error"; otherwise saves the addresses as they were when the
  // dialog opened (the write failure box as for OK) and runs the download,
  // with message 123 when it did not succeed.
  void OnGetUpdate();

  const std::vector<std::u16string>& urls() const { return list_; }

 private:
  void ShowError(std::u16string_view text, std::u16string_view caption);
  uint32_t Save(const std::vector<std::u16string>& urls);

  ConfigureUpdaterView& view_;
  platform::Prompt& prompt_;
  DownloadRunner& runner_;
  std::function<bool()> scanRunning_;
  std::vector<std::u16string> list_;
  std::vector<std::u16string> opened_;  // the list as loaded
};

// SameUrl: whether two addresses name the same place for the list: equal
// after the trailing "/" rule, regardless of letter case.
bool SameUrl(std::u16string_view a, std::u16string_view b);

}  // namespace scanner
