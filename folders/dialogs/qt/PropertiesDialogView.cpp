// The properties dialog's widgets.
#include "folders/dialogs/qt/PropertiesDialogView.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "folders/strings/FoldersStrings.h"

namespace folders {

PropertiesDialogView::PropertiesDialogView(PropertiesForm& form, platform::Prompt& prompt,
                                           QWidget* parent)
    : QDialog(parent), form_(form), prompt_(prompt) {
  setObjectName(QStringLiteral("propertiesDialog"));
  setWindowTitle(QStringLiteral("Properties of"));
  const PropertiesInput input = form_.Input();
  path_ = new QLineEdit(Qs(input.path), this);
  path_->setObjectName(QStringLiteral("path"));
  // Wide enough for a usual handheld path to show whole.
  path_->setMinimumWidth(path_->fontMetrics().horizontalAdvance(path_->text()) + 24);
  mountAs_ = new QLineEdit(Qs(input.mountName), this);
  mountAs_->setObjectName(QStringLiteral("mountAs"));
  auto* sizeAndCipher = new QLabel(Qs(form_.SizeAndCipher()), this);
  sizeAndCipher->setObjectName(QStringLiteral("sizeAndCipher"));
  timeout_ = TimeoutControls::Make(this, input.timeout);
  timeout_.OnChange(this, [this] { timeoutTouched_ = true; });

  const bool editable = form_.Editable();
  path_->setEnabled(editable);
  mountAs_->setEnabled(editable);
  timeout_.SetEnabled(editable);

  auto* layout = new QFormLayout(this);
  layout->addRow(QText(kIdsFile), path_);
  layout->addRow(QStringLiteral("Mount folder"), mountAs_);
  layout->addRow(sizeAndCipher);
  layout->addRow(timeout_.Row());
  layout->addRow(MakeOkCancel(this, [this] { Ok(); }));
}

void PropertiesDialogView::Ok() {
  PropertiesInput input{U16(path_->text()), U16(mountAs_->text()), timeout_.Setting(),
                        timeoutTouched_};
  if (form_.Apply(input, prompt_)) accept();
}

}  // namespace folders
