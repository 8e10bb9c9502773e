// The results page as a Qt widget: the number fields, the result list and the status line.
#pragma once

#include <QWidget>
#include <array>

#include "scanner/scanrun/ResultList.h"
#include "scanner/ui/ResultsPage.h"

class QLabel;
class QTreeWidget;

namespace scanner_ui {

// ResultsView: "ResultsPage"; number fields, list and status line named by
// their control numbers. Shows `page` and the rows of `list` (both borrowed).
class ResultsView : public QWidget {
 public:
  ResultsView(const scanner::ResultsPage& page, const scanner::ResultList& list,
              QWidget* parent = nullptr);

  // RefreshFields: the number fields and the status line from the page.
  void RefreshFields();

  // RefreshRows: the rows the list gained since the last call, the newest
  // scrolled into view (all again when the list got shorter).
  void RefreshRows();

  // ClearRows: empties the shown list (a new run begins).
  void ClearRows();

 private:
  const scanner::ResultsPage& page_;
  const scanner::ResultList& list_;
  std::array<QLabel*, scanner::kResultFieldCount> numbers_{};
  QTreeWidget* rows_;
  QLabel* status_;
};

}  // namespace scanner_ui
