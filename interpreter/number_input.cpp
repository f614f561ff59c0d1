#include "interpreter/number_input.h"

#include <array>
#include <string>

#include "text/rgb_image.h"

namespace korvane {
namespace {

constexpr int kLineLength = 21;
constexpr std::uint64_t kBlinkMs = 600;

// Key codes of the digits 0 to 9.
constexpr std::array<std::uint32_t, 10> kDigitKeys = {71, 72, 62, 52, 73, 63, 53, 74, 64, 54};
constexpr std::uint32_t kMinusKey = 32;
constexpr std::uint32_t kNegativeKey = 41;

int DigitOfKey(std::uint32_t key) {
  for (int d = 0; d < 10; ++d) {
    if (kDigitKeys[std::size_t(d)] == key) return d;
  }
  return -1;
}

}  // namespace

Value ReadNumberInput(RunScreen& screen, RunHost& host) {
  const std::uint32_t blue = ColourValue(COLOUR_BLUE);
  const int after = screen.ColumnAfterString();
  if (after > 0 && after < kLineLength) {
    screen.PrintAt(after + 1, screen.OutputLine() - 1, "?", blue, false);
  } else {
    screen.PrintLines("?", blue, false);
  }
  screen.ScrollIfFull();
  const int line = screen.OutputLine();

  // A key still down from before the prompt (the menu key a Getkey loop
  // read) is no digit of the answer.
  host.ClearCurrentKey();
  double value = 0.0;
  bool negative = false;
  int column = 1;
  const std::uint64_t start = host.TickMs();
  bool cursorOn = true;
  screen.PrintAt(column, line, "_", blue, false);
  screen.RefreshDisplay(false);
  while (host.EmulatorRunning()) {
    const std::uint32_t key = host.CurrentKey();
    if (key == EXE_KEY_CODE) break;
    bool typed = false;
    if (const int digit = DigitOfKey(key); digit >= 0) {
      value = value * 10.0 + digit;
      screen.PrintAt(column++, line, std::string(1, char('0' + digit)), blue, false);
      typed = true;
    } else if (key == kMinusKey || key == kNegativeKey) {
      negative = true;
      screen.PrintAt(column++, line, "-", blue, false);
      typed = true;
    }
    if (key != 0) host.ClearCurrentKey();
    const bool blinkOn = ((host.TickMs() - start) / kBlinkMs) % 2 == 0;
    if (typed || blinkOn != cursorOn) {
      cursorOn = blinkOn;
      screen.PrintAt(column, line, cursorOn ? "_" : " ", blue, false);
      screen.RefreshDisplay(false);
    }
    host.Pace(PACE_COST_KEY_WAIT);
    if (host.FullSpeed()) host.Sleep(FULL_SPEED_KEY_LOOK_MS);
  }
  screen.PrintAt(column, line, " ", blue, false);
  screen.SetOutputLine(line + 1);
  host.ClearCurrentKey();
  return Value::Real(negative ? -value : value);
}

}  // namespace korvane
