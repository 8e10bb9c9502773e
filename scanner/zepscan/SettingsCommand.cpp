// Showing and changing the scanner's stored options from the command line.
#include "scanner/zepscan/SettingsCommand.h"

#include <charconv>
#include <cstdio>
#include <ostream>

#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/Text.h"
#include "scanner/scanrun/Scanner.h"
#include "scanner/settings/Settings.h"
#include "scanner/startup/ScannerApp.h"
#include "scanner/strings/ScannerStrings.h"
#include "scanner/zepscan/StopRequest.h"
#include "scanner/zepscan/ZepscanCommand.h"

namespace zepscan {
namespace {

using scanner::Scanner;

// Messages of the settings pages and the Apply button.
constexpr uint32_t kMsgCannotApplyRunning = 93;
constexpr uint32_t kMsgUserMaskEmpty = 100;
constexpr uint32_t kMsgExcludeMaskEmpty = 101;

// The bits the two pages own; the rest of the low 16 bits (0x80, 0x800,
// 0x4000, 0x8000) is cleared by an apply.
constexpr uint32_t kScanPageBits = 0x7F;
constexpr uint32_t kReportPageBits = 0x3700;
constexpr uint32_t kPageRange = 0xFFFF;

// FlagName: the option bits with their settings texts.
struct FlagName {
  uint32_t bit;
  uint32_t message;
};
constexpr FlagName kFlagNames[] = {
    {scanner::kScanAllFiles, 10},    {scanner::kScanOnlyPrograms, 11}, {scanner::kScanUserMask, 12},
    {scanner::kScanExcludeMask, 13}, {scanner::kScanRomFiles, 14},     {scanner::kScanCards, 16},
    {scanner::kScanDatabases, 15},   {scanner::kCreateReport, 30},     {scanner::kAppendReport, 31},
    {scanner::kCopyToInfected, 33},  {scanner::kDeleteInfected, 35},   {scanner::kAskUser, 34},
};

std::string Utf8(std::u16string_view text) {
  return platform::Utf16ToUtf8(text);
}

std::string Hex(uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

// ControlText: a settings text as its control shows it ("&&" is one "&").
std::string ControlText(uint32_t id) {
  std::string text = Utf8(scanner::ScannerText(id));
  for (size_t at = text.find("&&"); at != std::string::npos; at = text.find("&&", at + 1))
    text.erase(at, 1);
  return text;
}

void PrintSettings(const Scanner& s, std::ostream& out) {
  out << "Flags\t" << Hex(s.flags, 8) << " (" << FlagNames(s.flags) << ")\n"
      << "Report\t" << Utf8(platform::FieldText(s.reportPath)) << '\n'
      << "Infected\t" << Utf8(platform::FieldText(s.infectedPath)) << '\n'
      << "Bases\t" << Utf8(platform::FieldText(s.szBasePath)) << '\n'
      << "Mask\t" << Utf8(platform::FieldText(s.userMask)) << '\n'
      << "Exclude\t" << Utf8(platform::FieldText(s.excludeMask)) << '\n'
      << std::flush;
}

// LanguageScope: the scanner's language module for the messages of one
// command, released at its end.
struct LanguageScope {
  LanguageScope() { scanner::ScannerStrings().LoadLanguage(scanner::kScannerLanguageModule); }
  ~LanguageScope() { scanner::ScannerStrings().UnloadLanguage(); }
};

// Edits: the values named on the command line, as typed.
struct Edits {
  std::optional<uint32_t> flags;
  std::optional<std::u16string> report, infected, bases, mask, exclude;
};

// Fits: whether a text can be stored and read back; complains on err if not.
bool Fits(std::string_view name, std::u16string_view text, size_t limit, std::ostream& err) {
  if (text.size() <= limit) return true;
  err << "zepscan: " << name << " holds at most " << limit << " characters\n";
  return false;
}

// ReadEdits: the assignments into `edits`; false after a complaint on err.
bool ReadEdits(const std::vector<std::string>& assignments, Edits& edits, std::ostream& err) {
  for (const std::string& assignment : assignments) {
    const size_t equals = assignment.find('=');
    if (equals == std::string::npos) {
      err << "zepscan: --set " << assignment << ": expected NAME=VALUE\n";
      return false;
    }
    const std::string_view name = std::string_view(assignment).substr(0, equals);
    const std::string_view value = std::string_view(assignment).substr(equals + 1);
    const std::u16string text = platform::Utf8ToUtf16(value);
    if (platform::EqualsIgnoreCase(name, "Flags")) {
      edits.flags = ParseFlagsValue(value);
      if (!edits.flags) {
        err << "zepscan: Flags: " << value << " is not a number (0x2361 or 9057)\n";
        return false;
      }
    } else if (platform::EqualsIgnoreCase(name, "Report")) {
      edits.report = text;
    } else if (platform::EqualsIgnoreCase(name, "Infected")) {
      edits.infected = text;
    } else if (platform::EqualsIgnoreCase(name, "Bases")) {
      edits.bases = text;
    } else if (platform::EqualsIgnoreCase(name, "Mask")) {
      edits.mask = text;
    } else if (platform::EqualsIgnoreCase(name, "Exclude")) {
      edits.exclude = text;
    } else {
      err << "zepscan: unknown setting " << name
          << " (Flags, Report, Infected, Bases, Mask or Exclude)\n";
      return false;
    }
  }
  return true;
}

// ReportFileUsable: the report page's test: the name is opened for writing
// as an existing file; only an invalid name or a missing folder fails it.
bool ReportFileUsable(std::u16string_view reportPath) {
  if (reportPath.empty()) return false;
  platform::File file;
  const uint32_t opened = file.Open(
      platform::ResolveDevicePath(reportPath), platform::GENERIC_WRITE,
      platform::FILE_SHARE_READ | platform::FILE_SHARE_WRITE, platform::Disposition::OpenExisting);
  return opened != platform::ERROR_PATH_NOT_FOUND && opened != platform::ERROR_INVALID_NAME;
}

void ShowError(platform::Prompt& prompt, uint32_t message) {
  scanner::ShowNumberedMessage(prompt, message, platform::MB_OK | platform::MB_ICONERROR);
}

int Refuse(platform::Prompt& prompt, uint32_t message) {
  ShowError(prompt, message);
  return kExitError;
}

}  // namespace

std::optional<uint32_t> ParseFlagsValue(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  uint32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string FlagNames(uint32_t flags) {
  std::string names;
  for (uint32_t bit = 1; bit != 0; bit <<= 1) {
    if (!(flags & bit)) continue;
    std::string name = Hex(bit, 0);
    for (const FlagName& f : kFlagNames)
      if (f.bit == bit) name = ControlText(f.message);
    names += (names.empty() ? "" : ", ") + name;
  }
  return names;
}

std::u16string FormInfectedPath(std::u16string_view typed) {
  std::u16string path(typed);
  const auto isSeparator = [](char16_t c) { return c == u'\\' || c == u'/'; };
  if (path.empty() || !isSeparator(path.front())) path.insert(path.begin(), u'\\');
  if (!isSeparator(path.back())) path.push_back(u'\\');
  return path;
}

int ShowSettings(std::ostream& out) {
  Scanner s;
  scanner::LoadSettings(s);
  PrintSettings(s, out);
  return kExitClean;
}

int ChangeSettings(const std::vector<std::string>& assignments, platform::Prompt& prompt,
                   std::ostream& out, std::ostream& err) {
  LanguageScope language;
  // A running scan saves its own settings at its end, over these.
  if (ScanIsRunning()) return Refuse(prompt, kMsgCannotApplyRunning);
  Edits edits;
  if (!ReadEdits(assignments, edits, err)) return kExitError;

  Scanner s;
  scanner::LoadSettings(s);
  uint32_t flags = edits.flags.value_or(s.flags);
  if (edits.flags) {
    const uint32_t choice =
        flags & (scanner::kScanAllFiles | scanner::kScanOnlyPrograms | scanner::kScanUserMask);
    if (choice == 0 || (choice & (choice - 1)) != 0) {
      err << "zepscan: Flags must hold exactly one of 0x1, 0x2 and 0x4\n";
      return kExitError;
    }
  }

  // The scan options page.
  const std::u16string mask(platform::Trim(edits.mask ? std::u16string_view(*edits.mask)
                                                      : platform::FieldText(s.userMask)));
  const std::u16string exclude(platform::Trim(edits.exclude ? std::u16string_view(*edits.exclude)
                                                            : platform::FieldText(s.excludeMask)));
  if (!Fits("Mask", mask, kMaxMaskValueChars, err) ||
      !Fits("Exclude", exclude, kMaxMaskValueChars, err))
    return kExitError;
  if ((flags & scanner::kScanUserMask) && mask.empty()) return Refuse(prompt, kMsgUserMaskEmpty);
  if ((flags & scanner::kScanExcludeMask) && exclude.empty())
    return Refuse(prompt, kMsgExcludeMaskEmpty);
  flags &= ~kPageRange | kScanPageBits | kReportPageBits;
  platform::CopyToField(s.userMask, mask);
  platform::CopyToField(s.excludeMask, exclude);

  // The report and actions page.
  const std::u16string_view typedInfected =
      edits.infected ? std::u16string_view(*edits.infected) : platform::FieldText(s.infectedPath);
  if (typedInfected.empty()) return Refuse(prompt, scanner::kMsgInfectedInvalid);
  const std::u16string infected = FormInfectedPath(typedInfected);
  if (!Fits("Infected", infected, kMaxPathValueChars, err)) return kExitError;
  platform::CopyToField(s.infectedPath, infected);
  s.flags = flags;
  // As on the page, a folder that cannot be made switches Copy off after its
  // message and the apply goes on.
  if ((flags & scanner::kCopyToInfected) && !scanner::EnsureInfectedFolder(s))
    ShowError(prompt, scanner::kMsgInfectedInvalid);
  const std::u16string report =
      edits.report ? *edits.report : std::u16string(platform::FieldText(s.reportPath));
  if (!Fits("Report", report, kMaxPathValueChars, err)) return kExitError;
  if (!ReportFileUsable(report)) return Refuse(prompt, scanner::kMsgCannotOpenReport);
  platform::CopyToField(s.reportPath, report);

  // The base folder has no page; it is kept as a folder name ending in a
  // backslash, since the base's name is appended to it as it stands.
  if (edits.bases) {
    std::u16string bases = *edits.bases;
    if (bases.empty() || (bases.back() != u'\\' && bases.back() != u'/')) bases.push_back(u'\\');
    if (!Fits("Bases", bases, kMaxPathValueChars, err)) return kExitError;
    platform::CopyToField(s.szBasePath, bases);
  }

  if (scanner::SaveSettings(s) != 1) {
    err << "zepscan: the settings cannot be saved\n";
    return kExitError;
  }
  PrintSettings(s, out);
  return kExitClean;
}

}  // namespace zepscan
