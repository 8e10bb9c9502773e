// The Configure Updater dialog without a toolkit: the address list, its rules and Get Update.
#include "scanner/updater/ConfigureUpdater.h"

#include <algorithm>
#include <utility>

#include "platform/Text.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/updater/UpdaterMessages.h"
#include "scanner/updater/UpdaterSettings.h"

namespace scanner {

bool SameUrl(std::u16string_view a, std::u16string_view b) {
  return platform::EqualsIgnoreCase(WithTrailingSlash(a), WithTrailingSlash(b));
}

ConfigureUpdater::ConfigureUpdater(ConfigureUpdaterView& view, platform::Prompt& prompt,
                                   DownloadRunner& runner, std::function<bool()> scanRunning)
    : view_(view), prompt_(prompt), runner_(runner), scanRunning_(std::move(scanRunning)) {}

uint32_t ConfigureUpdater::OnInit() {
  view_.SetHeading(ScannerText(kMsgConfigureUpdater));
  view_.SetControlText(kControlGetUpdate, ScannerText(kMsgGetUpdate));
  view_.SetControlText(kControlRemove, ScannerText(kMsgRemove));
  view_.SetControlText(kControlAdd, ScannerText(kMsgAdd));
  view_.SetControlText(kControlCancel, ScannerText(kMsgCancel));

  UpdaterState updater;
  const uint32_t loaded = LoadUpdaterSettings(updater);
  list_.clear();
  if (loaded != 0) {
    ShowUpdaterMessage(prompt_, kMsgCannotReadUpdater);
  } else {
    for (int32_t i = 0; i < updater.urlCount; ++i)
      list_.emplace_back(platform::FieldText(updater.urls[i]));
  }
  opened_ = list_;
  view_.SetList(list_);
  view_.FocusEdit();
  return loaded;
}

void ConfigureUpdater::OnSelect(int index) {
  if (index < 0 || static_cast<size_t>(index) >= list_.size()) return;
  view_.SetEditText(list_[static_cast<size_t>(index)]);
}

bool ConfigureUpdater::OnAdd(std::u16string_view editText) {
  const std::u16string_view url = platform::Trim(editText);
  if (url.empty()) return false;
  if (std::any_of(list_.begin(), list_.end(),
                  [url](const std::u16string& listed) { return SameUrl(listed, url); })) {
    ShowError(kDuplicateUrlText, kErrorCaption);
    return false;
  }
  if (list_.size() >= kMaxUrls) {
    ShowError(kTooManyUrlsText, kErrorCaption);
    return false;
  }
  // A longer address would be stored but never read back, and the list would
  // lose it at the next start.
  if (!FitsUrlField(url)) {
    ShowError(kUrlTooLongText, kErrorCaption);
    return false;
  }
  list_.emplace_back(url);
  view_.SetList(list_);
  view_.SetEditText(u"");
  return true;
}

void ConfigureUpdater::OnRemove(int selected) {
  if (selected >= 0 && static_cast<size_t>(selected) < list_.size()) {
    list_.erase(list_.begin() + selected);
    view_.SetList(list_);
  }
  view_.SetEditText(u"");
}

bool ConfigureUpdater::OnOk() {
  if (Save(list_) != 0) {
    ShowError(kCannotWriteText, kErrorCaption);
    return false;
  }
  view_.Close();
  return true;
}

void ConfigureUpdater::OnGetUpdate() {
  if (scanRunning_ && scanRunning_()) {
    ShowError(kScanRunningText, kScanRunningCaption);
    return;
  }
  if (Save(opened_) != 0) {
    ShowError(kCannotWriteText, kErrorCaption);
    return;
  }
  RunDownload(runner_, prompt_);
}

void ConfigureUpdater::ShowError(std::u16string_view text, std::u16string_view caption) {
  prompt_.Show(text, caption, platform::MB_ICONERROR | platform::MB_OK);
}

uint32_t ConfigureUpdater::Save(const std::vector<std::u16string>& urls) {
  UpdaterState updater;
  const size_t count = std::min(urls.size(), kMaxUrls);
  for (size_t i = 0; i < count; ++i) platform::CopyToField(updater.urls[i], urls[i]);
  updater.urlCount = static_cast<int32_t>(count);
  return SaveUpdaterSettings(updater);
}

}  // namespace scanner
