#include "shell/qt/symbols_window.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "text/calculator_charset.h"

namespace korvane {

SymbolsWindow::SymbolsWindow(QWidget* owner, const TextLookup& texts)
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName("Korvane Symbols");
  setWindowTitle(QString::fromLatin1(texts.Text(4)));
  setAttribute(Qt::WA_ShowWithoutActivating);
  // The grid of the original window (steps of 20) spread to steps of kStep.
  const auto at = [](int original) { return kMargin + (original - 5) / 20 * kStep; };
  setFixedSize(at(65) + kButtonSize + kMargin, at(105) + kButtonSize + kMargin);
  move(400, 50);

  QFont font("Korvane FX");
  font.setPixelSize(21);
  for (const SymbolPlace& place : SYMBOL_PLACES) {
    const char32_t character = CalcToUnicode(static_cast<std::uint8_t>(place.code));
    auto* button = new QPushButton(QString::fromUcs4(&character, 1), this);
    button->setObjectName(QString("symbol%1").arg(place.code));
    button->setFont(font);
    button->setGeometry(at(place.x), at(place.y), kButtonSize, kButtonSize);
    button->setFocusPolicy(Qt::NoFocus);  // the focus stays in the editor
    button->setStyleSheet("padding: 0px;");
    buttons_[static_cast<std::size_t>(place.code)] = button;
    connect(button, &QPushButton::clicked, this, [this, button] {
      const auto it = std::find(buttons_.begin(), buttons_.end(), button);
      if (it != buttons_.end()) emit symbolChosen(static_cast<int>(it - buttons_.begin()));
    });
  }
}

QPushButton* SymbolsWindow::Button(int code) const {
  return code >= 0 && code < 256 ? buttons_[static_cast<std::size_t>(code)] : nullptr;
}

void SymbolsWindow::NameButtons(const TokenTable& tokens) {
  for (const SymbolPlace& place : SYMBOL_PLACES) {
    const std::uint8_t code[] = {static_cast<std::uint8_t>(place.code)};
    QString name;
    if (const auto exchange = tokens.FindExchangeText(code).exchangeText; exchange && !exchange->empty())
      name = QString::fromLatin1(exchange->data(), static_cast<qsizetype>(exchange->size()));
    if (name.startsWith('\\')) name.remove(0, 1);  // the backslash of the exchange spelling
    if (name.isEmpty()) name = buttons_[static_cast<std::size_t>(place.code)]->text();
    buttons_[static_cast<std::size_t>(place.code)]->setToolTip(name);
  }
}

QPoint SymbolsWindow::PlaceBeside(const QRect& mainFrame, const QSize& size, const QRect& screenArea) {
  constexpr int gap = 4;
  const int top = std::clamp(mainFrame.top(), screenArea.top(), std::max(screenArea.top(), screenArea.bottom() - size.height()));
  if (mainFrame.right() + gap + size.width() <= screenArea.right()) return {mainFrame.right() + gap, top};
  if (mainFrame.left() - gap - size.width() >= screenArea.left()) return {mainFrame.left() - gap - size.width(), top};
  // No room beside it: over the item tree at the bottom left, clear of the menu bar.
  const int x = std::max(screenArea.left(), mainFrame.left() + gap);
  const int y = std::clamp(mainFrame.bottom() - size.height() - 40, mainFrame.top() + 80,
                           std::max(mainFrame.top() + 80, screenArea.bottom() - size.height()));
  return {x, y};
}

void SymbolsWindow::ShowWithoutActivating(const QRect& mainFrame) {
  if (mainFrame.isValid()) {
    const QScreen* screen = QGuiApplication::screenAt(mainFrame.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) move(PlaceBeside(mainFrame, frameGeometry().size().expandedTo(size()), screen->availableGeometry()));
  }
  show();
}

}  // namespace korvane
