// Sizing and centring the conduit's dialogs.
#include "conduit/dialogs/qt/DialogParts.h"

#include <QGuiApplication>
#include <QScreen>

namespace conduit {

void SizeToTemplate(QWidget& dialog, PixelSize units) {
  const PixelSize pixels = DialogPixels(units);
  dialog.setMinimumSize(pixels.width, pixels.height);
}

void CentreOnScreen(QWidget& dialog) {
  dialog.adjustSize();
  QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  const PixelPoint origin =
      CentredOrigin({area.x(), area.y()}, {area.width(), area.height()},
                    {dialog.frameGeometry().width(), dialog.frameGeometry().height()});
  dialog.move(origin.x, origin.y);
}

}  // namespace conduit
