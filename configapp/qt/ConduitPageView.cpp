// The Conduit page's widgets.
#include "configapp/qt/ConduitPageView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "configapp/ControlIds.h"
#include "configapp/qt/HintWatcher.h"
#include "configapp/qt/PageParts.h"
#include "configapp/qt/QtText.h"

namespace configapp {
namespace {

QComboBox* MakeList(const std::vector<ListItem>& items, const char* name, uint32_t control,
                    QWidget* parent) {
  auto* list = Named(new QComboBox(parent), name, control);
  for (const ListItem& item : items) list->addItem(Qs(item.text), item.data);
  return list;
}

}  // namespace

ConduitPageView::ConduitPageView(CConduitPage& page, QWidget* parent)
    : QWidget(parent), page_(page) {
  setObjectName(QStringLiteral("conduitPage"));
  auto* group =
      Named(new QGroupBox(Qs(page_.Text(kIdConduitGroup)), this), "conduitGroup", kIdConduitGroup);
  action_ = MakeList(page_.actionItems(), "action", kIdAction, group);
  rate_ = MakeList(page_.rateItems(), "rate", kIdRate, group);
  showDialog_ =
      Named(new QCheckBox(Qs(page_.Text(kIdShowDialog)), group), "showDialog", kIdShowDialog);
  seconds_ = Named(new QLineEdit(group), "seconds", kIdSeconds);
  seconds_->setMaximumWidth(60);
  auto* getUpdate = Named(new QPushButton(Qs(page_.Text(kIdGetUpdateNow)), group), "getUpdateNow",
                          kIdGetUpdateNow);
  hint_ = MakeHintLine(this);

  auto* grid = new QGridLayout(group);
  grid->addWidget(PageLabel(page_.Text(kIdActionLabel), "actionLabel", kIdActionLabel, group), 0,
                  0);
  grid->addWidget(action_, 0, 1, 1, 3);
  grid->addWidget(PageLabel(page_.Text(kIdRateLabel), "rateLabel", kIdRateLabel, group), 1, 0);
  grid->addWidget(rate_, 1, 1, 1, 3);
  grid->addWidget(showDialog_, 2, 0);
  grid->addWidget(seconds_, 2, 1);
  grid->addWidget(PageLabel(page_.Text(kIdSecondsLabel), "secondsLabel", kIdSecondsLabel, group), 2,
                  2);
  grid->addWidget(getUpdate, 3, 0, 1, 2, Qt::AlignLeft);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(4, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group, 1);
  layout->addWidget(hint_);

  auto* watcher = new HintWatcher(this, [this](uint32_t control) {
    if (page_.OnSetCursor(control)) Render();
  });
  watcher->Watch(action_, kIdAction);
  watcher->Watch(rate_, kIdRate);
  watcher->Watch(showDialog_, kIdShowDialog);
  watcher->Watch(seconds_, kIdSeconds);
  watcher->Watch(getUpdate, kIdGetUpdateNow);

  connect(seconds_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (rendering_) return;
    page_.OnSecondsChanged(U8(text));
    Render();
  });
  connect(showDialog_, &QCheckBox::clicked, this, [this](bool checked) {
    page_.OnShowDialogClicked(checked);
    Render();
  });
  connect(action_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!rendering_) page_.SelectAction(index);
  });
  connect(rate_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!rendering_) page_.SelectRate(index);
  });
  connect(getUpdate, &QPushButton::clicked, this, [this] {
    page_.OnGetUpdateNow();
    Render();
  });
  Render();
}

void ConduitPageView::Render() {
  rendering_ = true;
  const ConduitControls& c = page_.controls();
  // Rewriting the same text would move the cursor while the user types.
  if (seconds_->text() != Qs(c.seconds)) seconds_->setText(Qs(c.seconds));
  seconds_->setEnabled(c.secondsEnabled);
  showDialog_->setChecked(c.showDialog);
  action_->setCurrentIndex(c.actionSelection);
  rate_->setCurrentIndex(c.rateSelection);
  hint_->setText(Qs(page_.hint()));
  rendering_ = false;
}

}  // namespace configapp
