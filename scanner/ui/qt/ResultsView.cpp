// The results page's fields and list as the run reports.
#include "scanner/ui/qt/ResultsView.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

#include "scanner/ui/dialogs/qt/QtText.h"
#include "scanner/ui/qt/Controls.h"

namespace scanner_ui {

using scanner_dialogs::Qs;

ResultsView::ResultsView(const scanner::ResultsPage& page, const scanner::ResultList& list,
                         QWidget* parent)
    : QWidget(parent), page_(page), list_(list) {
  setObjectName("ResultsPage");
  auto* grid = new QGridLayout(this);
  grid->addWidget(MakeLabel(this, 0, scanner::kMsgScannedLabel), 0, 0, 1, 4);
  int i = 0;
  for (const scanner::ResultFieldInfo& info : scanner::kResultFields) {
    const int row = 1 + i % 4;
    const int column = i < 4 ? 0 : 2;
    grid->addWidget(MakeLabel(this, 0, info.labelMessage), row, column);
    auto* number = new QLabel(this);
    number->setObjectName(ControlName(info.numberControl));
    number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(number, row, column + 1);
    numbers_[static_cast<size_t>(info.field)] = number;
    ++i;
  }
  rows_ = new QTreeWidget(this);
  rows_->setObjectName(ControlName(scanner::kCtlResultList));
  rows_->setRootIsDecorated(false);
  rows_->setHeaderLabels(
      {Qs(scanner::ResultList::ColumnTitle(0)), Qs(scanner::ResultList::ColumnTitle(1))});
  for (int c = 0; c < 2; ++c)
    rows_->header()->resizeSection(c, scanner::ResultList::kColumns[c].width);
  grid->addWidget(rows_, 5, 0, 1, 4);
  grid->setRowStretch(5, 1);
  status_ = new QLabel(this);
  status_->setObjectName(ControlName(scanner::kCtlStatusLine));
  status_->setTextFormat(Qt::PlainText);
  grid->addWidget(status_, 6, 0, 1, 4);
  RefreshFields();
  RefreshRows();
}

void ResultsView::RefreshFields() {
  for (size_t f = 0; f < numbers_.size(); ++f) numbers_[f]->setText(Qs(page_.fields[f]));
  status_->setText(Qs(page_.status));
}

void ResultsView::RefreshRows() {
  if (static_cast<size_t>(rows_->topLevelItemCount()) > list_.Count()) rows_->clear();
  const size_t shown = static_cast<size_t>(rows_->topLevelItemCount());
  const size_t count = list_.Count();
  QTreeWidgetItem* newest = nullptr;
  for (size_t r = shown; r < count; ++r) {
    const scanner::ResultRow row = list_.Row(r);
    newest = new QTreeWidgetItem(rows_, {Qs(row.object), Qs(row.result)});
  }
  if (newest != nullptr) rows_->scrollToItem(newest);
}

void ResultsView::ClearRows() {
  rows_->clear();
}

}  // namespace scanner_ui
