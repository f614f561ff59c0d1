#include "exchange/fxi_format.h"

#include <gtest/gtest.h>

#include <random>

#include "exchange_samples.h"

namespace korvane {
namespace {

using namespace std::string_view_literals;

// Builds the container around items the way the reader expects to find them.
class FxiBuilder {
 public:
  FxiBuilder() : bytes_(FXI_FIRST_ITEM_OFFSET, 0x00) {}

  // `header` is a 50-byte link header; `body` the bytes that follow it in the container.
  void AddItem(ByteSpan header, ByteSpan body) {
    Append({0x02, 0x00, 0x01, 0x00, 9, 9, 9, 9, 9, 9});
    Append({3, 'a', 'b', 'c'});  // a name of 3 bytes and its length
    Append({0x83, 0x80});
    bytes_.insert(bytes_.end(), 47, 0x00);
    Append({0x01, 0x00, 0x01, 0x00, 7, 7});
    bytes_.insert(bytes_.end(), header.begin() + 1, header.begin() + 49);
    bytes_.insert(bytes_.end(), body.begin(), body.end());
  }
  Bytes Finish(std::size_t trailer = 40) const {
    Bytes file = bytes_;
    file.insert(file.end(), trailer, 0x00);
    for (auto& b : file) b ^= FXI_MASK;
    return file;
  }

 private:
  void Append(std::initializer_list<std::uint8_t> b) { bytes_.insert(bytes_.end(), b); }
  Bytes bytes_;
};

// The container keeps a program without its 0x3A and checksum, then 8 bytes.
Bytes ProgramBody(const ExchangeItem& program) {
  Bytes body(program.data.begin() + 1, program.data.end() - 1);
  body.insert(body.end(), 8, 0xEE);
  return body;
}

Bytes ProgramHeader(const ExchangeItem& program) {
  return *BuildLinkHeader(ITEM_PROGRAM, LinkProtocol::Baud9600, *ReadProgramInfo(program.info));
}

// Value and picture records lose their 0x3A and checksum in the container.
Bytes StrippedRecords(const Bytes& data, std::size_t recordLength) {
  Bytes body;
  for (std::size_t at = 0; at < data.size(); at += recordLength) {
    body.insert(body.end(), data.begin() + static_cast<std::ptrdiff_t>(at + 1),
                data.begin() + static_cast<std::ptrdiff_t>(at + recordLength - 1));
  }
  return body;
}

TEST(FxiReadTest, ReadsProgramsMatricesAndPictures) {
  const auto program = test::ProgramItem("PROG", "A+1\x0D" "B");
  const auto matrix = test::MatrixItem("M", 2, 2);
  const auto picture = test::PictureItem("PIC", 2);
  FxiBuilder fxi;
  fxi.AddItem(ProgramHeader(program), ProgramBody(program));
  fxi.AddItem(matrix.info, StrippedRecords(matrix.data, 16));
  fxi.AddItem(picture.info, StrippedRecords(picture.data, 1030));
  const ReadResult read = ReadFxi(fxi.Finish());
  EXPECT_EQ(read.outcome, ReadOutcome::Complete);
  ASSERT_EQ(read.items.size(), 3u);
  EXPECT_EQ(read.items[0], program);
  EXPECT_EQ(read.items[1], matrix);
  EXPECT_EQ(read.items[2], picture);
}

TEST(FxiReadTest, EndRecordIsNoItemAndUnknownEndsQuietly) {
  const auto program = test::ProgramItem("P", "1");
  const auto end = EndRecord9600();
  Bytes endHeader(end.begin(), end.end());
  auto unknown = test::TaggedHeader("XYZ\0AA"sv, "U", 0, 4);
  FxiBuilder fxi;
  fxi.AddItem(endHeader, {});
  fxi.AddItem(ProgramHeader(program), ProgramBody(program));
  fxi.AddItem(unknown, Bytes(10, 0));
  fxi.AddItem(ProgramHeader(program), ProgramBody(program));
  const ReadResult read = ReadFxi(fxi.Finish());
  EXPECT_EQ(read.outcome, ReadOutcome::Complete);
  ASSERT_EQ(read.items.size(), 1u);
  EXPECT_EQ(read.items[0], program);
}

TEST(FxiReadTest, TruncationsAndOversizeEndCleanly) {
  const auto first = test::ProgramItem("ONE", "1");
  const auto big = test::MatrixItem("BIG", 2, 3);
  FxiBuilder fxi;
  fxi.AddItem(ProgramHeader(first), ProgramBody(first));
  fxi.AddItem(big.info, StrippedRecords(big.data, 16));
  const Bytes file = fxi.Finish(0);
  for (std::size_t cut = 0; cut <= file.size(); ++cut) {
    const ReadResult read = ReadFxi(ByteSpan(file).first(cut));
    ASSERT_LE(read.items.size(), 2u);
    if (!read.items.empty()) {
      ASSERT_EQ(read.items[0], first) << cut;
    }
    if (read.outcome == ReadOutcome::Malformed) {
      ASSERT_EQ(read.messageId, MSG_FILE_MALFORMED);
    }
  }
  // A matrix whose records would not fit the 70,000-byte reading area.
  auto huge = test::TaggedHeader("VAL\0MT"sv, "H", 100, 100);
  FxiBuilder oversize;
  oversize.AddItem(ProgramHeader(first), ProgramBody(first));
  oversize.AddItem(huge, Bytes(100 * 100 * 14, 0));
  const ReadResult read = ReadFxi(oversize.Finish());
  EXPECT_EQ(read.outcome, ReadOutcome::Malformed);
  EXPECT_EQ(read.messageId, MSG_FILE_MALFORMED);
  ASSERT_EQ(read.items.size(), 1u);
}

TEST(FxiReadTest, RandomAndTinyInputs) {
  EXPECT_TRUE(ReadFxi(Bytes{}).items.empty());
  EXPECT_TRUE(ReadFxi(Bytes{0x80}).items.empty());
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    Bytes file(900 + random() % 400);
    for (auto& b : file) b = static_cast<std::uint8_t>(random() % 4) ^ FXI_MASK;  // many marker look-alikes
    const ReadResult read = ReadFxi(file);
    for (const auto& item : read.items) EXPECT_LE(item.data.size(), READ_AREA_SIZE);
  }
}

}  // namespace
}  // namespace korvane
