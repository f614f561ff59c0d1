// A window for trying the calculator keypad and the full-screen output by
// hand (or with xdotool under Xvfb) before run control joins them to the
// interpreter. The screen shows the key held: "Key 31" while EXE is down.
// Options: --fullscreen shows the screen through the full-screen library;
// --scale N sizes the window for the picture at N x. Key changes and stop
// requests are printed on standard output. Run it with KORVANE_HOME=build/bin.

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <string>

#include "emulator/calculator_picture.h"
#include "emulator/full_screen_library.h"
#include "emulator/qt/calculator_widget.h"
#include "settings/language_table.h"
#include "emulator/qt/full_screen_output.h"
#include "shell/stream_message_sink.h"
#include "support/fake_frame_source.h"

using namespace korvane;

namespace {

// Text-screen cell (column, line), both from 1.
void PrintAt(RgbImage& frame, const CalculatorFonts& fonts, int column, int line, const std::string& text, Rgb ink) {
  fonts.DrawLargeText(frame, (column - 1) * LARGE_ADVANCE + 1, (line - 1) * 8, text, ink, COLOUR_BACKGROUND);
}

RgbImage KeyFrame(const CalculatorFonts& fonts, std::uint32_t key) {
  RgbImage frame(FRAME_WIDTH, FRAME_HEIGHT, COLOUR_BACKGROUND);
  PrintAt(frame, fonts, 1, 1, "KORVANE KEYPAD", COLOUR_BLUE);
  PrintAt(frame, fonts, 1, 3, key == 0 ? "Key  -" : "Key " + std::to_string(key), COLOUR_ORANGE);
  PrintAt(frame, fonts, 1, 8, "Esc or AC/ON: stop", COLOUR_GREEN);
  frame.DrawLine(0, 40, 127, 40, COLOUR_GREEN);
  return frame;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  bool fullScreen = false;
  int scale = 2;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--fullscreen") fullScreen = true;
    if (arg == "--scale" && i + 1 < argc) scale = std::max(1, std::atoi(argv[++i]));
  }

  const ProgramDirectory directory = ProgramDirectory::FromEnvironment();
  StreamMessageSink messages(std::cerr);
  CalculatorFonts fonts;
  (void)fonts.LoadLargeFont(directory, messages);
  (void)fonts.LoadSmallFont(directory, messages);

  test::FakeFrameSource frames;
  frames.Publish(KeyFrame(fonts, 0));
  KeyLatch keys;
  const LanguageTable english;
  CalculatorWidget calculator(DrawCalculatorPicture(fonts), frames, keys, english);
  calculator.setWindowTitle(QStringLiteral("Korvane keypad preview"));
  calculator.resize(CALCULATOR_PICTURE_WIDTH * scale, CALCULATOR_SHOWN_HEIGHT * scale);

  FullScreenOutput output(directory.LibraryFile(FULL_SCREEN_LIBRARY_FILE), messages, frames, &calculator);
  auto stop = [&] {
    std::printf("stop\n");
    std::fflush(stdout);
    output.CloseFullScreen();
  };
  QObject::connect(&calculator, &CalculatorWidget::StopRequested, stop);
  QObject::connect(&output, &FullScreenOutput::StopRequested, stop);

  // What a run would do: read the key and draw.
  std::uint32_t shownKey = 0;
  QTimer reader;
  QObject::connect(&reader, &QTimer::timeout, [&] {
    const std::uint32_t key = keys.Look();
    if (key == shownKey) return;
    shownKey = key;
    std::printf("key %u\n", key);
    std::fflush(stdout);
    frames.Publish(KeyFrame(fonts, key));
  });
  reader.start(10);

  calculator.show();
  if (fullScreen) std::printf("fullscreen %d\n", output.OpenFullScreen(calculator.screen()));
  std::fflush(stdout);
  return app.exec();
}
