// Keys from a script: parsed from the command line, pressed when the program
// has read no key for a while, held, taken and released like a finger's.

#include "emulator/key_script.h"

#include <gtest/gtest.h>

#include "emulator/emulator_host.h"

namespace korvane {
namespace {

TEST(KeyScript, ParsesCommaSeparatedKeyCodes) {
  EXPECT_EQ(KeyScript::Parse("31,31,72"), (std::vector<std::uint32_t>{31, 31, 72}));
  EXPECT_EQ(KeyScript::Parse("99"), std::vector<std::uint32_t>{99});
  for (const char* bad : {"", "31,", ",31", "31,,72", "0", "100", "a", " 31", "31 ", "-1", "3.1"})
    EXPECT_EQ(KeyScript::Parse(bad), std::nullopt) << bad;
}

TEST(KeyScript, PressesAfterAWhileWithoutAKeyHoldsAndReleases) {
  KeyScript keys({31, 72});
  EXPECT_EQ(keys.Look(0), 0u);
  EXPECT_EQ(keys.Look(49), 0u);
  EXPECT_EQ(keys.Look(50), 31u);   // read no key for 50 ms: the first is pressed
  EXPECT_EQ(keys.Look(149), 31u);  // held
  EXPECT_EQ(keys.Look(150), 0u);   // released after 100 ms
  EXPECT_EQ(keys.Look(199), 0u);
  EXPECT_EQ(keys.Look(200), 72u);
  keys.Take();                     // the run took it: no key, though still held down
  EXPECT_EQ(keys.Look(260), 0u);
  EXPECT_EQ(keys.Remaining(), 0u);
  EXPECT_EQ(keys.Look(5000), 0u);  // the script has run out
}

TEST(KeyScript, ALookAfterALongPauseCountsTheWholePause) {
  KeyScript keys({27});
  EXPECT_EQ(keys.Look(10), 0u);
  EXPECT_EQ(keys.Look(900), 27u);
}

TEST(EmulatorHost, KeysComeFromTheScriptWhenOneIsSet) {
  EmulatorHost host;
  host.SetCurrentKey(44);
  EXPECT_EQ(host.CurrentKey(), 44u);
  host.ClearCurrentKey();
  EXPECT_EQ(host.CurrentKey(), 0u);
  KeyScript keys({31});
  host.SetKeyScript(&keys);
  host.SetCurrentKey(44);
  EXPECT_EQ(host.CurrentKey(), 0u);  // the first look starts the wait
}

}  // namespace
}  // namespace korvane
