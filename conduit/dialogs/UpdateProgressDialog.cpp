// The progress dialog's two modes, its watcher and Cancel.
#include "conduit/dialogs/UpdateProgressDialog.h"

#include <utility>

#include "conduit/dialogs/ConduitStrings.h"
#include "update/fetch/FetchContext.h"

namespace conduit {

UpdateProgressDialog::UpdateProgressDialog(palmsettings::PalmSettings& record,
                                           platform::Prompt& prompt, int32_t mode, InstallPass pass,
                                           ProgressOptions options)
    : record_(record),
      prompt_(prompt),
      mode_(mode),
      pass_(std::move(pass)),
      options_(std::move(options)) {}

UpdateProgressDialog::~UpdateProgressDialog() {
  Finish();
}

int UpdateProgressDialog::Open(ProgressDialogView& view) {
  if (record_.addressList == nullptr) {
    prompt_.Show(ConduitText(record_, kIdsNoAddress), ConduitText(record_, kIdsUpdaterCaption),
                 platform::MB_OK | platform::MB_ICONERROR);
    return kNoAddress;
  }
  view_ = &view;
  return 0;
}

void UpdateProgressDialog::OnInitDialog() {
  if (view_ == nullptr) return;
  if (mode_ == kModeInstall) {
    if (pass_) installResult_ = pass_(view_->progressBar(), view_->textLine());
    view_->Close();
    return;
  }
  if (mode_ != kModeFetch) {
    view_->Close();
    return;
  }
  record_.progressWindow = &view_->progressBar();
  record_.statusWindow = &view_->textLine();
  phase_ = Phase::Running;
  // The conduit never reports to the control centre, whatever NoTasksKey says.
  fetch_.Start(record_, update::FetchContext{prompt_, nullptr, nullptr, options_.limits});
  watch_ = std::thread([this] { Watch(); });
}

void UpdateProgressDialog::Watch() {
  const bool ended = fetch_.WaitEnded(options_.fetchLimitMs);
  Phase expected = Phase::Running;
  if (phase_.compare_exchange_strong(expected, Phase::Closing)) {
    // At the limit a fetch still under way is stopped, so that its marks
    // and the update folder no longer change once the dialog has closed.
    if (!ended) fetch_.control().Cancel();
    view_->Close();
  }
  watchEnded_ = true;
}

void UpdateProgressDialog::OnCancel() {
  Phase expected = Phase::Running;
  if (!phase_.compare_exchange_strong(expected, Phase::Cancelled)) return;
  fetch_.control().Cancel();  // the watcher sees the fetch end and leaves
  view_->Close();
}

bool UpdateProgressDialog::ThreadsEnded() const {
  return !watch_.joinable() || (watchEnded_.load() && fetch_.ended());
}

void UpdateProgressDialog::Finish() {
  if (watch_.joinable()) watch_.join();
  fetch_.Finish();
  if (mode_ == kModeFetch && phase_.load() != Phase::Idle) {
    record_.progressWindow = nullptr;
    record_.statusWindow = nullptr;
  }
}

}  // namespace conduit
