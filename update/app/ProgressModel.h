// A progress bar's numbers as the Windows control keeps them: range, step and a clamped position.
#pragma once

namespace update {

// ProgressModel: starts with range 0-100, step 10, position 0. Not
// thread-safe: the window that shows it keeps it on its own thread.
class ProgressModel {
 public:
  // SetRange: new ends (a reversed pair is taken in order); the position is
  // kept, clamped into the new range.
  void SetRange(int low, int high);
  void SetStep(int step) { step_ = step; }
  // StepIt: adds the step; past the upper end it starts again from the lower.
  void StepIt();
  // SetPos / OffsetPos: an absolute or relative move, clamped to the range.
  void SetPos(int position);
  void OffsetPos(int delta);

  int low() const { return low_; }
  int high() const { return high_; }
  int position() const { return position_; }

 private:
  int Clamp(long long position) const;

  int low_ = 0;
  int high_ = 100;
  int step_ = 10;
  int position_ = 0;
};

}  // namespace update
