// The pointer over a page's controls, reported by control number for the hint line.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class QWidget;

namespace configapp {

// HintWatcher: calls `over` with a watched control's number whenever the
// pointer enters or moves over it, as the set-cursor notification does.
class HintWatcher final : public QObject {
 public:
  HintWatcher(QObject* parent, std::function<void(uint32_t)> over)
      : QObject(parent), over_(std::move(over)) {}

  // Watch: reports the pointer over `widget` (and `area`, the part that
  // receives the mouse when it is another widget, such as a list's
  // viewport) as `control`.
  void Watch(QWidget* widget, uint32_t control, QWidget* area = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(uint32_t)> over_;
};

}  // namespace configapp
