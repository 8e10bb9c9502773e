// Small flat images for the toolbar: play, pause, stop, options, report and results.
#include "scanner/ui/qt/ToolbarIcons.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include "scanner/ui/MainFrameModel.h"

namespace scanner_ui {
namespace {

constexpr int kWidth = 16;
constexpr int kHeight = 15;

void DrawStart(QPainter& p) {
  p.setBrush(QColor(0, 140, 0));
  p.drawPolygon(QPolygon({QPoint(4, 2), QPoint(13, 7), QPoint(4, 12)}));
}

void DrawPause(QPainter& p) {
  p.setBrush(QColor(0, 80, 180));
  p.drawRect(3, 2, 3, 10);
  p.drawRect(9, 2, 3, 10);
}

void DrawStop(QPainter& p) {
  p.setBrush(QColor(190, 0, 0));
  p.drawRect(3, 2, 9, 10);
}

void DrawOptions(QPainter& p) {
  p.setBrush(Qt::white);
  for (int y : {1, 6, 11}) p.drawRect(1, y, 3, 3);
  p.setBrush(Qt::black);
  p.drawRect(2, 2, 1, 1);
  p.drawRect(2, 12, 1, 1);
  for (int y : {2, 7, 12}) p.drawLine(6, y, 14, y);
}

void DrawReport(QPainter& p) {
  p.setBrush(Qt::white);
  p.drawPolygon(
      QPolygon({QPoint(2, 0), QPoint(10, 0), QPoint(13, 3), QPoint(13, 14), QPoint(2, 14)}));
  for (int y : {4, 7, 10}) p.drawLine(4, y, 11, y);
}

void DrawResults(QPainter& p) {
  p.setBrush(Qt::white);
  p.drawRect(1, 1, 13, 12);
  p.drawLine(1, 4, 14, 4);
  p.drawLine(7, 4, 7, 13);
  p.setPen(QColor(190, 0, 0));
  p.drawLine(9, 7, 12, 7);
  p.drawLine(9, 10, 12, 10);
}

}  // namespace

QIcon ToolbarIcon(int command) {
  void (*draw)(QPainter&) = nullptr;
  switch (command) {
    case scanner::kCmdStart:
      draw = DrawStart;
      break;
    case scanner::kCmdPause:
      draw = DrawPause;
      break;
    case scanner::kCmdStop:
      draw = DrawStop;
      break;
    case scanner::kCmdScanOptions:
      draw = DrawOptions;
      break;
    case scanner::kCmdReportPage:
      draw = DrawReport;
      break;
    case scanner::kCmdResults:
      draw = DrawResults;
      break;
    default:
      return {};
  }
  QPixmap image(kWidth, kHeight);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setPen(Qt::black);
  draw(painter);
  painter.end();
  return QIcon(image);
}

}  // namespace scanner_ui
