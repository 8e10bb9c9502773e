// The URLs page's widgets.
#include "configapp/qt/UpdatePageView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "configapp/ControlIds.h"
#include "configapp/qt/HintWatcher.h"
#include "configapp/qt/PageParts.h"
#include "configapp/qt/QtText.h"

namespace configapp {

UpdatePageView::UpdatePageView(CUpdatePage& page, QWidget* parent) : QWidget(parent), page_(page) {
  setObjectName(QStringLiteral("urlsPage"));
  auto* group =
      Named(new QGroupBox(Qs(page_.Text(kIdAddressGroup)), this), "addressGroup", kIdAddressGroup);
  address_ = Named(new QLineEdit(group), "address", kIdAddress);
  list_ = Named(new QListWidget(group), "addresses", kIdAddressList);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  hint_ = MakeHintLine(this);
  auto* watcher = new HintWatcher(this, [this](uint32_t control) {
    if (page_.OnSetCursor(control)) Render();
  });
  watcher->Watch(address_, kIdAddress);
  watcher->Watch(list_, kIdAddressList, list_->viewport());

  struct ButtonSpec {
    const char* name;
    uint32_t control;
    std::function<void()> action;
  };
  const ButtonSpec specs[] = {
      {"add", kIdAdd, [this] { page_.OnAdd(); }},
      {"delete", kIdDelete, [this] { page_.OnDelete(); }},
      {"clearAll", kIdClearAll, [this] { page_.OnClearAll(); }},
      {"up", kIdUp, [this] { page_.OnUp(); }},
      {"down", kIdDown, [this] { page_.OnDown(); }},
  };
  QPushButton* buttons[std::size(specs)] = {};
  for (size_t i = 0; i < std::size(specs); ++i) {
    const ButtonSpec& spec = specs[i];
    buttons[i] =
        Named(new QPushButton(Qs(page_.Text(spec.control)), group), spec.name, spec.control);
    watcher->Watch(buttons[i], spec.control);
    connect(buttons[i], &QPushButton::clicked, this, [this, action = spec.action] {
      action();
      Render();
    });
  }

  auto* grid = new QGridLayout(group);
  // The label keeps the template's text in every language.
  grid->addWidget(PageLabel("URL:", "addressLabel", kIdAddressLabel, group), 0, 0);
  grid->addWidget(address_, 0, 1);
  grid->addWidget(buttons[0], 0, 2);
  grid->addWidget(list_, 1, 0, 5, 2);
  for (int i = 1; i < static_cast<int>(std::size(specs)); ++i) grid->addWidget(buttons[i], i, 2);
  grid->setRowStretch(5, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group, 1);
  layout->addWidget(hint_);

  connect(address_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!rendering_) page_.SetAddress(U8(text));
  });
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!rendering_) page_.Select(row);
  });
  Render();
}

void UpdatePageView::Render() {
  rendering_ = true;
  const AddressControls& c = page_.controls();
  if (address_->text() != Qs(c.address)) address_->setText(Qs(c.address));
  QStringList items;
  for (const std::string& item : c.items) items << Qs(item);
  bool same = list_->count() == items.size();
  for (int i = 0; same && i < list_->count(); ++i) same = list_->item(i)->text() == items[i];
  if (!same) {
    list_->clear();
    list_->addItems(items);
  }
  if (c.selection < 0) {
    list_->setCurrentRow(-1);
    list_->clearSelection();
  } else {
    list_->setCurrentRow(c.selection);
  }
  hint_->setText(Qs(page_.hint()));
  rendering_ = false;
}

}  // namespace configapp
