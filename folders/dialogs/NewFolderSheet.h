// The "New folder" sheet's two pages without a toolkit: contents, ranges, checks and result.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "folders/dialogs/NewFolderRequest.h"
#include "folders/dialogs/TimeoutSetting.h"
#include "platform/Prompt.h"

namespace folders {

// SheetPage: the pages in their order.
enum class SheetPage : uint8_t { Folder, Encryption };

// SizeUnit: the size unit list's entries in their order.
enum class SizeUnit : uint8_t { KB, MB };

// SizeFactor: KB per unit (1, 1024).
constexpr uint32_t SizeFactor(SizeUnit unit) {
  return unit == SizeUnit::MB ? 1024 : 1;
}

inline constexpr uint32_t kSizeStep = 32;
inline constexpr uint32_t kSizeMaximum = 65536;
inline constexpr uint32_t kSmallestFolderKb = 256;

// SizeMinimum: the spin's minimum in a unit: 256 for KB, 1 for MB.
constexpr uint32_t SizeMinimum(SizeUnit unit) {
  return unit == SizeUnit::MB ? 1 : 256;
}

// FreeSpaceQuery: the bytes free at a location prefix ("" or "\" + card), as
// LocationFreeBytes gives them; replaceable for tests.
using FreeSpaceQuery = std::function<std::optional<uint64_t>(std::u16string_view)>;

// NewFolderSheet: what both pages hold, the checks run when a page is left
// or the sheet confirmed, and the request the sheet yields. Each edit of a
// page makes its checks due again; a failed check or a page's own Cancel
// marks the page, a passing check clears the mark.
class NewFolderSheet {
 public:
  explicit NewFolderSheet(FreeSpaceQuery freeSpace = {});

  // Load: fills the location list ("Main memory" and every storage card) and
  // the folder list of the chosen location, then presets name, location and
  // folder from `initialPath` (a handheld path, may be empty): a first
  // component naming a card picks that card, the folders between it and the
  // file name pick the folder entry (added to the list when deeper than one
  // level), and the file name without ".zsf" becomes the name.
  void Load(std::u16string_view initialPath = {});

  // Folder page.
  const std::u16string& name() const { return name_; }
  void SetName(std::u16string_view name);
  uint32_t sizeValue() const { return sizeValue_; }
  // SetSizeValue: a typed value, held at most 65536; one below the unit's
  // minimum stays until the check refuses it, as an edit field beside a spin
  // control keeps what was typed.
  void SetSizeValue(uint32_t value);
  // StepSize: the spin: `steps` × 32, held between the unit's minimum and 65536.
  void StepSize(int steps);
  SizeUnit sizeUnit() const { return sizeUnit_; }
  // SetSizeUnit: the minimum changes at once and the value is held in range.
  void SetSizeUnit(SizeUnit unit);
  uint32_t sizeMinimum() const { return SizeMinimum(sizeUnit_); }
  // SizeKb: value × unit factor.
  uint32_t SizeKb() const { return sizeValue_ * SizeFactor(sizeUnit_); }
  const std::vector<std::u16string>& locations() const { return locations_; }
  size_t location() const { return location_; }
  // SetLocation: refills the folder list for that location, top chosen.
  void SetLocation(size_t index);
  const std::vector<std::u16string>& folders() const { return folders_; }
  size_t folder() const { return folder_; }
  void SetFolder(size_t index);
  // LocationPrefix: "" for main memory, else a backslash and the card's name.
  std::u16string LocationPrefix() const;
  // ContainerPath: location prefix + folder entry + a backslash when missing
  // + the name without surrounding spaces + ".zsf"; "/" become backslashes.
  std::u16string ContainerPath() const;

  // Encryption page.
  size_t cipher() const { return cipher_; }  // index into kOfferedCiphers
  void SetCipher(size_t index);
  uint16_t CipherNumber() const;
  const std::u16string& password() const { return password_; }
  void SetPassword(std::u16string_view password);
  const std::u16string& retype() const { return retype_; }
  void SetRetype(std::u16string_view retype);
  const TimeoutSetting& timeout() const { return timeout_; }
  void SetTimeout(const TimeoutSetting& setting);

  // CheckFolderPage: in order 67, 54, the path, 71 (Yes/No, No stops), 58
  // with the location's free space. Shows the first failure on `prompt`.
  bool CheckFolderPage(platform::Prompt& prompt);
  // CheckEncryptionPage: in order 55, 56 (the re-type field is cleared), 69, 70.
  bool CheckEncryptionPage(platform::Prompt& prompt);
  // LeavePage: runs the page's checks unless they passed since its last edit.
  bool LeavePage(SheetPage page, platform::Prompt& prompt);
  // ConfirmOk: the sheet's OK on `active`: leaves the active page, then the
  // other. Returns the page whose check failed (the sheet stays open on it),
  // or nullopt when the sheet may close.
  std::optional<SheetPage> ConfirmOk(SheetPage active, platform::Prompt& prompt);
  // CancelPage: a page's own "Cancel": marks it (the sheet then cancels).
  void CancelPage(SheetPage page) { Mark(page, true); }
  bool marked(SheetPage page) const { return marked_[Index(page)]; }

  // Result: when neither page is marked, the password is not empty and the
  // size is at least 256 KB, fills `request` (path, cipher, time-out, "mount
  // as" = the file's base name without extension, size, whole password) and
  // returns true; otherwise leaves it untouched.
  bool Result(NewFolderRequest& request) const;

 private:
  static size_t Index(SheetPage page) { return static_cast<size_t>(page); }
  void Mark(SheetPage page, bool failed);
  void Edited(SheetPage page) { passed_[Index(page)] = false; }
  bool Fail(SheetPage page, platform::Prompt& prompt, std::u16string_view text);

  FreeSpaceQuery freeSpace_;
  std::u16string name_;
  uint32_t sizeValue_ = kSmallestFolderKb;
  SizeUnit sizeUnit_ = SizeUnit::KB;
  std::vector<std::u16string> locations_;
  std::vector<std::u16string> cards_;
  size_t location_ = 0;
  std::vector<std::u16string> folders_;
  size_t folder_ = 0;
  size_t cipher_ = 0;
  std::u16string password_;
  std::u16string retype_;
  TimeoutSetting timeout_;
  std::array<bool, 2> marked_{};
  std::array<bool, 2> passed_{};
};

}  // namespace folders
