// The downloader's icon, painted rather than loaded so no image file ships.
#include "update/window/UpdateIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace update {

namespace {

QPixmap Paint(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  p.setPen(QPen(QColor(0, 100, 40), 1));
  p.setBrush(QColor(30, 160, 70));
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(6.5, 3, 3, 6));
  p.drawPolygon(QPolygonF({QPointF(3.5, 8), QPointF(12.5, 8), QPointF(8, 13)}));
  return pixmap;
}

}  // namespace

QIcon UpdateIcon() {
  QIcon icon;
  icon.addPixmap(Paint(16));
  icon.addPixmap(Paint(32));
  return icon;
}

}  // namespace update
