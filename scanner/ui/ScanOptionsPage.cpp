// The scan options page's load and apply steps.
#include "scanner/ui/ScanOptionsPage.h"

#include "platform/Text.h"
#include "scanner/startup/ScannerApp.h"
#include "scanner/ui/PageResult.h"

namespace scanner {

void ScanOptionsPage::Load(const Scanner& scanner) {
  const uint32_t flags = scanner.flags;
  if (flags & kScanUserMask)
    choice = FileChoice::kUserMask;
  else if (flags & kScanOnlyPrograms)
    choice = FileChoice::kPrograms;
  else
    choice = FileChoice::kAllFiles;
  userMask = std::u16string(platform::FieldText(scanner.userMask));
  exclude = (flags & kScanExcludeMask) != 0;
  excludeMask = std::u16string(platform::FieldText(scanner.excludeMask));
  romFiles = (flags & kScanRomFiles) != 0;
  databases = (flags & kScanDatabases) != 0;
  cards = (flags & kScanCards) != 0;
}

uint32_t ScanOptionsPage::Bits() const {
  uint32_t bits = 0;
  switch (choice) {
    case FileChoice::kAllFiles:
      bits |= kScanAllFiles;
      break;
    case FileChoice::kPrograms:
      bits |= kScanOnlyPrograms;
      break;
    case FileChoice::kUserMask:
      bits |= kScanUserMask;
      break;
  }
  if (exclude) bits |= kScanExcludeMask;
  if (romFiles) bits |= kScanRomFiles;
  if (databases) bits |= kScanDatabases;
  if (cards) bits |= kScanCards;
  return bits;
}

int ScanOptionsPage::Apply(Scanner& scanner, platform::Prompt& prompt) {
  userMask = std::u16string(platform::Trim(userMask));
  excludeMask = std::u16string(platform::Trim(excludeMask));
  if (choice == FileChoice::kUserMask && userMask.empty()) {
    ShowNumberedMessage(prompt, kMsgUserMaskEmpty, kErrorBox);
    return kApplyInvalid;
  }
  if (exclude && excludeMask.empty()) {
    ShowNumberedMessage(prompt, kMsgExcludeMaskEmpty, kErrorBox);
    return kApplyInvalid;
  }
  scanner.flags = (scanner.flags & ~uint32_t{0xFF}) | Bits();
  platform::CopyToField(scanner.userMask, userMask);
  platform::CopyToField(scanner.excludeMask, excludeMask);
  return kApplied;
}

}  // namespace scanner
