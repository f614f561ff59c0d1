// The run's messages on their way to the user-interface thread: one box at a
// time, a repeated message dropped, a few waiting at most, and a reader
// scheduled once for each quiet spell.

#include "emulator/run_message_queue.h"

#include <gtest/gtest.h>

#include <thread>

namespace korvane {
namespace {

Message Numbered(int textId, std::int64_t n = 0) { return TextMessage(textId, {n}); }

TEST(RunMessageQueueTest, TheReaderIsScheduledOnceAndTakesMessagesInOrder) {
  RunMessageQueue queue;
  EXPECT_TRUE(queue.Push(Numbered(66, 1)));   // schedule the reader
  EXPECT_FALSE(queue.Push(Numbered(66, 2)));  // already due
  auto first = queue.Next();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->args, std::vector<FormatArg>{std::int64_t(1)});
  // Called again from within the first box (a nested event loop): nothing yet.
  EXPECT_FALSE(queue.Next());
  queue.Done();
  ASSERT_TRUE(queue.Next());
  queue.Done();
  EXPECT_FALSE(queue.Next());  // empty: the reader is no longer due
  EXPECT_TRUE(queue.Push(Numbered(66, 3)));
}

TEST(RunMessageQueueTest, ARepeatedMessageIsDroppedWhileWaitingOrShownAndTheQueueIsCapped) {
  RunMessageQueue queue;
  EXPECT_TRUE(queue.Push(Numbered(144)));
  const auto shown = queue.Next();
  ASSERT_TRUE(shown);
  // The same message at every statement while its box is open.
  for (int i = 0; i < 1000; ++i) queue.Push(Numbered(144));
  EXPECT_EQ(queue.Waiting(), 0u);
  // Different ones wait, up to the cap.
  for (int i = 0; i < 10; ++i) queue.Push(Numbered(66, i));
  EXPECT_EQ(queue.Waiting(), RunMessageQueue::MAX_WAITING);
  queue.Done();
  // Once the box is closed, the message may come again.
  queue.Push(Numbered(144));
  EXPECT_EQ(queue.Waiting(), RunMessageQueue::MAX_WAITING);  // still capped
  EXPECT_FALSE(SameMessage(Numbered(66, 1), Numbered(66, 2)));
  EXPECT_TRUE(SameMessage(Numbered(66, 1), Numbered(66, 1)));
  // Korvane's own texts differ by their name, not only by id, text and arguments.
  EXPECT_FALSE(SameMessage(OwnTextMessage(KorvaneText::RunTooManyPrograms),
                           OwnTextMessage(KorvaneText::RunProgramMemoryFull)));
}

TEST(RunMessageQueueTest, MessagesFromAnotherThreadAreNotLost) {
  RunMessageQueue queue;
  int scheduled = 0;
  int read = 0;
  std::thread run([&] {
    for (int i = 0; i < 200; ++i) scheduled += queue.Push(Numbered(66, i % 3)) ? 1 : 0;
  });
  run.join();
  while (const auto m = queue.Next()) {
    ++read;
    queue.Done();
  }
  EXPECT_EQ(scheduled, 1);
  EXPECT_EQ(read, 3);
}

}  // namespace
}  // namespace korvane
