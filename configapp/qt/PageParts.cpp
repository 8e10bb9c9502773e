// Labels and the hint line of the pages.
#include "configapp/qt/PageParts.h"

#include <QFontMetrics>
#include <QLabel>

#include "configapp/ControlIds.h"
#include "configapp/qt/QtText.h"

namespace configapp {

QLabel* PageLabel(std::string_view text, const char* name, uint32_t control, QWidget* parent) {
  return Named(new QLabel(Qs(text), parent), name, control);
}

QLabel* MakeHintLine(QWidget* parent) {
  QLabel* hint = PageLabel({}, "hint", kIdHint, parent);
  hint->setFrameShape(QFrame::StyledPanel);
  hint->setFrameShadow(QFrame::Sunken);
  hint->setMinimumHeight(hint->fontMetrics().height() + 6);
  // A long hint is cut at the page's edge instead of widening the page.
  hint->setMinimumWidth(1);
  hint->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  return hint;
}

}  // namespace configapp
