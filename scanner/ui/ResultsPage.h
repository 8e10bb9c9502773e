// The results page without a toolkit: its number fields and status line on the run's messages.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "scanner/scanrun/Scanner.h"

namespace scanner {

// ResultField: the number fields in the page's order.
enum class ResultField : size_t {
  kFiles,
  kDBases,
  kFolders,
  kCards,
  kViruses,
  kErrors,
  kMoved,
  kDeleted,
  kCount
};
inline constexpr size_t kResultFieldCount = static_cast<size_t>(ResultField::kCount);

// ResultFieldInfo: a field's label (message number) and number field (control).
struct ResultFieldInfo {
  ResultField field;
  uint32_t labelMessage;
  int numberControl;
};
inline constexpr std::array<ResultFieldInfo, kResultFieldCount> kResultFields = {{
    {ResultField::kFiles, 52, 1021},
    {ResultField::kDBases, 53, 1022},
    {ResultField::kFolders, 54, 1023},
    {ResultField::kCards, 55, 1024},
    {ResultField::kViruses, 56, 1025},
    {ResultField::kErrors, 58, 1028},
    {ResultField::kMoved, 57, 1030},
    {ResultField::kDeleted, 59, 1031},
}};
static_assert(kResultFields.size() == kResultFieldCount);

// Other controls of the page.
inline constexpr int kCtlResultList = 1010;
inline constexpr int kCtlStatusLine = 1012;
inline constexpr uint32_t kMsgScannedLabel = 51;

// ResultsPage: the texts the page shows. Its calls come on the window's
// thread while the worker waits in its observer call, so the scanner's
// counters are read safely.
struct ResultsPage {
  std::array<std::u16string, kResultFieldCount> fields{u"0", u"0", u"0", u"0",
                                                       u"0", u"0", u"0", u"0"};
  std::u16string status;

  std::u16string& Field(ResultField f) { return fields[static_cast<size_t>(f)]; }
  const std::u16string& Field(ResultField f) const { return fields[static_cast<size_t>(f)]; }

  // OnState: Running from Idle shows "0" in every field and returns true:
  // the list is to be emptied; Idle empties the status line. Else false.
  bool OnState(uint32_t newState, uint32_t oldState);

  // OnProgress: refreshes the fields of the reported kind and event from the
  // scanner (event 2: viruses, moved, deleted; event 0x63: errors; kind 1
  // files, 2 databases, 3 cards, 5 folders).
  void OnProgress(const Scanner& scanner, uint32_t first);

  // OnStatusText: the object being scanned.
  void OnStatusText(std::u16string_view text) { status = text; }
};

}  // namespace scanner
