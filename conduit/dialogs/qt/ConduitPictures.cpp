// Drawing the conduit's pictures.
#include "conduit/dialogs/qt/ConduitPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace conduit {

namespace {

QPixmap Blank(QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// Handheld: a small handheld with its screen in `screen`, inside `box`.
void Handheld(QPainter& p, const QRectF& box, const QColor& screen) {
  p.setPen(QPen(QColor(40, 40, 48), box.width() / 24.0));
  p.setBrush(QColor(96, 100, 112));
  p.drawRoundedRect(box, box.width() / 8.0, box.width() / 8.0);
  const QRectF display(box.left() + box.width() * 0.15, box.top() + box.height() * 0.12,
                       box.width() * 0.7, box.height() * 0.5);
  p.setBrush(screen);
  p.drawRect(display);
  p.setBrush(QColor(60, 60, 70));
  const double r = box.width() * 0.08;
  for (int i = 0; i < 3; ++i)
    p.drawEllipse(
        QPointF(box.left() + box.width() * (0.28 + 0.22 * i), box.bottom() - box.height() * 0.18),
        r, r);
}

}  // namespace

QPixmap ActionPicture(bool update, QSize size) {
  QPixmap pixmap = Blank(size);
  if (size.isEmpty()) return pixmap;
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const double w = size.width(), h = size.height();
  Handheld(p, QRectF(w * 0.2, h * 0.25, w * 0.5, h * 0.7),
           update ? QColor(170, 220, 170) : QColor(200, 200, 190));
  p.setPen(Qt::NoPen);
  if (update) {
    // A green arrow coming down into the handheld.
    QPolygonF arrow;
    arrow << QPointF(w * 0.72, h * 0.05) << QPointF(w * 0.86, h * 0.05)
          << QPointF(w * 0.86, h * 0.3) << QPointF(w * 0.96, h * 0.3) << QPointF(w * 0.79, h * 0.5)
          << QPointF(w * 0.62, h * 0.3) << QPointF(w * 0.72, h * 0.3);
    p.setBrush(QColor(30, 150, 60));
    p.drawPolygon(arrow);
  } else {
    // A red bar: nothing comes in.
    p.setPen(QPen(QColor(190, 40, 40), w * 0.08, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(w * 0.66, h * 0.08), QPointF(w * 0.94, h * 0.36));
    p.drawLine(QPointF(w * 0.94, h * 0.08), QPointF(w * 0.66, h * 0.36));
  }
  return pixmap;
}

QPixmap SyncPicture(QSize size) {
  QPixmap pixmap = Blank(size);
  if (size.isEmpty()) return pixmap;
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const double w = size.width(), h = size.height();
  QLinearGradient ground(0, 0, 0, h);
  ground.setColorAt(0, QColor(20, 60, 140));
  ground.setColorAt(1, QColor(70, 130, 210));
  p.fillRect(pixmap.rect(), ground);
  Handheld(p, QRectF(w * 0.25, h * 0.45, w * 0.5, h * 0.45), QColor(170, 220, 170));
  QPainterPath shield;
  shield.moveTo(w * 0.5, h * 0.06);
  shield.lineTo(w * 0.82, h * 0.14);
  shield.quadTo(w * 0.82, h * 0.34, w * 0.5, h * 0.44);
  shield.quadTo(w * 0.18, h * 0.34, w * 0.18, h * 0.14);
  shield.closeSubpath();
  p.setPen(QPen(QColor(250, 250, 255), w * 0.03));
  p.setBrush(QColor(200, 40, 40));
  p.drawPath(shield);
  return pixmap;
}

QPixmap NoticeIcon(QSize size) {
  QPixmap pixmap = Blank(size);
  if (size.isEmpty()) return pixmap;
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const double w = size.width(), h = size.height();
  QPolygonF triangle;
  triangle << QPointF(w * 0.5, h * 0.06) << QPointF(w * 0.96, h * 0.92)
           << QPointF(w * 0.04, h * 0.92);
  p.setPen(QPen(QColor(120, 90, 0), w * 0.04));
  p.setBrush(QColor(250, 205, 40));
  p.drawPolygon(triangle);
  p.setPen(QPen(Qt::black, w * 0.1, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(w * 0.5, h * 0.34), QPointF(w * 0.5, h * 0.62));
  p.drawPoint(QPointF(w * 0.5, h * 0.78));
  return pixmap;
}

}  // namespace conduit
