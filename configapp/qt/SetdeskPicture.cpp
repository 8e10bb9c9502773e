// The main dialog's picture, painted rather than loaded so that no artwork ships.
#include "configapp/qt/SetdeskPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace configapp {
namespace {

// Shield: a shield outline inside `box`.
QPainterPath Shield(const QRectF& box) {
  QPainterPath path;
  const qreal w = box.width();
  const qreal h = box.height();
  path.moveTo(box.left() + w / 2, box.top());
  path.lineTo(box.right(), box.top() + h * 0.18);
  path.cubicTo(box.right(), box.top() + h * 0.62, box.left() + w * 0.78, box.top() + h * 0.86,
               box.left() + w / 2, box.bottom());
  path.cubicTo(box.left() + w * 0.22, box.top() + h * 0.86, box.left(), box.top() + h * 0.62,
               box.left(), box.top() + h * 0.18);
  path.closeSubpath();
  return path;
}

}  // namespace

QPixmap SetdeskPicture(QSize size) {
  if (size.isEmpty()) return {};
  QPixmap pixmap(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF area(0, 0, size.width(), size.height());
  QLinearGradient ground(area.topLeft(), area.bottomLeft());
  ground.setColorAt(0, QColor(20, 60, 130));
  ground.setColorAt(1, QColor(5, 20, 55));
  p.fillRect(area, ground);

  // The handheld: a body with its screen and four buttons, centred.
  const qreal unit = std::min(area.width() / 10.0, area.height() / 16.0);
  const QRectF body(area.center().x() - 3 * unit, area.center().y() - 4 * unit, 6 * unit, 9 * unit);
  p.setPen(QPen(QColor(190, 200, 215), unit * 0.15));
  p.setBrush(QColor(70, 80, 95));
  p.drawRoundedRect(body, unit * 0.8, unit * 0.8);
  const QRectF screen = body.adjusted(unit * 0.7, unit * 0.8, -unit * 0.7, -unit * 2.6);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(170, 200, 150));
  p.drawRect(screen);
  p.setBrush(QColor(150, 160, 175));
  for (int i = 0; i < 4; ++i) {
    const qreal x = body.left() + unit * (0.9 + i * 1.2);
    p.drawEllipse(QRectF(x, body.bottom() - unit * 1.8, unit * 0.8, unit * 0.8));
  }

  // The shield over the screen, with a tick.
  const QRectF shieldBox(screen.center().x() - unit * 1.5, screen.top() + unit * 0.5, unit * 3,
                         unit * 3.6);
  p.setBrush(QColor(200, 40, 40));
  p.setPen(QPen(QColor(250, 240, 230), unit * 0.2));
  p.drawPath(Shield(shieldBox));
  p.setPen(QPen(Qt::white, unit * 0.35, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  QPainterPath tick;
  tick.moveTo(shieldBox.left() + unit * 0.8, shieldBox.top() + unit * 1.8);
  tick.lineTo(shieldBox.left() + unit * 1.35, shieldBox.top() + unit * 2.4);
  tick.lineTo(shieldBox.left() + unit * 2.3, shieldBox.top() + unit * 1.1);
  p.drawPath(tick);
  return pixmap;
}

}  // namespace configapp
