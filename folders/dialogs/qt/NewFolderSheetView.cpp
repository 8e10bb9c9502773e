// The "New folder" sheet's widgets.
#include "folders/dialogs/qt/NewFolderSheetView.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QVariant>

#include "folders/strings/FoldersStrings.h"
#include "folders/volumes/CipherNames.h"

namespace folders {

// SizeSpin: the size field and its spin. What is typed stays as typed (a
// value below the unit's minimum is refused by the check, not corrected);
// the arrows step by 32 between the unit's minimum and 65536. The property
// "unitMinimum" tells the minimum of the unit in force.
class SizeSpin final : public QSpinBox {
 public:
  SizeSpin(NewFolderSheet& sheet, QWidget* parent) : QSpinBox(parent), sheet_(sheet) {
    setRange(0, static_cast<int>(kSizeMaximum));
    setSingleStep(static_cast<int>(kSizeStep));
    Show();
  }

  void stepBy(int steps) override {
    sheet_.StepSize(steps);
    setValue(static_cast<int>(sheet_.sizeValue()));
  }

  // Show: the sheet's value and the unit's minimum.
  void Show() {
    const QSignalBlocker block(this);
    setValue(static_cast<int>(sheet_.sizeValue()));
    setProperty("unitMinimum", static_cast<int>(sheet_.sizeMinimum()));
  }

 protected:
  StepEnabled stepEnabled() const override {
    StepEnabled enabled = StepNone;
    if (static_cast<uint32_t>(value()) > sheet_.sizeMinimum()) enabled |= StepDownEnabled;
    if (static_cast<uint32_t>(value()) < kSizeMaximum) enabled |= StepUpEnabled;
    return enabled;
  }

 private:
  NewFolderSheet& sheet_;
};

NewFolderSheetView::NewFolderSheetView(NewFolderSheet& sheet, platform::Prompt& prompt,
                                       const QString& caption, QWidget* parent)
    : QDialog(parent), sheet_(sheet), prompt_(prompt) {
  setObjectName(QStringLiteral("newFolderSheet"));
  setWindowTitle(caption);
  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("pages"));
  pages_->addTab(MakeFolderPage(), QText(kIdsFolder));
  pages_->addTab(MakeEncryptionPage(), QText(kIdsEncryption));
  connect(pages_, &QTabWidget::currentChanged, this, [this](int i) { PageChanged(i); });

  QDialogButtonBox* buttons = MakeOkCancel(this, [this] { Ok(); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addWidget(buttons);
}

QWidget* NewFolderSheetView::MakeFolderPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("folderPage"));
  name_ = new QLineEdit(Qs(sheet_.name()), page);
  name_->setObjectName(QStringLiteral("name"));
  connect(name_, &QLineEdit::textChanged, this,
          [this](const QString& t) { sheet_.SetName(U16(t)); });

  size_ = new SizeSpin(sheet_, page);
  size_->setObjectName(QStringLiteral("size"));
  connect(size_, &QSpinBox::valueChanged, this,
          [this](int v) { sheet_.SetSizeValue(static_cast<uint32_t>(v)); });
  auto* unit = new QComboBox(page);
  unit->setObjectName(QStringLiteral("sizeUnit"));
  unit->addItems({QStringLiteral("KB"), QStringLiteral("MB")});
  unit->setCurrentIndex(static_cast<int>(sheet_.sizeUnit()));
  connect(unit, &QComboBox::currentIndexChanged, this, [this](int i) {
    sheet_.SetSizeUnit(i == 1 ? SizeUnit::MB : SizeUnit::KB);
    size_->Show();
  });
  auto* sizeRow = new QHBoxLayout;
  sizeRow->addWidget(size_, 1);
  sizeRow->addWidget(unit);

