// The scan options page as a Qt widget over its plain page.
#pragma once

#include <QWidget>
#include <functional>

#include "scanner/ui/ScanOptionsPage.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace scanner_ui {

// ScanOptionsView: "ScanOptionsPage"; each control is named by its number.
// Edits by the user go to `page` (borrowed) and call `changed`.
class ScanOptionsView : public QWidget {
 public:
  ScanOptionsView(scanner::ScanOptionsPage& page, std::function<void()> changed,
                  QWidget* parent = nullptr);

  // Refresh: the controls from the page, without counting as a change.
  void Refresh();

 private:
  void Edited();

  scanner::ScanOptionsPage& page_;
  std::function<void()> changed_;
  bool refreshing_ = false;
  QRadioButton* all_;
  QRadioButton* programs_;
  QRadioButton* userMask_;
  QLineEdit* userMaskEdit_;
  QCheckBox* exclude_;
  QLineEdit* excludeEdit_;
  QCheckBox* rom_;
  QCheckBox* databases_;
  QCheckBox* cards_;
};

}  // namespace scanner_ui
