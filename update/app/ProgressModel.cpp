// The progress bar's arithmetic.
#include "update/app/ProgressModel.h"

#include <algorithm>

namespace update {

int ProgressModel::Clamp(long long position) const {
  return static_cast<int>(std::clamp<long long>(position, low_, high_));
}

void ProgressModel::SetRange(int low, int high) {
  low_ = std::min(low, high);
  high_ = std::max(low, high);
  position_ = Clamp(position_);
}

void ProgressModel::StepIt() {
  const long long next = static_cast<long long>(position_) + step_;
  position_ = next > high_ ? Clamp(low_ + (next - high_)) : Clamp(next);
}

void ProgressModel::SetPos(int position) {
  position_ = Clamp(position);
}

void ProgressModel::OffsetPos(int delta) {
  position_ = Clamp(static_cast<long long>(position_) + delta);
}

}  // namespace update
