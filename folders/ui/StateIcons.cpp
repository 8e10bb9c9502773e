// The folder list's state icons, painted rather than loaded so no image file ships.
#include "folders/ui/StateIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace folders {
namespace {

void PaintFolder(QPainter& p, const QColor& fill) {
  QPainterPath folder;
  folder.moveTo(1, 4);
  folder.lineTo(6, 4);
  folder.lineTo(7, 5);
  folder.lineTo(14, 5);
  folder.lineTo(14, 14);
  folder.lineTo(1, 14);
  folder.closeSubpath();
  p.setPen(QPen(fill.darker(170), 1));
  p.setBrush(fill);
  p.drawPath(folder);
}

void PaintPadlock(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 60), 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(8.5, 6.5, 5, 5), 0, 180 * 16);
  p.setBrush(QColor(90, 90, 90));
  p.drawRect(QRectF(8, 9, 6, 5));
}

void PaintCheck(QPainter& p) {
  p.setPen(QPen(QColor(0, 140, 40), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({QPointF(7, 10), QPointF(9.5, 12.5), QPointF(14, 7)}));
}

void PaintCross(QPainter& p) {
  p.setPen(QPen(QColor(200, 20, 20), 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(7, 7), QPointF(14, 14));
  p.drawLine(QPointF(14, 7), QPointF(7, 14));
}

}  // namespace

QIcon StateIcon(VolumeState state) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (state) {
    case VolumeState::NotMounted:
      PaintFolder(p, QColor(240, 200, 80));
      PaintPadlock(p);
      break;
    case VolumeState::Mounted:
      PaintFolder(p, QColor(250, 220, 120));
      PaintCheck(p);
      break;
    case VolumeState::Missing:
      PaintFolder(p, QColor(190, 190, 190));
      PaintCross(p);
      break;
  }
  p.end();
  return QIcon(pixmap);
}

}  // namespace folders
