// The "New folder" sheet's contents, checks and result.
#include "folders/dialogs/NewFolderSheet.h"

#include <algorithm>

#include "folders/dialogs/DialogMessage.h"
#include "folders/dialogs/FolderLocations.h"
#include "folders/dialogs/MountForm.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/volumes/CipherNames.h"
#include "folders/volumes/VolumeList.h"
#include "platform/DevicePath.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace folders {
namespace {

// Texts of this program where the handheld original has none: it let such
// paths through to creation, which truncated or replaced them.
constexpr char16_t kPathTooLong[] = u"The path is too long.";
constexpr char16_t kFolderMounted[] = u"This folder is mounted.\nUnmount it first.";

constexpr char16_t kExtension[] = u".zsf";

std::u16string Backslashed(std::u16string text) {
  std::replace(text.begin(), text.end(), u'/', u'\\');
  return text;
}

bool EndsWithIgnoreCase(std::u16string_view text, std::u16string_view tail) {
  return text.size() >= tail.size() &&
         platform::EqualsIgnoreCase(text.substr(text.size() - tail.size()), tail);
}

}  // namespace

NewFolderSheet::NewFolderSheet(FreeSpaceQuery freeSpace)
    : freeSpace_(freeSpace ? std::move(freeSpace) : FreeSpaceQuery(LocationFreeBytes)) {}

void NewFolderSheet::Load(std::u16string_view initialPath) {
  cards_ = StorageCards();
  locations_ = {FoldersText(kIdsMainMemory)};
  locations_.insert(locations_.end(), cards_.begin(), cards_.end());
  SetLocation(0);
  if (initialPath.empty()) return;

  std::u16string path = Backslashed(std::u16string(initialPath));
  if (!path.empty() && path.front() != u'\\') path.insert(path.begin(), u'\\');
  const size_t slash = path.find_last_of(u'\\');
  std::u16string_view file = std::u16string_view(path).substr(slash + 1);
  if (EndsWithIgnoreCase(file, kExtension)) file.remove_suffix(4);
  name_ = std::u16string(file);
  std::u16string folder = path.substr(0, slash);  // "" or "\a\b"
  if (folder.empty()) return;

  // A first component naming a card selects the card.
  const size_t second = folder.find(u'\\', 1);
  const std::u16string_view first =
      std::u16string_view(folder).substr(1, second == std::u16string::npos ? second : second - 1);
  for (size_t i = 0; i < cards_.size(); ++i) {
    if (platform::EqualsIgnoreCase(cards_[i], first)) {
      SetLocation(i + 1);
      folder = second == std::u16string::npos ? u"" : folder.substr(second);
      break;
    }
  }
  if (folder.empty()) return;
  auto found = std::find_if(folders_.begin(), folders_.end(), [&](const std::u16string& f) {
    return platform::EqualsIgnoreCase(f, folder);
  });
  if (found == folders_.end()) found = folders_.insert(folders_.end(), folder);
  folder_ = static_cast<size_t>(found - folders_.begin());
}

void NewFolderSheet::SetName(std::u16string_view name) {
  name_ = name;
  Edited(SheetPage::Folder);
}

void NewFolderSheet::SetSizeValue(uint32_t value) {
  sizeValue_ = std::min(value, kSizeMaximum);
  Edited(SheetPage::Folder);
}

void NewFolderSheet::StepSize(int steps) {
  const int64_t stepped = int64_t{sizeValue_} + int64_t{steps} * kSizeStep;
  sizeValue_ = static_cast<uint32_t>(std::clamp<int64_t>(stepped, sizeMinimum(), kSizeMaximum));
  Edited(SheetPage::Folder);
}

void NewFolderSheet::SetSizeUnit(SizeUnit unit) {
  sizeUnit_ = unit;
  sizeValue_ = std::clamp(sizeValue_, sizeMinimum(), kSizeMaximum);
  Edited(SheetPage::Folder);
}

void NewFolderSheet::SetLocation(size_t index) {
  location_ = index < locations_.size() ? index : 0;
  folders_ = FolderChoices(LocationPrefix());
  folder_ = 0;
  Edited(SheetPage::Folder);
}

void NewFolderSheet::SetFolder(size_t index) {
  folder_ = index < folders_.size() ? index : 0;
  Edited(SheetPage::Folder);
}

std::u16string NewFolderSheet::LocationPrefix() const {
  if (location_ == 0 || location_ > cards_.size()) return {};
  return u"\\" + cards_[location_ - 1];
}

std::u16string NewFolderSheet::ContainerPath() const {
  std::u16string path = LocationPrefix();
  path += folder_ < folders_.size() ? folders_[folder_] : u"\\";
  if (path.back() != u'\\') path += u'\\';
  path += platform::Trim(name_);
  path += kExtension;
  return Backslashed(std::move(path));
}

