// The "Virus detected!" window and the detection dialog that runs it from the scan worker.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QPointer>
#include <string_view>

#include "scanner/scanrun/DetectionDialog.h"

namespace scanner_dialogs {

// DetectionTexts: what one detection shows.
struct DetectionTexts {
  std::u16string_view objectLabel, objectText, virusLabel, virusText, description;
};

// DetectionWindow: message 71, the object and virus lines, the description,
// the boxes "copy" (33) and "delete" (35) and OK. OK accepts; escape rejects.
class DetectionWindow : public QDialog {
 public:
  DetectionWindow(const DetectionTexts& texts, bool copy, bool del, QWidget* owner);

  bool copyChecked() const { return copy_->isChecked(); }
  bool deleteChecked() const { return delete_->isChecked(); }

 private:
  QCheckBox* copy_;
  QCheckBox* delete_;
};

// QtDetectionDialog: Show runs a DetectionWindow modally over the owner on
// the GUI thread; a call from another thread waits there for its answer.
// Should the owner go away first, Show returns false (configured actions).
class QtDetectionDialog final : public scanner::DetectionDialog {
 public:
  explicit QtDetectionDialog(QWidget* owner) : owner_(owner), owned_(owner != nullptr) {}

  bool Show(std::u16string_view objectLabel, std::u16string_view objectText,
            std::u16string_view virusLabel, std::u16string_view virusText,
            std::u16string_view description, bool& copy, bool& del) override;

 private:
  QPointer<QWidget> owner_;
  bool owned_;  // an owner was given: once it is gone nothing more is shown
};

}  // namespace scanner_dialogs