  auto* location = new QComboBox(page);
  location->setObjectName(QStringLiteral("location"));
  for (const std::u16string& l : sheet_.locations()) location->addItem(Qs(l));
  location->setCurrentIndex(static_cast<int>(sheet_.location()));
  folder_ = new QComboBox(page);
  folder_->setObjectName(QStringLiteral("folder"));
  FillFolders();
  connect(location, &QComboBox::currentIndexChanged, this, [this](int i) {
    sheet_.SetLocation(i < 0 ? 0 : static_cast<size_t>(i));
    FillFolders();
  });
  connect(folder_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (i >= 0) sheet_.SetFolder(static_cast<size_t>(i));
  });

  auto* form = new QFormLayout(page);
  form->addRow(QText(kIdsFile), name_);
  form->addRow(QText(kIdsSize), sizeRow);
  form->addRow(QText(kIdsLocation), location);
  form->addRow(QText(kIdsFolder), folder_);
  form->addRow(MakePageCancel(page, SheetPage::Folder));
  return page;
}

QWidget* NewFolderSheetView::MakeEncryptionPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("encryptionPage"));
  auto* cipher = new QComboBox(page);
  cipher->setObjectName(QStringLiteral("cipher"));
  for (uint16_t number : kOfferedCiphers) cipher->addItem(Qs(CipherChoiceName(number)));
  cipher->setCurrentIndex(static_cast<int>(sheet_.cipher()));
  connect(cipher, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (i >= 0) sheet_.SetCipher(static_cast<size_t>(i));
  });

  password_ = MakePasswordField("password", page);
  password_->setText(Qs(sheet_.password()));
  connect(password_, &QLineEdit::textChanged, this,
          [this](const QString& t) { sheet_.SetPassword(U16(t)); });
  retype_ = MakePasswordField("retype", page);
  retype_->setText(Qs(sheet_.retype()));
  connect(retype_, &QLineEdit::textChanged, this,
          [this](const QString& t) { sheet_.SetRetype(U16(t)); });

  timeout_ = TimeoutControls::Make(page, sheet_.timeout());
  timeout_.OnChange(this, [this] { sheet_.SetTimeout(timeout_.Setting()); });

  auto* form = new QFormLayout(page);
  form->addRow(QText(kIdsEncryptionAlgorithm), cipher);
  form->addRow(QText(kIdsPassword), password_);
  form->addRow(QText(kIdsRetype), retype_);
  form->addRow(timeout_.Row());
  form->addRow(MakePageCancel(page, SheetPage::Encryption));
  return page;
}

QPushButton* NewFolderSheetView::MakePageCancel(QWidget* page, SheetPage which) {
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), page);
  cancel->setObjectName(which == SheetPage::Folder ? QStringLiteral("folderPageCancel")
                                                   : QStringLiteral("encryptionPageCancel"));
  connect(cancel, &QPushButton::clicked, this, [this, which] { CancelPage(which); });
  return cancel;
}

void NewFolderSheetView::FillFolders() {
  const QSignalBlocker block(folder_);
  folder_->clear();
  for (const std::u16string& f : sheet_.folders()) folder_->addItem(Qs(f));
  folder_->setCurrentIndex(static_cast<int>(sheet_.folder()));
}

void NewFolderSheetView::ShowPage(SheetPage page) {
  switching_ = true;
  pages_->setCurrentIndex(static_cast<int>(page));
  current_ = pages_->currentIndex();
  switching_ = false;
}

void NewFolderSheetView::PageChanged(int index) {
  if (switching_ || index == current_) return;
  const SheetPage left = static_cast<SheetPage>(current_);
  const bool passed = sheet_.LeavePage(left, prompt_);
  SyncFields();
  if (passed) {
    current_ = index;
  } else {
    ShowPage(left);
  }
}

void NewFolderSheetView::Ok() {
  const std::optional<SheetPage> failed =
      sheet_.ConfirmOk(static_cast<SheetPage>(current_), prompt_);
  SyncFields();
  if (failed) {
    ShowPage(*failed);
    return;
  }
  accept();
}

void NewFolderSheetView::CancelPage(SheetPage page) {
  sheet_.CancelPage(page);
  reject();
}

void NewFolderSheetView::SyncFields() {
  // A failed check may have cleared the re-type field.
  if (U16(retype_->text()) != sheet_.retype()) {
    const QSignalBlocker block(retype_);
    retype_->setText(Qs(sheet_.retype()));
  }
}

}  // namespace folders
