// The change-password dialog's checks and messages.
#include "folders/dialogs/PasswordForm.h"

#include "folders/container/CipherLibrary.h"
#include "folders/container/Container.h"
#include "folders/dialogs/DialogMessage.h"
#include "folders/strings/FoldersStrings.h"

namespace folders {

PasswordCheck CheckPasswordChange(const VolumeRecord& record, std::u16string_view oldPassword,
                                  std::u16string_view newPassword, std::u16string_view retyped,
                                  platform::Prompt& prompt) {
  const uint32_t flags = platform::MB_OK | platform::MB_ICONEXCLAMATION;
  if (!VerifyPassword(record, oldPassword)) {
    ShowFoldersString(prompt, kIdsOldPasswordInvalid, flags);
    return PasswordCheck::OldInvalid;
  }
  if (newPassword != retyped) {
    ShowFoldersString(prompt, kIdsPasswordsDiffer, flags);
    return PasswordCheck::Differ;
  }
  if (newPassword.empty()) {
    ShowFoldersString(prompt, kIdsNewPasswordRequired, flags);
    return PasswordCheck::NewRequired;
  }
  return PasswordCheck::Ok;
}

uint32_t PasswordChangeMessage(int result) {
  switch (result) {
    case kCipherLibraryMissing:
      return kIdsNoCipherLibrary;
    case kCipherNotSupported:
      return kIdsCipherNotSupported;
    case kCannotOpenFile:
      return kIdsCannotFindFile;
    case kNotEnoughRoom:
      return kIdsNoRoomForPasswordChange;
    case kEmptyPassword:
      return kIdsNewPasswordRequired;
    default:
      return result == 0 ? 0u : uint32_t{kIdsCannotFindFile};
  }
}

void ReportPasswordChange(int result, platform::Prompt& prompt) {
  if (result == 0) return;
  if (const uint32_t id = PasswordChangeMessage(result)) ShowFoldersString(prompt, id);
}

}  // namespace folders
