// Enter and move events of watched controls, turned into hint requests.
#include "configapp/qt/HintWatcher.h"

#include <QEvent>
#include <QWidget>

namespace configapp {
namespace {

constexpr char kHintControl[] = "hintControl";

}  // namespace

void HintWatcher::Watch(QWidget* widget, uint32_t control, QWidget* area) {
  for (QWidget* w : {widget, area}) {
    if (w == nullptr) continue;
    w->setProperty(kHintControl, control);
    w->setMouseTracking(true);
    w->installEventFilter(this);
  }
}

bool HintWatcher::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
    const QVariant control = watched->property(kHintControl);
    if (control.isValid()) over_(control.toUInt());
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace configapp
