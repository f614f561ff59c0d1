#pragma once
// The calculator fonts that go with the program, loaded once per test run.

#include <gtest/gtest.h>

#include "shell/program_directory.h"
#include "support/recording_message_sink.h"
#include "text/calculator_font.h"

namespace korvane::test {

inline const CalculatorFonts& ShippedFonts() {
  static const CalculatorFonts fonts = [] {
    CalculatorFonts f;
    RecordingMessageSink sink;
    const ProgramDirectory dir(KORVANE_PROGRAM_DIR, KORVANE_PROGRAM_DIR);
    EXPECT_TRUE(f.LoadLargeFont(dir, sink));
    EXPECT_TRUE(f.LoadSmallFont(dir, sink));
    return f;
  }();
  return fonts;
}

}  // namespace korvane::test
