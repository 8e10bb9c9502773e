// The conduit without a display: every dialog takes its default at once.
#pragma once

#include <cstdio>

#include "conduit/dialogs/ConduitUi.h"

namespace conduit {

// HeadlessUi: for HotSync runs where nobody watches (CI, a manager without
// a display). The settings dialog and the sync-time dialog close with OK as
// they opened (the sync-time action stays "On schedule"); a notice closes
// at once; the progress dialog does its work without a window. Message
// boxes and notices are written to `out` as "caption: text" lines. The
// prompt must outlive it.
class HeadlessUi : public ConduitUi {
 public:
  explicit HeadlessUi(platform::Prompt& prompt, std::FILE* out = stderr)
      : prompt_(prompt), out_(out) {}
  virtual ~HeadlessUi() = default;

  platform::Prompt& prompt() override { return prompt_; }
  void Run(ActionDialog& dialog) override;
  void Run(SyncActionDialog& dialog) override;
  void Run(UpdateProgressDialog& dialog) override;
  void Run(NoticeDialog& dialog) override;

 private:
  platform::Prompt& prompt_;
  std::FILE* out_;
};

}  // namespace conduit
