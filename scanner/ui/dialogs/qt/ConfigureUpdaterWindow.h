// The Configure Updater window: a thin view over the ConfigureUpdater model.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <functional>

#include "platform/Prompt.h"
#include "scanner/updater/ConfigureUpdater.h"

namespace scanner_dialogs {

// ConfigureUpdaterWindow: heading, list 1075, edit 1076, buttons 1077 (Get
// Update), 1078 (Remove), 1079 (Add), 1 (OK) and 2 (Cancel), each named by
// its number. Prompt and runner are borrowed and must outlive the window.
class ConfigureUpdaterWindow : public QDialog, private scanner::ConfigureUpdaterView {
 public:
  ConfigureUpdaterWindow(platform::Prompt& prompt, scanner::DownloadRunner& runner,
                         std::function<bool()> scanRunning, QWidget* owner);

  // Open: the model's OnInit (texts, the saved list or message 121).
  uint32_t Open() { return model_.OnInit(); }

  const scanner::ConfigureUpdater& model() const { return model_; }

 private:
  void SetHeading(std::u16string_view text) override;
  void SetControlText(int control, std::u16string_view text) override;
  void SetList(const std::vector<std::u16string>& urls) override;
  void SetEditText(std::u16string_view text) override;
  void FocusEdit() override;
  void Close() override;

  // SelectedRow: the selected entry, -1 for none.
  int SelectedRow() const;

  QLabel* heading_;
  QListWidget* list_;
  QLineEdit* edit_;
  bool filling_ = false;  // the list is being refilled: no selection follows
  scanner::ConfigureUpdater model_;
};

}  // namespace scanner_dialogs
