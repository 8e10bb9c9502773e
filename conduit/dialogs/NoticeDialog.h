// The notice with a self-closing countdown (template 104), without a toolkit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "conduit/dialogs/DialogEnd.h"
#include "conduit/dialogs/OkCountdown.h"

namespace conduit {

// NoticeDialog: a caption, a text (field 1019) and OK, which closes by
// itself after `countdown` seconds unless a mouse button is pressed inside
// it. The view shows caption(), text() and okText() after every call, runs
// timer 2 (kCountdownPeriodMs) while timerRunning(), and closes once
// end() is no longer Open.
class NoticeDialog {
 public:
  static constexpr uint32_t kTextControl = 1019;
  static constexpr uint32_t kTimerId = 2;
  // kNoCountdown: a notice that waits for OK from the start.
  static constexpr int32_t kNoCountdown = -1;
  // The fields' sizes in characters with the terminator; longer texts are cut.
  static constexpr size_t kCaptionSize = 64;
  static constexpr size_t kTextSize = 128;

  // NoticeDialog: the caller's caption, text and countdown in seconds (a
  // negative one: none; 0 counts as 1, see OkCountdown).
  NoticeDialog(std::string_view caption, std::string_view text, int32_t countdown);

  // OnInitDialog: when the countdown is 0 or more, the OK button reads "OK = "
  // and the seconds, and timer 2 starts.
  void OnInitDialog();
  // OnTimer: timer 2 ticked: closes at the last second, else counts down.
  void OnTimer();
  // OnMouseButton: a left or right mouse button went down inside the dialog:
  // the timer stops and the button reads "OK".
  void OnMouseButton();
  // OnOk: OK, or closing the window.
  void OnOk() { end_ = DialogEnd::Ok; }

  const std::string& caption() const { return caption_; }
  const std::string& text() const { return text_; }
  std::string okText() const { return countdown_.ButtonText(); }
  bool timerRunning() const { return countdown_.running(); }
  int32_t countdown() const { return countdown_.seconds(); }
  DialogEnd end() const { return end_; }

 private:
  std::string caption_;
  std::string text_;
  int32_t start_;
  OkCountdown countdown_;
  DialogEnd end_ = DialogEnd::Open;
};

}  // namespace conduit
