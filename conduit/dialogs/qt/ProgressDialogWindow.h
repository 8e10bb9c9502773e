// The progress dialog on screen over an UpdateProgressDialog.
#pragma once

#include <QDialog>
#include <atomic>

#include "conduit/dialogs/UpdateProgressDialog.h"
#include "palmsettings/FetchWindows.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace conduit {

// ProgressDialogWindow: a thin view. Controls: "textLine" (1010),
// "progress" (1009), "cancel" (2). Calls from another thread (the fetch and
// the watcher) are queued to the window's thread without waiting; calls on
// its own thread (the install pass) take effect and paint at once, since
// the pass runs before the window serves any event. The bar keeps its
// numbers as the Windows control does: a position clamped to the range,
// kept across a new range, and a step that wraps past the upper end.
class ProgressDialogWindow final : public QDialog,
                                   public ProgressDialogView,
                                   public palmsettings::ProgressWindow,
                                   public palmsettings::StatusWindow {
 public:
  explicit ProgressDialogWindow(UpdateProgressDialog& dialog, QWidget* parent = nullptr);

  // ProgressDialogView
  palmsettings::ProgressWindow& progressBar() override { return *this; }
  palmsettings::StatusWindow& textLine() override { return *this; }
  void Close() override;

  // ProgressWindow
  void SetRange(int low, int high) override;
  void SetStep(int step) override;
  void StepIt() override;
  void SetPos(int position) override;
  void OffsetPos(int delta) override;

  // StatusWindow
  void SetText(std::string_view text) override;

  // closed: whether Close has taken effect.
  bool closed() const { return closed_.load(); }

  // reject: Cancel, Escape and the window's close button.
  void reject() override;

 private:
  template <typename Work>
  void OnThread(Work work);
  void MoveTo(long long position);

  UpdateProgressDialog& dialog_;
  QLabel* text_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QPushButton* cancel_ = nullptr;
  // The bar's numbers, touched on the window's thread only.
  int low_ = 0;
  int high_ = 100;
  int step_ = 10;
  int position_ = 0;
  std::atomic<bool> closed_{false};
};

}  // namespace conduit
