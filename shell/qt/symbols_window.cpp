#include "shell/qt/symbols_window.h"

#include <QPushButton>
#include <algorithm>

#include "text/calculator_charset.h"

namespace korvane {

SymbolsWindow::SymbolsWindow(QWidget* owner, const TextLookup& texts)
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName("Korvane Symbols");
  setWindowTitle(QString::fromLatin1(texts.Text(4)));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFixedSize(100, 150);
  move(400, 50);

  QFont font("Korvane FX");
  font.setPixelSize(21);
  for (const SymbolPlace& place : SYMBOL_PLACES) {
    const char32_t character = CalcToUnicode(static_cast<std::uint8_t>(place.code));
    auto* button = new QPushButton(QString::fromUcs4(&character, 1), this);
    button->setObjectName(QString("symbol%1").arg(place.code));
    button->setFont(font);
    button->setGeometry(place.x, place.y, 20, 20);
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

void SymbolsWindow::ShowWithoutActivating() { show(); }

}  // namespace korvane
