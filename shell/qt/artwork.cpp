#include "shell/qt/artwork.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace korvane {
namespace {

const QColor kInk(40, 40, 40);
const QColor kPaper(250, 250, 245);
const QColor kFolder(230, 180, 60);
const QColor kScreen(190, 220, 200);
const QColor kRed(200, 30, 30);
const QColor kBlue(0, 0, 200);

QPixmap Canvas(int size) {
  QPixmap p(size, size);
  p.fill(Qt::transparent);
  return p;
}

void Sheet(QPainter& g, QRectF r) {
  g.setPen(QPen(kInk, 1));
  g.setBrush(kPaper);
  g.drawRect(r);
  for (qreal y = r.top() + 3; y < r.bottom() - 1; y += 3)
    g.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void Folder(QPainter& g, QRectF r, bool open) {
  g.setPen(QPen(kInk.darker(), 1));
  g.setBrush(kFolder.darker(110));
  QPainterPath back;
  back.moveTo(r.left(), r.top() + 2);
  back.lineTo(r.left() + r.width() * 0.4, r.top() + 2);
  back.lineTo(r.left() + r.width() * 0.5, r.top() + 4);
  back.lineTo(r.right(), r.top() + 4);
  back.lineTo(r.right(), r.bottom());
  back.lineTo(r.left(), r.bottom());
  back.closeSubpath();
  g.drawPath(back);
  g.setBrush(kFolder);
  if (open) {
    QPolygonF front{QPointF(r.left() + 3, r.top() + 7), QPointF(r.right() + 1, r.top() + 7),
                    QPointF(r.right() - 2, r.bottom()), QPointF(r.left(), r.bottom())};
    g.drawPolygon(front);
  } else {
    g.drawRect(QRectF(r.left(), r.top() + 6, r.width(), r.height() - 6));
  }
}

void Screen(QPainter& g, QRectF r) {
  g.setPen(QPen(kInk, 1));
  g.setBrush(QColor(90, 90, 100));
  g.drawRoundedRect(r, 1.5, 1.5);
  g.setBrush(kScreen);
  g.drawRect(r.adjusted(2, 2, -2, -4));
  g.setPen(QPen(QColor(0, 150, 0), 1));
  g.drawLine(QPointF(r.left() + 4, r.top() + 5), QPointF(r.left() + 8, r.top() + 5));
  g.drawLine(QPointF(r.left() + 4, r.top() + 8), QPointF(r.right() - 4, r.top() + 8));
}

void Word(QPainter& g, QRectF r, const QString& word, QColor colour, int pixelSize) {
  QFont f("DejaVu Sans");
  f.setPixelSize(pixelSize);
  f.setBold(true);
  g.setFont(f);
  g.setPen(colour);
  g.drawText(r, Qt::AlignCenter, word);
}

void Picture(QPainter& g, QRectF r, QColor sky) {
  g.setPen(QPen(QColor(120, 80, 30), 1.5));
  g.setBrush(sky);
  g.drawRect(r);
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(0, 150, 0));
  QPolygonF hill{QPointF(r.left() + 1, r.bottom()), QPointF(r.center().x() - 1, r.top() + r.height() * 0.45),
                 QPointF(r.right() - 1, r.bottom())};
  g.drawPolygon(hill);
  g.setBrush(QColor(255, 100, 0));
  g.drawEllipse(QPointF(r.right() - 3.5, r.top() + 3.5), 1.6, 1.6);
}

QPixmap DrawToolbar(int index) {
  QPixmap p = Canvas(24);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  switch (index) {
    case 0:  // a sheet of text
      Sheet(g, QRectF(5.5, 2.5, 13, 19));
      break;
    case 1: {  // a hand sending a sheet, with a red arrow
      Sheet(g, QRectF(3.5, 3.5, 10, 13));
      g.setBrush(QColor(240, 200, 160));
      g.setPen(QPen(kInk, 1));
      g.drawRoundedRect(QRectF(2.5, 15.5, 11, 6), 2, 2);
      g.setPen(QPen(kRed, 2));
      g.drawLine(QPointF(14, 9), QPointF(21, 9));
      g.setBrush(kRed);
      g.setPen(Qt::NoPen);
      g.drawPolygon(QPolygonF{QPointF(22.5, 9), QPointF(18, 5), QPointF(18, 13)});
      break;
    }
    case 2:  // an open folder
      Folder(g, QRectF(2.5, 4.5, 18, 15), true);
      break;
    case 3:  // a red cross
      g.setPen(QPen(kRed, 4, Qt::SolidLine, Qt::RoundCap));
      g.drawLine(QPointF(6, 6), QPointF(18, 18));
      g.drawLine(QPointF(18, 6), QPointF(6, 18));
      break;
    case 4: {  // a calculator
      g.setPen(QPen(kInk, 1));
      g.setBrush(QColor(70, 70, 80));
      g.drawRoundedRect(QRectF(5.5, 1.5, 13, 21), 2, 2);
      g.setBrush(kScreen);
      g.drawRect(QRectF(7.5, 3.5, 9, 5));
      g.setBrush(QColor(220, 220, 220));
      g.setPen(Qt::NoPen);
      for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col) g.drawRect(QRectF(7.5 + col * 3.2, 10.5 + row * 3, 2.2, 2));
      break;
    }
    case 5: {  // a padlock
      g.setPen(QPen(QColor(120, 120, 120), 2.5));
      g.setBrush(Qt::NoBrush);
      g.drawArc(QRectF(7, 3, 10, 12), 0, 180 * 16);
      g.drawLine(QPointF(7, 9), QPointF(7, 11));
      g.drawLine(QPointF(17, 9), QPointF(17, 11));
      g.setPen(QPen(kInk, 1));
      g.setBrush(QColor(220, 170, 40));
      g.drawRoundedRect(QRectF(4.5, 10.5, 15, 11), 2, 2);
      g.setBrush(kInk);
      g.drawEllipse(QPointF(12, 15.5), 1.5, 1.5);
      break;
    }
    case 6:  // a magnifier
      g.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
      g.drawLine(QPointF(14.5, 14.5), QPointF(21, 21));
      g.setPen(QPen(kInk, 2));
      g.setBrush(QColor(200, 230, 255));
      g.drawEllipse(QPointF(10, 10), 6.5, 6.5);
      break;
    case 7:  // a closed folder
      Folder(g, QRectF(2.5, 4.5, 19, 15), false);
      break;
    case 8:  // crossed tools
      g.setPen(QPen(QColor(110, 110, 120), 3, Qt::SolidLine, Qt::RoundCap));
      g.drawLine(QPointF(5, 19), QPointF(19, 5));
      g.setPen(QPen(QColor(150, 90, 40), 3, Qt::SolidLine, Qt::RoundCap));
      g.drawLine(QPointF(5, 5), QPointF(19, 19));
      g.setPen(QPen(QColor(110, 110, 120), 2));
      g.setBrush(Qt::NoBrush);
      g.drawEllipse(QPointF(19, 5), 3, 3);
      break;
    default:
      break;
  }
  return p;
}