void NewFolderSheet::SetCipher(size_t index) {
  cipher_ = index < std::size(kOfferedCiphers) ? index : 0;
  Edited(SheetPage::Encryption);
}

uint16_t NewFolderSheet::CipherNumber() const {
  return kOfferedCiphers[cipher_];
}

void NewFolderSheet::SetPassword(std::u16string_view password) {
  password_ = password;
  Edited(SheetPage::Encryption);
}

void NewFolderSheet::SetRetype(std::u16string_view retype) {
  retype_ = retype;
  Edited(SheetPage::Encryption);
}

void NewFolderSheet::SetTimeout(const TimeoutSetting& setting) {
  timeout_ = setting;
  Edited(SheetPage::Encryption);
}

void NewFolderSheet::Mark(SheetPage page, bool failed) {
  marked_[Index(page)] = failed;
  passed_[Index(page)] = !failed;
}

bool NewFolderSheet::Fail(SheetPage page, platform::Prompt& prompt, std::u16string_view text) {
  if (!text.empty())
    ShowFoldersMessage(prompt, text, platform::MB_OK | platform::MB_ICONEXCLAMATION);
  Mark(page, true);
  return false;
}

bool NewFolderSheet::CheckFolderPage(platform::Prompt& prompt) {
  constexpr SheetPage page = SheetPage::Folder;
  const uint32_t sizeKb = SizeKb();
  if (sizeKb < kSmallestFolderKb) return Fail(page, prompt, FoldersText(kIdsSizeTooSmall));
  if (platform::Trim(name_).empty()) return Fail(page, prompt, FoldersText(kIdsNameRequired));

  const std::u16string path = ContainerPath();
  if (path.size() >= kPathChars) return Fail(page, prompt, kPathTooLong);
  const platform::FilePath file = platform::ResolveDevicePath(path);
  if (platform::GetFileAttributes(file) != platform::INVALID_FILE_ATTRIBUTES) {
    // Replacing a mounted folder's container would cut the file from under
    // the driver, which goes on writing sectors into it.
    VolumeRecord listed{};
    if (FindVolumeEntry(listed, path) != kNoEntry && listed.deviceHandle != 0)
      return Fail(page, prompt, kFolderMounted);
    const int answer =
        ShowFoldersString(prompt, kIdsConfirmOverwrite,
                          platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2);
    if (answer != platform::IDYES) return Fail(page, prompt, {});
  }
  const std::optional<uint64_t> freeBytes = freeSpace_(LocationPrefix());
  if (freeBytes.value_or(0) <= uint64_t{sizeKb} * 1024)
    return Fail(page, prompt, FoldersText(kIdsNoFreeSpace));
  Mark(page, false);
  return true;
}

bool NewFolderSheet::CheckEncryptionPage(platform::Prompt& prompt) {
  constexpr SheetPage page = SheetPage::Encryption;
  if (password_.empty()) return Fail(page, prompt, FoldersText(kIdsPasswordRequired));
  if (password_ != retype_) {
    retype_.clear();
    return Fail(page, prompt, FoldersText(kIdsPasswordsDiffer));
  }
  if (!CheckTimeout(timeout_, prompt)) return Fail(page, prompt, {});
  Mark(page, false);
  return true;
}

bool NewFolderSheet::LeavePage(SheetPage page, platform::Prompt& prompt) {
  if (passed_[Index(page)]) return true;
  return page == SheetPage::Folder ? CheckFolderPage(prompt) : CheckEncryptionPage(prompt);
}

std::optional<SheetPage> NewFolderSheet::ConfirmOk(SheetPage active, platform::Prompt& prompt) {
  const SheetPage other = active == SheetPage::Folder ? SheetPage::Encryption : SheetPage::Folder;
  for (SheetPage page : {active, other}) {
    if (!LeavePage(page, prompt)) return page;
  }
  return std::nullopt;
}

bool NewFolderSheet::Result(NewFolderRequest& request) const {
  if (marked(SheetPage::Folder) || marked(SheetPage::Encryption)) return false;
  if (password_.empty() || SizeKb() < kSmallestFolderKb) return false;
  NewFolderRequest made;
  const std::u16string path = ContainerPath();
  platform::CopyToField(made.record.path, path);
  platform::CopyToField(made.record.mountName, FileBaseName(path));
  made.record.algorithm = CipherNumber();
  made.record.timeoutSeconds = static_cast<uint32_t>(timeout_.Seconds());
  made.sizeKb = SizeKb();
  made.password = password_;
  request = std::move(made);
  return true;
}

}  // namespace folders
