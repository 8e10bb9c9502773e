// The main dialog's tab control: a row of tabs over a framed display area.
#pragma once

#include <QWidget>
#include <cstdint>

class QTabBar;

namespace configapp {

// TabControl: tabs in one row at its top, a frame below them. The pages are
// not its children: the dialog places them on its display area.
class TabControl final : public QWidget {
 public:
  explicit TabControl(QWidget* parent);

  QTabBar* bar() const { return bar_; }
  // RowCount: the rows of tabs (always one here). ItemHeight: the height of
  // one tab.
  int32_t RowCount() const { return 1; }
  int32_t ItemHeight() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QTabBar* bar_ = nullptr;
};

}  // namespace configapp
