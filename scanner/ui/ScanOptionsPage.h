// The scan options page without a toolkit: its controls, their enabling and the apply step.
#pragma once

#include <string>

#include "platform/Prompt.h"
#include "scanner/scanrun/Scanner.h"

namespace scanner {

// Control numbers of the scan options page.
enum ScanOptionsControl : int {
  kCtlScanAllFiles = 1015,
  kCtlScanPrograms = 1016,
  kCtlScanUserMask = 1017,
  kCtlUserMaskEdit = 1018,
  kCtlExcludeCheck = 1011,
  kCtlExcludeEdit = 1019,
  kCtlScanRom = 1020,
  kCtlScanDatabases = 1009,
  kCtlScanCards = 1000,
};

// FileChoice: the three radio buttons, exactly one chosen.
enum class FileChoice { kAllFiles, kPrograms, kUserMask };

// ScanOptionsPage: what the page's controls hold.
struct ScanOptionsPage {
  FileChoice choice = FileChoice::kAllFiles;
  std::u16string userMask;
  bool exclude = false;
  std::u16string excludeMask;
  bool romFiles = false;
  bool databases = false;
  bool cards = false;

  // Load: the controls from the scanner's flags and masks.
  void Load(const Scanner& scanner);

  // UserMaskEnabled / ExcludeMaskEnabled: the mask edits follow their choice.
  bool UserMaskEnabled() const { return choice == FileChoice::kUserMask; }
  bool ExcludeMaskEnabled() const { return exclude; }

  // Bits: the low eight flag bits the controls stand for.
  uint32_t Bits() const;

  // Apply: trims both masks (the edits show the trimmed texts); an empty
  // mask that is in use shows message 100 or 101 and returns kApplyInvalid
  // with the scanner unchanged. Otherwise replaces the low eight bits of the
  // flags and stores both masks (cut to their fields); returns kApplied.
  int Apply(Scanner& scanner, platform::Prompt& prompt);
};

}  // namespace scanner
