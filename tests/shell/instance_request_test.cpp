#include "shell/instance_request.h"

#include <gtest/gtest.h>

#include "storage/byte_order.h"

namespace korvane {
namespace {

std::vector<std::uint8_t> Frame(const InstanceRequest& request) {
  auto frame = EncodeInstanceRequest(request);
  EXPECT_TRUE(frame);
  return frame.value_or(std::vector<std::uint8_t>{});
}

TEST(InstanceRequest, FilesTravelWholeAndInOrderAcrossArrivals) {
  const InstanceRequest sent{InstanceRequestKind::OpenFiles, {"/home/me/demo.v2.cat", "/tmp/x y/\xe4.cas"}};
  const auto frame = Frame(sent);

  // Byte by byte, as a slow socket delivers: whole only at the last byte.
  for (std::size_t n = 0; n < frame.size(); ++n) {
    const FrameCheck partial = CheckInstanceFrame(std::span(frame).first(n));
    ASSERT_EQ(partial.state, FrameState::NeedMore) << n;
  }
  // A second frame behind the first does not make the first any longer.
  auto two = frame;
  const auto raise = Frame({InstanceRequestKind::Raise, {}});
  two.insert(two.end(), raise.begin(), raise.end());
  const FrameCheck whole = CheckInstanceFrame(two);
  ASSERT_EQ(whole.state, FrameState::Complete);
  ASSERT_EQ(whole.length, frame.size());

  const auto received = DecodeInstanceRequest(std::span(two).first(whole.length));
  ASSERT_TRUE(received);
  EXPECT_EQ(received->kind, InstanceRequestKind::OpenFiles);
  EXPECT_EQ(received->files, sent.files);
  const auto raised = DecodeInstanceRequest(std::span(two).subspan(whole.length));
  ASSERT_TRUE(raised);
  EXPECT_EQ(raised->kind, InstanceRequestKind::Raise);
  EXPECT_TRUE(raised->files.empty());
}

TEST(InstanceRequest, FramesThatBreakALimitOrLieAboutLengthsAreRefused) {
  const auto good = Frame({InstanceRequestKind::OpenFiles, {"/a.cat", "/b.cas"}});

  auto wrongMagic = good;
  wrongMagic[0] = 'X';
  EXPECT_EQ(CheckInstanceFrame(std::span(wrongMagic).first(1)).state, FrameState::Invalid);

  auto huge = good;
  WriteU32LE(huge, 4, 0xFFFFFFF0u);
  EXPECT_EQ(CheckInstanceFrame(huge).state, FrameState::Invalid);

  auto unknownKind = good;
  unknownKind[8] = 9;
  EXPECT_FALSE(DecodeInstanceRequest(unknownKind));

  // A count of more files than the frame holds, and a path that runs past the end.
  auto moreFiles = good;
  WriteU32LE(moreFiles, 9, 3);
  EXPECT_FALSE(DecodeInstanceRequest(moreFiles));
  auto longPath = good;
  WriteU32LE(longPath, 13, 200);
  EXPECT_FALSE(DecodeInstanceRequest(longPath));

  // Bytes after the last path within the frame's own length.
  auto trailing = good;
  trailing.push_back('!');
  WriteU32LE(trailing, 4, ReadU32LE(trailing, 4) + 1);
  EXPECT_FALSE(DecodeInstanceRequest(trailing));

  // The sender keeps to the same limits.
  EXPECT_FALSE(EncodeInstanceRequest({InstanceRequestKind::OpenFiles, {""}}));
  EXPECT_FALSE(EncodeInstanceRequest({InstanceRequestKind::OpenFiles, {std::string(INSTANCE_MAX_PATH + 1, 'a')}}));
  EXPECT_FALSE(EncodeInstanceRequest(
      {InstanceRequestKind::OpenFiles, std::vector<std::string>(INSTANCE_MAX_FILES + 1, "/a")}));
  // Within each limit but more than a frame holds.
  EXPECT_FALSE(EncodeInstanceRequest(
      {InstanceRequestKind::OpenFiles, std::vector<std::string>(INSTANCE_MAX_FILES, std::string(INSTANCE_MAX_PATH, 'a'))}));
}

}  // namespace
}  // namespace korvane
