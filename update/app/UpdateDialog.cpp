// The progress dialog's threads and the end of an interactive run.
#include "update/app/UpdateDialog.h"

#include "update/app/LastUpdate.h"
#include "update/app/UpdateStrings.h"

namespace update {

UpdateDialog::UpdateDialog(palmsettings::PalmSettings& record, platform::Prompt& prompt,
                           const UpdateOptions& options)
    : record_(record), prompt_(prompt), options_(options) {}

UpdateDialog::~UpdateDialog() {
  Finish();
}

int UpdateDialog::Open(UpdateDialogView& view) {
  view.SetCaption(UpdateText(record_, kIdsCaption));
  view.SetCancelText(UpdateText(record_, kIdsCancel));
  if (record_.addressList == nullptr) {
    prompt_.Show(UpdateText(record_, kIdsNoAddress), UpdateText(record_, kIdsCaption),
                 platform::MB_OK | platform::MB_ICONERROR);
    return kNoAddress;
  }
  view_ = &view;
  record_.progressWindow = &view.progressBar();
  record_.statusWindow = &view.statusText();
  phase_ = Phase::Running;
  fetch_.Start(record_, FetchContext{prompt_, nullptr, nullptr, options_.limits});
  watch_ = std::thread([this] { Watch(); });
  return 0;
}

bool UpdateDialog::Cancel() {
  Phase expected = Phase::Running;
  if (!phase_.compare_exchange_strong(expected, Phase::Cancelled)) return false;
  fetch_.control().Cancel();  // the watch thread sees the fetch end and leaves
  view_->Close(DialogResult::Cancelled);
  return true;
}

void UpdateDialog::Pause() {
  if (fetch_.started()) fetch_.control().Pause();
}

void UpdateDialog::Resume() {
  if (fetch_.started()) fetch_.control().Resume();
}

void UpdateDialog::Watch() {
  fetch_.WaitEnded(options_.fetchLimitMs);
  Phase expected = Phase::Running;
  if (phase_.compare_exchange_strong(expected, Phase::Finishing)) {
    // At the limit a fetch still under way is stopped and joined before its
    // marks are read and its folder promoted, so neither changes meanwhile.
    fetch_.Finish();
    StoreLastUpdate(record_, CurrentTime(options_));
    complete_ = record_.PromoteDownloads() == 1;
    if (!complete_) {
      prompt_.Show(UpdateText(record_, kIdsIncomplete, kShortText),
                   UpdateText(record_, kIdsIncompleteCaption, kShortText),
                   platform::MB_OK | platform::MB_ICONERROR);
      told_ = true;
    }
    view_->Close(DialogResult::Ok);
  }
  watchEnded_ = true;
}

bool UpdateDialog::ThreadsEnded() const {
  return !watch_.joinable() || (watchEnded_.load() && fetch_.ended());
}

RunOutcome UpdateDialog::Finish() {
  if (watch_.joinable()) watch_.join();
  fetch_.Finish();
  record_.progressWindow = nullptr;
  record_.statusWindow = nullptr;
  if (phase_.load() == Phase::Cancelled) return RunOutcome::Cancelled;
  return complete_.load() ? RunOutcome::Complete : RunOutcome::Incomplete;
}

}  // namespace update
