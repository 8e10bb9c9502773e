// The conduit page's window: template 1204 with the tree control, laid out on resize.
#pragma once

#include <QFrame>

#include "configobject/page/ConduitTreePage.h"

namespace qrx {

// ConduitTreePageView: a child window with a border, sized from the
// template's dialog units in its font. Creating it creates the tree control
// (id 1213) and runs the page's initialisation; each resize lays the
// control out by the page's rules. The page outlives the view.
class ConduitTreePageView final : public QFrame {
 public:
  ConduitTreePageView(QWidget* parent, CConduitTreePage& page);

  // controlCreated: whether the tree control could be made.
  bool controlCreated() const { return page_.control().attached(); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  CConduitTreePage& page_;
};

}  // namespace qrx
