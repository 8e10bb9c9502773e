// The tab control's row of tabs and its frame.
#include "configapp/qt/TabControl.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace configapp {
namespace {

constexpr int kBarInset = 2;  // the tabs start this far in from the top left

}  // namespace

TabControl::TabControl(QWidget* parent) : QWidget(parent) {
  bar_ = new QTabBar(this);
  bar_->setObjectName(QStringLiteral("tabBar"));
  bar_->setDrawBase(false);
  bar_->setExpanding(false);
}

int32_t TabControl::ItemHeight() const {
  return bar_->sizeHint().height();
}

void TabControl::resizeEvent(QResizeEvent* event) {
  bar_->setGeometry(kBarInset, kBarInset, width() - 2 * kBarInset, ItemHeight());
  QWidget::resizeEvent(event);
}

void TabControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.rect = rect().adjusted(0, kBarInset + ItemHeight() - 1, 0, 0);
  frame.shape = QTabBar::RoundedNorth;
  frame.tabBarSize = bar_->size();
  style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

}  // namespace configapp
