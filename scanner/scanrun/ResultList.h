// The results page's two-column list as the scan run fills it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace scanner {

// ResultRow: one row: the object, the result and the row's item value.
struct ResultRow {
  std::u16string object;
  std::u16string result;
  uint32_t itemValue = 1;
};

// ResultColumn: a column's title (a message number) and width in pixels.
struct ResultColumn {
  uint32_t titleMessage;
  int width;
};

// ResultList: the rows of the results list. The worker adds rows while the
// user-interface thread reads them, so every member is safe to call from
// both.
class ResultList {
 public:
  // kColumns: "Object" (62) and "Result" (63), 140 pixels each.
  static constexpr ResultColumn kColumns[2] = {{62, 140}, {63, 140}};

  // ColumnTitle: the title text of column 0 or 1; empty for another index.
  static std::u16string ColumnTitle(size_t column);

  // AddRow: appends a row; returns its index.
  size_t AddRow(std::u16string_view object, std::u16string_view result, uint32_t itemValue = 1);

  // Rows: a copy of every row, in list order.
  std::vector<ResultRow> Rows() const;

  // Row: a copy of one row; an empty row for an index past the end.
  ResultRow Row(size_t index) const;

  size_t Count() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<ResultRow> rows_;
};

}  // namespace scanner
