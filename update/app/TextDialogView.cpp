// The text form of the progress dialog.
#include "update/app/TextDialogView.h"

namespace update {

void TextDialogView::SetCaption(std::string_view text) {
  std::lock_guard<std::mutex> lock(mutex_);
  caption_ = text;
  if (out_) *out_ << caption_ << std::endl;
}

void TextDialogView::SetCancelText(std::string_view text) {
  std::lock_guard<std::mutex> lock(mutex_);
  cancelText_ = text;
}

void TextDialogView::Close(DialogResult result) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!closed_) closed_ = result;
  closedChanged_.notify_all();
}

void TextDialogView::SetRange(int low, int high) {
  std::lock_guard<std::mutex> lock(mutex_);
  progress_.SetRange(low, high);
}

void TextDialogView::SetStep(int step) {
  std::lock_guard<std::mutex> lock(mutex_);
  progress_.SetStep(step);
}

void TextDialogView::StepIt() {
  std::lock_guard<std::mutex> lock(mutex_);
  progress_.StepIt();
}

void TextDialogView::SetPos(int position) {
  std::lock_guard<std::mutex> lock(mutex_);
  progress_.SetPos(position);
}

void TextDialogView::OffsetPos(int delta) {
  std::lock_guard<std::mutex> lock(mutex_);
  progress_.OffsetPos(delta);
}

void TextDialogView::SetText(std::string_view text) {
  std::lock_guard<std::mutex> lock(mutex_);
  statusTexts_.emplace_back(text);
  if (out_) *out_ << statusTexts_.back() << std::endl;
}

DialogResult TextDialogView::WaitClosed() {
  std::unique_lock<std::mutex> lock(mutex_);
  closedChanged_.wait(lock, [this] { return closed_.has_value(); });
  return *closed_;
}

std::string TextDialogView::caption() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return caption_;
}

std::string TextDialogView::cancelText() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cancelText_;
}

std::vector<std::string> TextDialogView::statusTexts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return statusTexts_;
}

ProgressModel TextDialogView::progress() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return progress_;
}

std::optional<DialogResult> TextDialogView::closed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return closed_;
}

}  // namespace update
