#include "emulator/qt/calculator_widget.h"

#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QPainter>
#include <algorithm>

#include "emulator/calculator_picture.h"
#include "emulator/key_highlight.h"
#include "emulator/key_names.h"
#include "emulator/pc_key_names.h"
#include "emulator/keypad.h"
#include "emulator/qt/container_view.h"
#include "emulator/qt/frame_poller.h"
#include "emulator/qt/pc_keys.h"
#include "settings/qt/widget_text.h"

namespace korvane {
namespace {

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

// The picture shared as it looks on the calculator: square pixels, no smoothing.
constexpr int kCopyScale = 4;

}  // namespace

CalculatorWidget::CalculatorWidget(const RgbImage& picture, FrameSource& frames,
                                   KeyLatch& keys, const TextLookup& texts, QWidget* parent)
    : QWidget(parent),
      shown_(ToQImage(picture, CALCULATOR_PICTURE_WIDTH, CALCULATOR_SHOWN_HEIGHT)),
      poller_(new FramePoller(frames, this)),
      keys_(keys),
      texts_(texts) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAutoFillBackground(true);
  setMinimumSize(CALCULATOR_PICTURE_WIDTH, CALCULATOR_SHOWN_HEIGHT);
  connect(poller_, &FramePoller::FrameChanged, this, &CalculatorWidget::ShowFrame);
  ShowFrame();
}

CalculatorWidget::~CalculatorWidget() = default;

int CalculatorWidget::Scale() const {
  return std::max(1, std::min(width() / CALCULATOR_PICTURE_WIDTH, height() / CALCULATOR_SHOWN_HEIGHT));
}

QPoint CalculatorWidget::PictureOrigin() const {
  const int scale = Scale();
  return {std::max(0, (width() - CALCULATOR_PICTURE_WIDTH * scale) / 2),
          std::max(0, (height() - CALCULATOR_SHOWN_HEIGHT * scale) / 2)};
}

std::optional<QPoint> CalculatorWidget::PicturePoint(QPoint widgetPoint) const {
  const QPoint relative = widgetPoint - PictureOrigin();
  if (relative.x() < 0 || relative.y() < 0) return std::nullopt;
  const int scale = Scale();
  const QPoint pixel(relative.x() / scale, relative.y() / scale);
  if (pixel.x() >= CALCULATOR_PICTURE_WIDTH || pixel.y() >= CALCULATOR_SHOWN_HEIGHT) return std::nullopt;
  return pixel;
}

bool CalculatorWidget::PollFrame() { return poller_->Poll(); }

const RgbImage& CalculatorWidget::Frame() const { return poller_->Frame(); }

void CalculatorWidget::ShowFrame() {
  {
    QPainter painter(&shown_);
    painter.drawImage(0, 0, ToQImage(poller_->Frame(), FRAME_WIDTH, FRAME_HEIGHT));
  }
  const int scale = Scale();
  update(QRect(PictureOrigin(), QSize(FRAME_WIDTH, FRAME_HEIGHT) * scale));
}

QRect CalculatorWidget::KeyArea(std::uint32_t key) const {
  const auto rect = KeyRectangle(key);
  if (!rect) return {};
  const int scale = Scale();
  // The ring lies on the rectangle's outline, one pixel beyond the key's inside.
  return QRect(PictureOrigin() + QPoint(rect->x, rect->y) * scale,
               QSize(rect->width + 1, rect->height + 1) * scale);
}

void CalculatorWidget::Highlight(std::uint32_t key) {
  if (key == highlighted_) return;
  update(KeyArea(highlighted_));
  highlighted_ = key;
  update(KeyArea(highlighted_));
}

void CalculatorWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int scale = Scale();
  const QPoint origin = PictureOrigin();
  // Whole-number scaling without smoothing: each picture pixel a square block.
  painter.drawImage(QRect(origin, shown_.size() * scale), shown_);
  if (const auto rect = KeyRectangle(highlighted_)) {
    const QColor colour = ToQColor(HighlightColour(CalculatorKeypad()[highlighted_].shape));
    for (const PicturePixel& p : HighlightRing(*rect))
      painter.fillRect(QRect(origin + QPoint(p.x, p.y) * scale, QSize(scale, scale)), colour);
  }
}

