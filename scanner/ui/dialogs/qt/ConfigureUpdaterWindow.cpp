// The Configure Updater window's widgets, wired to the model.
#include "scanner/ui/dialogs/qt/ConfigureUpdaterWindow.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "scanner/ui/dialogs/DialogTexts.h"
#include "scanner/ui/dialogs/qt/InputPanelFocus.h"
#include "scanner/ui/dialogs/qt/QtText.h"
#include "scanner/updater/UpdaterMessages.h"

namespace scanner_dialogs {
namespace {

constexpr int kControlOk = 1;

QPushButton* MakeButton(int control, QWidget* parent) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QString::number(control));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

ConfigureUpdaterWindow::ConfigureUpdaterWindow(platform::Prompt& prompt,
                                               scanner::DownloadRunner& runner,
                                               std::function<bool()> scanRunning, QWidget* owner)
    : QDialog(owner),
      heading_(new QLabel(this)),
      list_(new QListWidget(this)),
      edit_(new QLineEdit(this)),
      model_(*this, prompt, runner, std::move(scanRunning)) {
  setObjectName(QStringLiteral("configureUpdaterDialog"));
  setWindowTitle(Qs(kConfigureUpdaterTitle));
  heading_->setObjectName(QStringLiteral("heading"));
  heading_->setTextFormat(Qt::PlainText);
  list_->setObjectName(QString::number(scanner::kControlUrlList));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  edit_->setObjectName(QString::number(scanner::kControlUrlEdit));
  InputPanelFocus::Watch(edit_);

  QPushButton* getUpdate = MakeButton(scanner::kControlGetUpdate, this);
  QPushButton* remove = MakeButton(scanner::kControlRemove, this);
  QPushButton* add = MakeButton(scanner::kControlAdd, this);
  QPushButton* ok = MakeButton(kControlOk, this);
  ok->setText(QStringLiteral("OK"));
  QPushButton* cancel = MakeButton(scanner::kControlCancel, this);

  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!filling_) model_.OnSelect(row);
  });
  connect(add, &QPushButton::clicked, this, [this] { model_.OnAdd(U16(edit_->text())); });
  connect(remove, &QPushButton::clicked, this, [this] { model_.OnRemove(SelectedRow()); });
  connect(getUpdate, &QPushButton::clicked, this, [this] { model_.OnGetUpdate(); });
  connect(ok, &QPushButton::clicked, this, [this] { model_.OnOk(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  // Enter in the edit adds the address, as the Add button does.
  connect(edit_, &QLineEdit::returnPressed, add, &QPushButton::click);

  auto* buttons = new QGridLayout;
  buttons->addWidget(add, 0, 0);
  buttons->addWidget(remove, 0, 1);
  buttons->addWidget(getUpdate, 1, 0);
  buttons->addWidget(cancel, 1, 1);
  buttons->addWidget(ok, 2, 0, 1, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading_);
  layout->addWidget(edit_);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
}

void ConfigureUpdaterWindow::SetHeading(std::u16string_view text) {
  heading_->setText(Qs(DisplayText(text)));
}

void ConfigureUpdaterWindow::SetControlText(int control, std::u16string_view text) {
  if (auto* button = findChild<QPushButton*>(QString::number(control))) button->setText(Qs(text));
}

void ConfigureUpdaterWindow::SetList(const std::vector<std::u16string>& urls) {
  filling_ = true;
  list_->clear();
  for (const std::u16string& url : urls) list_->addItem(Qs(url));
  list_->setCurrentRow(-1);
  filling_ = false;
}

void ConfigureUpdaterWindow::SetEditText(std::u16string_view text) {
  edit_->setText(Qs(text));
}

void ConfigureUpdaterWindow::FocusEdit() {
  edit_->setFocus();
}

void ConfigureUpdaterWindow::Close() {
  accept();
}

int ConfigureUpdaterWindow::SelectedRow() const {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? -1 : list_->row(selected.first());
}

}  // namespace scanner_dialogs
