// The report and actions page's load and apply steps.
#include "scanner/ui/ReportPage.h"

#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/Text.h"
#include "scanner/settings/Settings.h"
#include "scanner/startup/ScannerApp.h"
#include "scanner/ui/PageResult.h"

namespace scanner {
namespace {

constexpr uint32_t kReportBits = 0xFF00;
constexpr uint32_t kErrorInvalidName = 123;

bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

// ReportFileUsable: the report file can be named here: a name that fits its
// field and whose folder exists. A missing file is fine, the run creates it.
bool ReportFileUsable(std::u16string_view path) {
  if (path.empty() || path.size() >= kPathChars) return false;
  const platform::FilePath resolved = platform::ResolveDevicePath(path);
  platform::File file;
  const uint32_t rc = file.Open(resolved, platform::GENERIC_WRITE,
                                platform::FILE_SHARE_READ | platform::FILE_SHARE_WRITE,
                                platform::Disposition::OpenExisting);
  return rc != platform::ERROR_PATH_NOT_FOUND && rc != kErrorInvalidName;
}

}  // namespace

std::u16string FormInfectedPath(std::u16string_view text) {
  if (text.empty()) return {};
  std::u16string formed;
  if (!IsSeparator(text.front())) formed += u'\\';
  formed += text;
  if (!IsSeparator(formed.back())) formed += u'\\';
  return formed;
}

void ReportPage::Load(const Scanner& scanner) {
  const uint32_t flags = scanner.flags;
  createReport = (flags & kCreateReport) != 0;
  append = (flags & kAppendReport) != 0;
  reportPath = std::u16string(platform::FieldText(scanner.reportPath));
  copyToInfected = (flags & kCopyToInfected) != 0;
  infectedPath = std::u16string(platform::FieldText(scanner.infectedPath));
  askUser = (flags & kAskUser) != 0;
  deleteInfected = (flags & kDeleteInfected) != 0;
}

int ReportPage::Apply(Scanner& scanner, platform::Prompt& prompt) {
  const std::u16string formed = FormInfectedPath(infectedPath);
  // A path longer than its field would be stored cut, naming another folder.
  const bool fits = formed.size() < kPathChars;
  if (fits) platform::CopyToField(scanner.infectedPath, formed);
  if (copyToInfected) {
    if (!fits || !EnsureInfectedFolder(scanner)) {
      ShowNumberedMessage(prompt, kMsgInfectedPathInvalid, kErrorBox);
      copyToInfected = false;
    }
  }
  infectedPath = fits ? std::u16string(platform::FieldText(scanner.infectedPath)) : formed;

  uint32_t bits = 0;
  if (createReport) bits |= kCreateReport;
  if (append) bits |= kAppendReport;
  if (copyToInfected) bits |= kCopyToInfected;
  if (deleteInfected) bits |= kDeleteInfected;
  if (askUser) bits |= kAskUser;
  scanner.flags = (scanner.flags & ~kReportBits) | bits;

  if (!ReportFileUsable(reportPath)) {
    ShowNumberedMessage(prompt, kMsgCannotOpenReportFile, kErrorBox);
    return kApplyInvalid;
  }
  platform::CopyToField(scanner.reportPath, reportPath);
  return kApplied;
}

}  // namespace scanner
