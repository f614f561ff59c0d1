// Renders the SVG icon as PNG files of the usual icon sizes:
//   make_icon_pngs ICON.svg OUTDIR SIZE...   writes OUTDIR/SIZExSIZE/korvane.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: make_icon_pngs ICON.svg OUTDIR SIZE...\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid()) {
    std::fprintf(stderr, "make_icon_pngs: %s is not a valid SVG file\n", argv[1]);
    return 1;
  }
  for (int i = 3; i < argc; ++i) {
    const int size = QString::fromLatin1(argv[i]).toInt();
    if (size <= 0) return 2;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    const QString dir = QString::fromLocal8Bit(argv[2]) + QString("/%1x%1").arg(size);
    const QString file = dir + "/korvane.png";
    if (!QDir().mkpath(dir) || !image.save(file + ".new", "PNG") || !(QFile::remove(file) || !QFile::exists(file)) ||
        !QFile::rename(file + ".new", file)) {
      std::fprintf(stderr, "make_icon_pngs: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
