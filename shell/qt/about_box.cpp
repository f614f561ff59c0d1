#include "shell/qt/about_box.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "shell/version.h"

namespace korvane {
namespace {

// Shown in the picture and kept in the hidden version label; follows the
// project version in CMakeLists.txt.
constexpr const char* kVersionText = KORVANE_VERSION_TEXT;

// The link lines of the picture, in its pixels.
constexpr int kLinkLeft = 15, kLinkRight = 240;
constexpr int kWebTop = 145, kWebBottom = 157;
constexpr int kMailTop = 160, kMailBottom = 175;

void DrawCalculator(QPainter& p, QRect body) {
  p.setPen(QPen(QColor(30, 30, 40), 1.5));
  p.setBrush(QColor(70, 74, 90));
  p.drawRoundedRect(body, 8, 8);
  const QRect screen(body.left() + 8, body.top() + 10, body.width() - 16, 38);
  p.setBrush(QColor(190, 220, 200));  // the calculator's screen colour
  p.drawRect(screen);
  p.setPen(QPen(QColor(0, 0, 200), 1));
  for (int x = 0; x < screen.width() - 6; ++x) {
    const double t = x / 9.0;
    const int y = screen.center().y() - static_cast<int>(12 * std::sin(t) * std::exp(-t / 8));
    p.drawPoint(screen.left() + 3 + x, y);
  }
  p.setPen(Qt::NoPen);
  for (int row = 0; row < 5; ++row)
    for (int col = 0; col < 4; ++col) {
      p.setBrush(row == 4 && col == 3 ? QColor(255, 100, 0) : QColor(200, 204, 214));
      p.drawRoundedRect(body.left() + 9 + col * 14, body.top() + 58 + row * 12, 10, 7, 2, 2);
    }
}

QString AboutText(const TextLookup* texts, int id, const char* english) {
  return texts ? QString::fromLatin1(texts->Text(id)) : QString::fromLatin1(english);
}

}  // namespace

QPixmap AboutBox::Picture(const TextLookup* texts) {
  QPixmap picture(ABOUT_WIDTH, ABOUT_HEIGHT);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, ABOUT_HEIGHT);
  sky.setColorAt(0, QColor(18, 52, 86));
  sky.setColorAt(1, QColor(8, 20, 36));
  p.fillRect(picture.rect(), sky);
  DrawCalculator(p, QRect(222, 18, 66, 122));

  QFont title("Sans Serif");
  title.setPixelSize(34);
  title.setBold(true);
  p.setFont(title);
  p.setPen(QColor(240, 244, 250));
  p.drawText(QPoint(16, 52), "Korvane");
  QFont small("Sans Serif");
  small.setPixelSize(11);
  p.setFont(small);
  p.setPen(QColor(180, 200, 220));
  p.drawText(QRect(17, 62, 200, 60), Qt::TextWordWrap,
             AboutText(texts, STR_ABOUT_DESCRIPTION,
                       "A companion for the graphing calculator: library, link, editor, exchange files and emulator."));
  p.drawText(QPoint(17, 132), AboutText(texts, STR_ABOUT_VERSION, "Version %s").replace("%s", kVersionText));

  QFont link = small;
  link.setUnderline(true);
  p.setFont(link);
  p.setPen(QColor(120, 190, 255));
  p.drawText(QRect(kLinkLeft + 2, kWebTop + 1, kLinkRight - kLinkLeft - 2, kWebBottom - kWebTop - 1),
             Qt::AlignLeft | Qt::AlignVCenter, AboutText(texts, STR_ABOUT_README, "Read me: the Korvane user guide"));
  p.drawText(QRect(kLinkLeft + 2, kMailTop + 1, kLinkRight - kLinkLeft - 2, kMailBottom - kMailTop - 1),
             Qt::AlignLeft | Qt::AlignVCenter, QString(ABOUT_MAIL).mid(7));
  return picture;
}

AboutBox::Spot AboutBox::SpotAt(QPoint pixel) {
  if (pixel.x() <= kLinkLeft || pixel.x() >= kLinkRight) return Spot::None;
  if (pixel.y() > kWebTop && pixel.y() < kWebBottom) return Spot::WebPage;
  if (pixel.y() > kMailTop && pixel.y() < kMailBottom) return Spot::Mail;
  return Spot::None;
}

AboutBox::AboutBox(QWidget* owner, Mode mode, UrlOpener openUrl, const TextLookup* texts)
    : QDialog(owner, Qt::FramelessWindowHint | (mode == Mode::Splash ? Qt::SplashScreen : Qt::Dialog)),
      picture_(Picture(texts)),
      openUrl_(openUrl ? std::move(openUrl) : UrlOpener([](const QUrl& url) { QDesktopServices::openUrl(url); })) {
  setObjectName("aboutBox");
  setFixedSize(ABOUT_WIDTH, ABOUT_HEIGHT);
  setMouseTracking(true);
  auto* version = new QLabel(kVersionText, this);
  version->setObjectName("version");
  version->hide();
  if (mode == Mode::Splash) {
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    splashTimer_.setSingleShot(true);
    splashTimer_.setInterval(SPLASH_MILLISECONDS);
    connect(&splashTimer_, &QTimer::timeout, this, &AboutBox::CloseAtTimer);
    splashTimer_.start();
  }
}

void AboutBox::CloseAtTimer() {
  splashTimer_.stop();
  close();
}

void AboutBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, picture_);
}

void AboutBox::mouseMoveEvent(QMouseEvent* event) {
  setCursor(SpotAt(event->position().toPoint()) == Spot::None ? Qt::ArrowCursor : Qt::PointingHandCursor);
}

void AboutBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  switch (SpotAt(event->position().toPoint())) {
    case Spot::WebPage: openUrl_(UserGuideUrl()); break;
    case Spot::Mail: openUrl_(QUrl(ABOUT_MAIL)); break;
    case Spot::None:
      splashTimer_.stop();
      close();
      break;
  }
}

QUrl UserGuideUrl(const ProgramDirectory& directory) {
  const std::string dir = directory.DataDir();
  const QString guide = QString::fromStdString(dir + USER_GUIDE_FILE);
  return QUrl::fromLocalFile(QFileInfo::exists(guide) ? guide : QString::fromStdString(dir + ABOUT_README_FILE));
}

void ShowAboutBox(QWidget* owner, const TextLookup* texts) {
  AboutBox box(owner, AboutBox::Mode::Modal, {}, texts);
  box.exec();
}

AboutBox* ShowSplash(QWidget* owner, const TextLookup* texts) {
  auto* splash = new AboutBox(owner, AboutBox::Mode::Splash, {}, texts);
  splash->show();
  return splash;
}

}  // namespace korvane
