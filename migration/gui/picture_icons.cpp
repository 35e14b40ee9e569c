#include "gui/picture_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace gui {

namespace {

enum class Tick { Shown, Hidden };

// Three list rows, each with a small box, ticked or empty: a list selected or cleared at once.
void drawList(QPainter& painter, Tick tick) {
  for (int row = 0; row < 3; ++row) {
    const qreal y = 1.5 + row * 5.0;
    painter.setPen(QPen(QColor(60, 60, 60), 1.0));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(1.5, y, 4, 4));
    painter.setPen(QPen(QColor(110, 110, 110), 1.0));
    painter.drawLine(QPointF(8, y + 2), QPointF(14.5, y + 2));
    if (tick == Tick::Shown) {
      painter.setPen(QPen(QColor(0, 128, 0), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      QPainterPath mark;
      mark.moveTo(2.2, y + 2.0);
      mark.lineTo(3.4, y + 3.4);
      mark.lineTo(6.2, y - 0.6);
      painter.setBrush(Qt::NoBrush);
      painter.drawPath(mark);
    }
  }
}

// An open folder.
void drawFolder(QPainter& painter) {
  painter.setPen(QPen(QColor(120, 90, 20), 1.0));
  painter.setBrush(QColor(230, 190, 80));
  QPainterPath back;
  back.moveTo(1.5, 3.5);
  back.lineTo(6.0, 3.5);
  back.lineTo(7.5, 5.0);
  back.lineTo(13.5, 5.0);
  back.lineTo(13.5, 13.5);
  back.lineTo(1.5, 13.5);
  back.closeSubpath();
  painter.drawPath(back);
  painter.setBrush(QColor(250, 215, 110));
  QPainterPath front;
  front.moveTo(1.5, 13.5);
  front.lineTo(4.0, 7.5);
  front.lineTo(15.0, 7.5);
  front.lineTo(13.5, 13.5);
  front.closeSubpath();
  painter.drawPath(front);
}

QPixmap drawPicture(const std::string& name, int scale) {
  QPixmap pixmap(16 * scale, 16 * scale);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(scale, scale);
  if (name == "select-all") drawList(painter, Tick::Shown);
  if (name == "deselect-all") drawList(painter, Tick::Hidden);
  if (name == "browse") drawFolder(painter);
  return pixmap;
}

}  // namespace

QIcon pictureIcon(const std::string& name) {
  if (name != "select-all" && name != "deselect-all" && name != "browse") return {};
  QIcon icon;
  icon.addPixmap(drawPicture(name, 1));
  icon.addPixmap(drawPicture(name, 2));
  return icon;
}

}  // namespace gui
