// The notice's countdown and its end.
#include "conduit/dialogs/NoticeDialog.h"

#include "platform/Text.h"

namespace conduit {

namespace {

// Field: the text as a fixed field of `size` characters holds it.
std::string Field(std::string_view text, size_t size) {
  std::string field(size, '\0');
  const size_t n = platform::CopyToField(field.data(), size, text);
  field.resize(n);
  return field;
}

}  // namespace

NoticeDialog::NoticeDialog(std::string_view caption, std::string_view text, int32_t countdown)
    : caption_(Field(caption, kCaptionSize)), text_(Field(text, kTextSize)), start_(countdown) {}

void NoticeDialog::OnInitDialog() {
  if (start_ >= 0) countdown_.Start(start_);
}

void NoticeDialog::OnTimer() {
  if (countdown_.Tick()) end_ = DialogEnd::Ok;
}

void NoticeDialog::OnMouseButton() {
  countdown_.Stop();
}

}  // namespace conduit
