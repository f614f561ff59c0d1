// Short taps and held keys as a run sees them: every press reaches at least
// one look, a held key reads on every look, and a key that was seen and let
// go reads 0. The runs use a fake clock; front-end presses and releases land
// between two looks, at the tick they are scheduled for.

#include "emulator/key_latch.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "interpreter/program_run_fixture.h"

namespace korvane::test {
namespace {

TEST(KeyLatch, ATapIsSeenOnceAndAHeldKeyOnEveryLook) {
  KeyLatch keys;
  EXPECT_EQ(keys.Look(), 0u);
  keys.Press(31);
  keys.Release();
  EXPECT_EQ(keys.HeldKey(), 0u);
  EXPECT_EQ(keys.Look(), 31u);  // released before the run looked: seen all the same
  EXPECT_EQ(keys.Look(), 0u);
  EXPECT_EQ(keys.Look(), 0u);

  keys.Press(27);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(keys.Look(), 27u);
  keys.Release();
  EXPECT_EQ(keys.Look(), 0u);  // seen, then let go: no second report

  // Two taps of one key between two looks are two presses, a release between them.
  for (int i = 0; i < 2; ++i) {
    keys.Press(72);
    keys.Release();
  }
  EXPECT_EQ(keys.Look(), 72u);
  EXPECT_EQ(keys.Look(), 0u);
  EXPECT_EQ(keys.Look(), 72u);
  EXPECT_EQ(keys.Look(), 0u);
  // A second key pressed over a held one, both let go before a look.
  keys.Press(28);
  keys.Press(27);
  keys.Release();
  EXPECT_EQ(keys.Look(), 28u);
  EXPECT_EQ(keys.Look(), 27u);
  EXPECT_EQ(keys.Look(), 0u);
}

TEST(KeyLatch, ATakenKeyReadsNothingUntilPressedAgainButLaterTapsStay) {
  KeyLatch keys;
  keys.Press(31);
  EXPECT_EQ(keys.Look(), 31u);
  keys.Take();
  EXPECT_EQ(keys.Look(), 0u);
  EXPECT_EQ(keys.HeldKey(), 31u);
  keys.Press(31);  // the keyboard's repeat of the key still held
  EXPECT_EQ(keys.Look(), 31u);
  keys.Release();

  // 1 and EXE typed while a key wait slept: the wait takes 1, then still gets EXE.
  keys.Press(72);
  keys.Release();
  keys.Press(31);
  keys.Release();
  EXPECT_EQ(keys.Look(), 72u);
  keys.Take();
  EXPECT_EQ(keys.Look(), 0u);
  keys.Take();
  EXPECT_EQ(keys.Look(), 31u);
  EXPECT_EQ(keys.Look(), 0u);

  // A repeat of a held key the run still sees is no new press.
  keys.Press(55);
  EXPECT_EQ(keys.Look(), 55u);
  keys.Press(55);
  keys.Release();
  EXPECT_EQ(keys.Look(), 0u);
}

TEST(KeyLatch, ABusyRunGetsABoundedBurstAndClearDropsEverything) {
  KeyLatch keys;
  for (int i = 0; i < 100; ++i) {
    keys.Press(i % 2 == 0 ? 72 : 62);
    keys.Release();
  }
  std::size_t reported = 0;
  while (keys.Look() != 0 || keys.Look() != 0) reported += 2;
  EXPECT_LE(reported, KEY_LATCH_CAPACITY);
  EXPECT_GT(reported, 0u);

  keys.Press(31);
  keys.Release();
  keys.Press(27);
  keys.Clear();
  EXPECT_EQ(keys.HeldKey(), 0u);
  EXPECT_EQ(keys.Look(), 0u);
}

// The fake host's clock, with its keys from a latch that a scripted front end
// presses and releases whenever the clock passes their tick.
class TappingHost : public FakeRunHost {
 public:
  struct Look {
    std::uint64_t atMs;
    std::uint32_t key;
  };

  // `key` 0 is a release.
  void At(std::uint64_t atMs, std::uint32_t key) { script.push_back({atMs, key}); }

  std::uint32_t CurrentKey() override {
    const std::uint32_t key = latch.Look();
    looks.push_back({tick, key});
    return key;
  }
  void ClearCurrentKey() override {
    ++clears;
    latch.Take();
  }
  void Pace(double cost) override {
    FakeRunHost::Pace(cost);
    Deliver();
  }
  void Sleep(std::uint32_t milliseconds) override {
    FakeRunHost::Sleep(milliseconds);
    Deliver();
  }

  // The looks that read `key`.
  std::vector<Look> LooksAt(std::uint32_t key) const {
    std::vector<Look> found;
    for (const Look& l : looks)
      if (l.key == key) found.push_back(l);
    return found;
  }

  KeyLatch latch;
  std::vector<Look> looks;

 private:
  void Deliver() {
    while (!script.empty() && script.front().atMs <= tick) {
      latch.Press(script.front().key);
      script.pop_front();
    }
  }

  std::deque<Press> script;
};

using TappedRunTest = ProgramRunOn<TappingHost>;

// A Getkey loop that draws between its looks, so each look is a few ticks apart.
constexpr std::string_view kDrawingGetkeyLoop = "For 1→I To 40\nGetkey→K\nF-Line 1,1,9,9\nNext";

TEST_F(TappedRunTest, ATapBetweenTwoLooksReachesTheGetkeyLoopOnce) {
  host.At(20, 31);
  host.At(20, 0);
  Run(kDrawingGetkeyLoop);
  const auto seen = host.LooksAt(31);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_GE(seen[0].atMs, 20u);
  ASSERT_GE(host.looks.size(), 40u);
  EXPECT_LT(host.looks.front().atMs, 20u);  // the loop was looking before the tap too
  for (const auto& look : host.looks) {
    if (look.atMs < 20) {
      EXPECT_EQ(look.key, 0u);
    }
  }
}

TEST_F(TappedRunTest, AHeldKeyReadsOnEveryLookUntilItsRelease) {
  host.At(10, 27);
  host.At(30, 0);
  Run(kDrawingGetkeyLoop);
  int held = 0;
  for (const auto& look : host.looks) {
    const bool down = look.atMs >= 10 && look.atMs < 30;
    EXPECT_EQ(look.key, down ? 27u : 0u) << look.atMs;
    held += down;
  }
  EXPECT_GT(held, 2);
  EXPECT_GT(host.looks.back().atMs, 30u);
}

TEST_F(TappedRunTest, TapsDuringAKeyWaitAreNotLost) {
  // EXE tapped while the pause sleeps between two looks ends it; so do 1, 2
  // and EXE typed faster than the number input looks.
  host.At(100, 31);
  host.At(100, 0);
  for (const std::uint32_t key : {72u, 0u, 62u, 0u, 31u, 0u}) host.At(400, key);
  host.stopAtMs = 5000;
  Run("\"A\"◢\n\"N\"?→N\n5→A");
  EXPECT_EQ(Var('N'), 12);
  EXPECT_EQ(Var('A'), 5);
}

TEST_F(TappedRunTest, AKeyHeldThroughTwoPausesEndsOnlyTheFirst) {
  host.At(100, 31);
  host.At(2000, 0);
  host.stopAtMs = 1000;
  EXPECT_EQ(Run("1→A◢\n2→A◢\n3→A"), RunEnd::Stopped);
  EXPECT_EQ(Var('A'), 2);
}

}  // namespace
}  // namespace korvane::test
