// The change-password dialog without a toolkit: its checks and the re-keying's messages.
#pragma once

#include <cstdint>
#include <string_view>

#include "folders/volumes/VolumeRecord.h"
#include "platform/Prompt.h"

namespace folders {

// PasswordCheck: what OK found; the view clears the fields it names.
enum class PasswordCheck : uint8_t {
  Ok,           // the dialog closes and the container is re-keyed
  OldInvalid,   // "Old password is invalid!" (57): the old field is cleared
  Differ,       // "Two passwords are not same. Try again." (56): both new fields cleared
  NewRequired,  // "A new password is required." (91): an empty password never reaches the ciphers
};

// CheckPasswordChange: the checks of OK in order 57, 56, 91; shows the
// failure on `prompt`.
PasswordCheck CheckPasswordChange(const VolumeRecord& record, std::u16string_view oldPassword,
                                  std::u16string_view newPassword, std::u16string_view retyped,
                                  platform::Prompt& prompt);

// PasswordChangeMessage: the string number of a ChangeContainerPassword
// result: -1 → 51, -2 → 52, -4 → 90, -5 → 91, -3 and any other failure →
// 83 "Cannot find specified file."; 0 for success.
uint32_t PasswordChangeMessage(int result);

// ReportPasswordChange: shows the result's message (nothing for 0).
void ReportPasswordChange(int result, platform::Prompt& prompt);

}  // namespace folders