QPixmap DrawTree(int index) {
  QPixmap p = Canvas(16);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  switch (index) {
    case 0:  // program: a small computer screen
      Screen(g, QRectF(0.5, 2.5, 15, 11));
      break;
    case 1:  // folder
      Folder(g, QRectF(0.5, 1.5, 15, 13), false);
      break;
    case 2:  // matrix: MAT over a bracketed array
      Word(g, QRectF(0, 0, 16, 7), "MAT", kBlue, 6);
      g.setPen(QPen(kInk, 1));
      g.drawPolyline(QPolygonF{QPointF(3, 8.5), QPointF(1.5, 8.5), QPointF(1.5, 15), QPointF(3, 15)});
      g.drawPolyline(QPolygonF{QPointF(13, 8.5), QPointF(14.5, 8.5), QPointF(14.5, 15), QPointF(13, 15)});
      for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) g.drawPoint(QPointF(4.5 + c * 3.5, 10.5 + r * 3));
      break;
    case 3:  // memory backup: MEM beside a slanted bar
      Word(g, QRectF(0, 3, 12, 10), "MEM", kInk, 5);
      g.setPen(QPen(kRed, 2));
      g.drawLine(QPointF(12, 14), QPointF(15, 2));
      break;
    case 4:  // picture, screen image DC
      Picture(g, QRectF(1.5, 2.5, 13, 11), QColor(200, 230, 255));
      break;
    case 5:  // second picture, screen image DD
      Picture(g, QRectF(1.5, 2.5, 13, 11), kScreen);
      break;
    case 6:  // list: LIST over a grid
      Word(g, QRectF(0, 0, 16, 7), "LIST", QColor(0, 120, 0), 5);
      g.setPen(QPen(kInk, 0.8));
      for (int i = 0; i <= 2; ++i) g.drawLine(QPointF(2, 8.5 + i * 3), QPointF(14, 8.5 + i * 3));
      g.drawLine(QPointF(2, 8.5), QPointF(2, 14.5));
      g.drawLine(QPointF(8, 8.5), QPointF(8, 14.5));
      g.drawLine(QPointF(14, 8.5), QPointF(14, 14.5));
      break;
    case 7:  // raw item: MCS over rows of binary digits
      Word(g, QRectF(0, 0, 16, 7), "MCS", QColor(120, 0, 120), 5);
      Word(g, QRectF(0, 7, 16, 5), "0110", kInk, 4);
      Word(g, QRectF(0, 11, 16, 5), "1001", kInk, 4);
      break;
    case 8:  // other kinds: a red question mark
      Word(g, QRectF(0, 0, 16, 16), "?", kRed, 15);
      break;
    case 9:  // text item: a computer screen with a sheet
      Screen(g, QRectF(0.5, 3.5, 12, 10));
      Sheet(g, QRectF(9.5, 0.5, 6, 9));
      break;
    default:
      break;
  }
  return p;
}

}  // namespace

QIcon ToolbarImage(int index) { return QIcon(DrawToolbar(index)); }
QIcon TreeImage(int index) { return QIcon(DrawTree(index)); }

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 64}) {
    QPixmap p = Canvas(size);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.scale(size / 24.0, size / 24.0);
    g.drawPixmap(0, 0, DrawToolbar(4));
    icon.addPixmap(p);
  }
  return icon;
}

QPixmap DragCursor(bool mayDrop) {
  // Qt puts the hot spot of a drag cursor at the picture's centre, so the arrow's tip is drawn there.
  QPixmap p = Canvas(40);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.translate(20, 20);
  QPainterPath arrow;
  arrow.moveTo(0.5, 0.5);
  arrow.lineTo(0.5, 15);
  arrow.lineTo(4.5, 11.5);
  arrow.lineTo(7.5, 18);
  arrow.lineTo(10, 17);
  arrow.lineTo(7, 10.5);
  arrow.lineTo(12, 10.5);
  arrow.closeSubpath();
  g.setPen(QPen(Qt::white, 1));
  g.setBrush(Qt::black);
  g.drawPath(arrow);
  if (mayDrop) {
    Sheet(g, QRectF(8.5, 6.5, 9, 11));
  } else {
    g.setPen(QPen(kRed, 2));
    g.setBrush(Qt::NoBrush);
    g.drawEllipse(QRectF(7, 6, 11, 11));
    g.drawLine(QPointF(9, 8), QPointF(16, 15));
  }
  return p;
}

}  // namespace korvane
