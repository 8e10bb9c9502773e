// The two controls a fetch reports through: a progress bar and a status text.
#pragma once

#include <string_view>

namespace palmsettings {

// ProgressWindow: a progress bar that a fetch or install thread advances. The
// calls come from that thread and must return once the bar has taken them
// (a window view forwards them with a blocking queued call). Positions are
// clamped to the range, as the control does.
class ProgressWindow {
 public:
  // SetRange: the bar's lower and upper end; the position is kept.
  virtual void SetRange(int low, int high) = 0;
  // SetStep: the increment that StepIt adds (10 until set).
  virtual void SetStep(int step) = 0;
  // StepIt: advances the position by the step; past the upper end it starts
  // again from the lower end, as the control does.
  virtual void StepIt() = 0;
  // SetPos: moves the bar to a position.
  virtual void SetPos(int position) = 0;
  // OffsetPos: advances the position by `delta`.
  virtual void OffsetPos(int delta) = 0;

 protected:
  ~ProgressWindow() = default;
};

// StatusWindow: a one-line text (the address being tried), set from the
// fetch thread like ProgressWindow.
class StatusWindow {
 public:
  // SetText: replaces the shown text.
  virtual void SetText(std::string_view text) = 0;

 protected:
  ~StatusWindow() = default;
};

}  // namespace palmsettings
