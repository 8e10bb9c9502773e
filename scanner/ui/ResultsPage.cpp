// The results page's fields as the run reports.
#include "scanner/ui/ResultsPage.h"

#include <string>

#include "platform/Text.h"
#include "scanner/scanrun/ScanObserver.h"

namespace scanner {
namespace {

std::u16string Number(int32_t value) {
  return platform::Utf8ToUtf16(std::to_string(value));
}

}  // namespace

bool ResultsPage::OnState(uint32_t newState, uint32_t oldState) {
  if (newState == kRunning && oldState == kIdle) {
    for (std::u16string& f : fields) f = std::u16string(1, u'0');
    return true;
  }
  if (newState == kIdle) status.clear();
  return false;
}

void ResultsPage::OnProgress(const Scanner& scanner, uint32_t first) {
  const uint32_t kind = first >> 16;
  const uint32_t event = first & 0xFFFF;
  if (event == kEventHandled) {
    Field(ResultField::kViruses) = Number(scanner.virusesFound);
    Field(ResultField::kMoved) = Number(scanner.moved);
    Field(ResultField::kDeleted) = Number(scanner.deleted);
  } else if (event == kEventError) {
    Field(ResultField::kErrors) = Number(scanner.errors);
  }
  switch (kind) {
    case kKindFile:
      Field(ResultField::kFiles) = Number(scanner.files);
      break;
    case kKindDatabase:
      Field(ResultField::kDBases) = Number(scanner.dbases);
      break;
    case kKindCard:
      Field(ResultField::kCards) = Number(scanner.cards);
      break;
    case kKindFolder:
      Field(ResultField::kFolders) = Number(scanner.folders);
      break;
    default:
      break;
  }
}

}  // namespace scanner
