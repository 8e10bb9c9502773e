// Building the page window from its template and hosting the tree control in it.
#include "configobject/page/qt/ConduitTreePageView.h"

#include <QResizeEvent>

#include "configobject/layout/qt/QtLayoutWindow.h"
#include "configobject/page/PageTemplate.h"
#include "configobject/page/qt/WindowHandle.h"
#include "ui/QtPrompt.h"

namespace qrx {

ConduitTreePageView::ConduitTreePageView(QWidget* parent, CConduitTreePage& page)
    : QFrame(parent), page_(page) {
  const DialogTemplate& dialog = PageTemplate();
  setObjectName(QStringLiteral("page-%1").arg(dialog.id));
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setFont(QFont(QString::fromLatin1(dialog.fontName), dialog.fontPoints));
  const layout::QtLayoutWindow units(this);
  const layout::Rect size = units.MapDialogRect({0, 0, dialog.width, dialog.height});
  resize(size.right, size.bottom);

  const DialogControl& tree = dialog.control;
  const layout::Rect place = units.MapDialogRect(tree.place);
  const platform::com::ControlRect pixels{place.left, place.top, place.right, place.bottom};
  page_.control().Create(tree.clsid, HandleFromWidget(this), tree.id, pixels, tree.initialData,
                         page_.events());
  if (QWidget* control = WidgetFromHandle(page_.control().window())) {
    control->setProperty(layout::kControlIdProperty, tree.id);
  }
  page_.OnInitDialog();
}

void ConduitTreePageView::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  ui::QtPrompt prompt;
  layout::QtLayoutWindow window(this);
  page_.OnSize(window, prompt);
}

}  // namespace qrx
