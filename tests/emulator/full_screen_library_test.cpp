#include "emulator/full_screen_library.h"

#include <gtest/gtest.h>

#include "support/recording_message_sink.h"

namespace korvane {
namespace {

// Without a loaded library nothing is called, and every use tries the file
// again (the user may have put it back meanwhile).
TEST(FullScreenLibraryTest, AMissingOrIncompleteLibraryIsReportedAtEveryTry) {
  test::RecordingMessageSink messages;
  FullScreenLibrary library;
  EXPECT_FALSE(library.Load("/nonexistent/libplenview.so", messages));
  EXPECT_FALSE(library.Load("/nonexistent/libplenview.so", messages));
  EXPECT_EQ(messages.TextIds(), (std::vector<int>{MSG_FULL_SCREEN_LIBRARY_MISSING, MSG_FULL_SCREEN_LIBRARY_MISSING}));
  EXPECT_EQ(messages.messages[0].captionId, CAPTION_ERROR);
  EXPECT_FALSE(library.Loaded());
  EXPECT_EQ(library.Create(nullptr), FULL_SCREEN_OFF);
  library.Destroy();

  messages.Clear();
  EXPECT_FALSE(library.Load("libm.so.6", messages));
  EXPECT_EQ(messages.TextIds(), std::vector<int>{MSG_FULL_SCREEN_LIBRARY_INCOMPLETE});
  EXPECT_FALSE(library.Loaded());
}

}  // namespace
}  // namespace korvane
