// The report and actions page as a Qt widget over its plain page.
#pragma once

#include <QWidget>
#include <functional>

#include "scanner/ui/ReportPage.h"

class QCheckBox;
class QLineEdit;

namespace scanner_ui {

// ReportView: "ReportPage"; each control is named by its number. Edits by
// the user go to `page` (borrowed) and call `changed`.
class ReportView : public QWidget {
 public:
  ReportView(scanner::ReportPage& page, std::function<void()> changed, QWidget* parent = nullptr);

  // Refresh: the controls from the page, without counting as a change.
  void Refresh();

 private:
  void Edited();
  void Enable();

  scanner::ReportPage& page_;
  std::function<void()> changed_;
  bool refreshing_ = false;
  QCheckBox* create_;
  QCheckBox* append_;
  QLineEdit* reportEdit_;
  QCheckBox* copy_;
  QLineEdit* infectedEdit_;
  QCheckBox* ask_;
  QCheckBox* delete_;
};

}  // namespace scanner_ui
