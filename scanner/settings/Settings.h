// The scanner's options in the device registry, and the Infected folder they name.
#pragma once

#include <string>

#include "scanner/scanrun/Scanner.h"

namespace scanner {

// kSettingsKey: the options' key below HKEY_CURRENT_USER of the device registry.
inline constexpr char16_t kSettingsKey[] = u"Software\\Quillmark Lab\\ZEP PPC";

// Value names of the options.
inline constexpr char16_t kFlagsValue[] = u"Flags";
inline constexpr char16_t kReportValue[] = u"Report";
inline constexpr char16_t kInfectedValue[] = u"Infected";
inline constexpr char16_t kBasesValue[] = u"Bases";
inline constexpr char16_t kMaskValue[] = u"Mask";
inline constexpr char16_t kExcludeValue[] = u"Exclude";

// kInstallFolder: the program's folder on the device when the program runs
// from a host folder outside the device root (a build tree, an installed
// package): a fixed folder inside the device, created when needed.
inline constexpr char16_t kInstallFolder[] = u"\\Program Files\\ZEP PPC\\";

// ProgramDeviceFolder: the handheld path of the running program's folder,
// ending in a backslash: its place below the device root (or a mount) when
// it runs from there, else kInstallFolder, which is created when missing.
std::u16string ProgramDeviceFolder();

// LoadSettings: reads the six values into the scanner. A missing value, one
// of another type or one longer than its field leaves the member as it was,
// except that "Infected" and "Bases" then take their defaults below the
// program's folder. Afterwards "Infected" and "Bases" are converted to the
// walker's letter case. Returns 0 when the key can neither be opened nor
// created (the members stay as they were, "Infected" and "Bases" take their
// defaults), else 1.
int LoadSettings(Scanner& scanner);

// SaveSettings: writes the six values ("Flags" as a 4-byte number, the texts
// with their terminator). Returns 0 when the key can neither be opened nor
// created or a value cannot be written, else 1.
int SaveSettings(const Scanner& scanner);

// EnsureInfectedFolder: strips the trailing separators of infectedPath
// (keeping one character), creates the folder (an existing folder counts as
// created, a file of that name does not) and appends one backslash again. On
// failure clears the Copy to Infected flag and returns false; an empty path
// fails and stays empty.
bool EnsureInfectedFolder(Scanner& scanner);

}  // namespace scanner
