// The scan options page's controls and their enabling.
#include "scanner/ui/qt/ScanOptionsView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>

#include "scanner/ui/dialogs/qt/QtText.h"
#include "scanner/ui/qt/Controls.h"

namespace scanner_ui {

using scanner::FileChoice;
using scanner_dialogs::Qs;
using scanner_dialogs::U16;

namespace {
// The masks' fields hold 128 characters with the terminator.
constexpr int kMaskMax = static_cast<int>(scanner::kMaskChars) - 1;
}  // namespace

ScanOptionsView::ScanOptionsView(scanner::ScanOptionsPage& page, std::function<void()> changed,
                                 QWidget* parent)
    : QWidget(parent), page_(page), changed_(std::move(changed)) {
  setObjectName("ScanOptionsPage");
  all_ = MakeRadio(this, scanner::kCtlScanAllFiles, 10);
  programs_ = MakeRadio(this, scanner::kCtlScanPrograms, 11);
  userMask_ = MakeRadio(this, scanner::kCtlScanUserMask, 12);
  userMaskEdit_ = MakeEdit(this, scanner::kCtlUserMaskEdit, kMaskMax);
  exclude_ = MakeCheckBox(this, scanner::kCtlExcludeCheck, 13);
  excludeEdit_ = MakeEdit(this, scanner::kCtlExcludeEdit, kMaskMax);
  rom_ = MakeCheckBox(this, scanner::kCtlScanRom, 14);
  databases_ = MakeCheckBox(this, scanner::kCtlScanDatabases, 15);
  cards_ = MakeCheckBox(this, scanner::kCtlScanCards, 16);

  auto* group = new QButtonGroup(this);
  for (QRadioButton* r : {all_, programs_, userMask_}) group->addButton(r);

  auto* layout = new QVBoxLayout(this);
  for (QWidget* w :
       std::initializer_list<QWidget*>{all_, programs_, userMask_, userMaskEdit_, exclude_,
                                       excludeEdit_, rom_, databases_, cards_})
    layout->addWidget(w);
  layout->addStretch(1);

  for (QRadioButton* r : {all_, programs_, userMask_})
    connect(r, &QRadioButton::toggled, this, [this](bool on) {
      if (on) Edited();
    });
  for (QCheckBox* c : {exclude_, rom_, databases_, cards_})
    connect(c, &QCheckBox::toggled, this, [this] { Edited(); });
  for (QLineEdit* e : {userMaskEdit_, excludeEdit_})
    connect(e, &QLineEdit::textEdited, this, [this] { Edited(); });
  Refresh();
}

void ScanOptionsView::Refresh() {
  refreshing_ = true;
  all_->setChecked(page_.choice == FileChoice::kAllFiles);
  programs_->setChecked(page_.choice == FileChoice::kPrograms);
  userMask_->setChecked(page_.choice == FileChoice::kUserMask);
  userMaskEdit_->setText(Qs(page_.userMask));
  exclude_->setChecked(page_.exclude);
  excludeEdit_->setText(Qs(page_.excludeMask));
  rom_->setChecked(page_.romFiles);
  databases_->setChecked(page_.databases);
  cards_->setChecked(page_.cards);
  userMaskEdit_->setEnabled(page_.UserMaskEnabled());
  excludeEdit_->setEnabled(page_.ExcludeMaskEnabled());
  refreshing_ = false;
}

void ScanOptionsView::Edited() {
  if (refreshing_) return;
  page_.choice = userMask_->isChecked()   ? FileChoice::kUserMask
                 : programs_->isChecked() ? FileChoice::kPrograms
                                          : FileChoice::kAllFiles;
  page_.userMask = U16(userMaskEdit_->text());
  page_.exclude = exclude_->isChecked();
  page_.excludeMask = U16(excludeEdit_->text());
  page_.romFiles = rom_->isChecked();
  page_.databases = databases_->isChecked();
  page_.cards = cards_->isChecked();
  userMaskEdit_->setEnabled(page_.UserMaskEnabled());
  excludeEdit_->setEnabled(page_.ExcludeMaskEnabled());
  changed_();
}

}  // namespace scanner_ui
