// The results list shared by the scan worker and the user interface.
#include "scanner/scanrun/ResultList.h"

#include "scanner/strings/ScannerStrings.h"

namespace scanner {

std::u16string ResultList::ColumnTitle(size_t column) {
  if (column >= std::size(kColumns)) return {};
  return ScannerText(kColumns[column].titleMessage);
}

size_t ResultList::AddRow(std::u16string_view object, std::u16string_view result,
                          uint32_t itemValue) {
  std::lock_guard<std::mutex> lock(mutex_);
  rows_.push_back({std::u16string(object), std::u16string(result), itemValue});
  return rows_.size() - 1;
}

std::vector<ResultRow> ResultList::Rows() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return rows_;
}

ResultRow ResultList::Row(size_t index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return index < rows_.size() ? rows_[index] : ResultRow{};
}

size_t ResultList::Count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return rows_.size();
}

void ResultList::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  rows_.clear();
}

}  // namespace scanner
