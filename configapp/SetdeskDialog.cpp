// The main dialog: its texts, the pages in tab order, tab changes and closing.
#include "configapp/SetdeskDialog.h"

#include "configapp/ControlIds.h"
#include "configapp/SetdeskStrings.h"

namespace configapp {

void SetdeskDialog::OnInitDialog() {
  conduit_ = std::make_unique<CConduitPage>(record_, prompt_);
  conduit_->OnInitDialog();
  urls_ = std::make_unique<CUpdatePage>(record_, prompt_);
  urls_->OnInitDialog();
  paths_ = std::make_unique<CPathPage>(record_, prompt_);
  paths_->OnInitDialog();
  selection_ = 0;
  visible_ = {true, false, false};
  destroyed_ = false;
}

std::string SetdeskDialog::Caption() const {
  return SetdeskText(record_, kIdsTitle);
}

std::string SetdeskDialog::CancelText() const {
  return SetdeskText(record_, kIdsCancel);
}

std::string SetdeskDialog::TabTitle(SetdeskPage page) const {
  switch (page) {
    case SetdeskPage::Conduit:
      return SetdeskText(record_, kIdsTabConduit);
    case SetdeskPage::Urls:
      return SetdeskText(record_, kIdsTabUrls);
    case SetdeskPage::Paths:
      return SetdeskText(record_, kIdsTabPaths);
  }
  return {};
}

void SetdeskDialog::OnSelChange(int selection) {
  selection_ = selection;
  visible_.fill(false);
  if (selection >= 0 && static_cast<size_t>(selection) < kPageCount)
    visible_[static_cast<size_t>(selection)] = true;
}

uint32_t SetdeskDialog::OnOk() {
  if (!paths_) return 0;
  const uint32_t tooLong = paths_->CheckLengths();
  if (tooLong != 0) OnSelChange(static_cast<int>(SetdeskPage::Paths));
  return tooLong;
}

void SetdeskDialog::OnDestroy() {
  if (destroyed_ || !created()) return;
  destroyed_ = true;
  conduit_->OnDestroy();
  urls_->OnDestroy();
  paths_->OnDestroy();
}

}  // namespace configapp
