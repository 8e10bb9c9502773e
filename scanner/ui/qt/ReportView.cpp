// The report and actions page's controls and their enabling.
#include "scanner/ui/qt/ReportView.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <utility>

#include "scanner/ui/dialogs/qt/QtText.h"
#include "scanner/ui/qt/Controls.h"

namespace scanner_ui {

using scanner_dialogs::Qs;
using scanner_dialogs::U16;

namespace {
// The paths' fields hold 260 characters with the terminator.
constexpr int kPathMax = static_cast<int>(scanner::kPathChars) - 1;
}  // namespace

ReportView::ReportView(scanner::ReportPage& page, std::function<void()> changed, QWidget* parent)
    : QWidget(parent), page_(page), changed_(std::move(changed)) {
  setObjectName("ReportPage");
  create_ = MakeCheckBox(this, scanner::kCtlCreateReport, 30);
  append_ = MakeCheckBox(this, scanner::kCtlAppendReport, 31);
  reportEdit_ = MakeEdit(this, scanner::kCtlReportEdit, kPathMax);
  QLabel* onVirus = MakeLabel(this, scanner::kCtlOnVirusLabel, 32);
  copy_ = MakeCheckBox(this, scanner::kCtlCopyToInfected, 33);
  infectedEdit_ = MakeEdit(this, scanner::kCtlInfectedEdit, kPathMax);
  ask_ = MakeCheckBox(this, scanner::kCtlAskUser, 34);
  delete_ = MakeCheckBox(this, scanner::kCtlDeleteInfected, 35);

  auto* layout = new QVBoxLayout(this);
  for (QWidget* w : std::initializer_list<QWidget*>{create_, append_, reportEdit_, onVirus, copy_,
                                                    infectedEdit_, ask_, delete_})
    layout->addWidget(w);
  layout->addStretch(1);

  for (QCheckBox* c : {create_, append_, copy_, ask_, delete_})
    connect(c, &QCheckBox::toggled, this, [this] { Edited(); });
  for (QLineEdit* e : {reportEdit_, infectedEdit_})
    connect(e, &QLineEdit::textEdited, this, [this] { Edited(); });
  Refresh();
}

void ReportView::Enable() {
  reportEdit_->setEnabled(page_.ReportControlsEnabled());
  append_->setEnabled(page_.ReportControlsEnabled());
  infectedEdit_->setEnabled(page_.InfectedEditEnabled());
}

void ReportView::Refresh() {
  refreshing_ = true;
  create_->setChecked(page_.createReport);
  append_->setChecked(page_.append);
  reportEdit_->setText(Qs(page_.reportPath));
  copy_->setChecked(page_.copyToInfected);
  infectedEdit_->setText(Qs(page_.infectedPath));
  ask_->setChecked(page_.askUser);
  delete_->setChecked(page_.deleteInfected);
  Enable();
  refreshing_ = false;
}

void ReportView::Edited() {
  if (refreshing_) return;
  page_.createReport = create_->isChecked();
  page_.append = append_->isChecked();
  page_.reportPath = U16(reportEdit_->text());
  page_.copyToInfected = copy_->isChecked();
  page_.infectedPath = U16(infectedEdit_->text());
  page_.askUser = ask_->isChecked();
  page_.deleteInfected = delete_->isChecked();
  Enable();
  changed_();
}

}  // namespace scanner_ui