QString CalculatorWidget::KeyTooltip(std::uint32_t key) const {
  const QString name = QString::fromUtf8(CalculatorKeyName(key));
  QStringList pcKeys;
  for (const PcKey pcKey : keyMap_.PcKeysOf(key)) pcKeys << QString::fromUtf8(NameOfPcKey(pcKey));
  if (pcKeys.isEmpty()) return name + QLatin1Char('\n') + WidgetText(texts_, KorvaneText::KeypadNoPcKey);
  const QString shown = key == KEY_AC_ON ? WidgetText(texts_, KorvaneText::KeypadStops, {name}) : name;
  return shown + QLatin1Char('\n') + WidgetText(texts_, KorvaneText::KeypadPcKeys, {pcKeys.join(QStringLiteral(", "))});
}

void CalculatorWidget::CopyScreen() const {
  const QImage screen = ToQImage(poller_->Frame(), FRAME_WIDTH, FRAME_HEIGHT);
  QApplication::clipboard()->setImage(
      screen.scaled(screen.size() * kCopyScale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

bool CalculatorWidget::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // The keys the calculator uses are its own, not the main window's shortcuts
    // (F2, F3, F5 and F6 are calculator keys too); so is Ctrl+C.
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Copy) || EmulatorActionOf(*key, keyMap_).kind != KeyboardAction::Kind::Ignore) {
      event->accept();
      return true;
    }
  }
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const auto pixel = PicturePoint(help->pos());
    const std::uint32_t key = pixel ? KeyAt(pixel->x(), pixel->y()) : KEY_NONE;
    if (key == KEY_NONE)
      QToolTip::hideText();
    else
      QToolTip::showText(help->globalPos(), KeyTooltip(key), this, KeyArea(key));
    return true;
  }
  return QWidget::event(event);
}

void CalculatorWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  setFocus(Qt::MouseFocusReason);
  const auto pixel = PicturePoint(event->position().toPoint());
  const std::uint32_t key = pixel ? KeyAt(pixel->x(), pixel->y()) : KEY_NONE;
  if (key == KEY_AC_ON) {
    emit StopRequested();
    return;
  }
  keys_.Press(key);
}

void CalculatorWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  keys_.Release();
}

void CalculatorWidget::mouseMoveEvent(QMouseEvent* event) {
  const auto pixel = PicturePoint(event->position().toPoint());
  Highlight(pixel ? KeyAt(pixel->x(), pixel->y()) : KEY_NONE);
  QWidget::mouseMoveEvent(event);
}

void CalculatorWidget::leaveEvent(QEvent* event) {
  Highlight(KEY_NONE);
  QWidget::leaveEvent(event);
}

void CalculatorWidget::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    CopyScreen();
    event->accept();
    return;
  }
  const KeyboardAction action = EmulatorActionOf(*event, keyMap_);
  switch (action.kind) {
    case KeyboardAction::Kind::Press:
      keys_.Press(action.key);
      break;
    case KeyboardAction::Kind::Stop:
      emit StopRequested();
      break;
    case KeyboardAction::Kind::Ignore:
      return QWidget::keyPressEvent(event);
  }
  event->accept();
}

void CalculatorWidget::keyReleaseEvent(QKeyEvent* event) {
  // A held key repeats as release and press pairs: it stays down until let go.
  if (event->isAutoRepeat()) return;
  keys_.Release();
  event->accept();
}

void CalculatorWidget::focusOutEvent(QFocusEvent* event) {
  // The release of a key held now goes to another window: let it go here.
  keys_.Release();
  QWidget::focusOutEvent(event);
}

bool CalculatorWidget::focusNextPrevChild(bool) { return false; }  // Tab is a calculator key

void CalculatorWidget::showEvent(QShowEvent* event) {
  poller_->Start();
  QWidget::showEvent(event);
}

void CalculatorWidget::hideEvent(QHideEvent* event) {
  poller_->Stop();
  QWidget::hideEvent(event);
}

}  // namespace korvane
