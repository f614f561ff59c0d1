#include "exchange/cas_format.h"

#include <gtest/gtest.h>

#include <random>

#include "exchange/output_file.h"
#include "exchange_samples.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

using namespace std::string_view_literals;
using test::MatrixItem;
using test::PictureItem;
using test::ProgramItem;

// Every record of a well-formed file sums to 0 over the bytes after its 0x3A.
bool SumsToZeroAfterStart(ByteSpan record) {
  std::uint32_t sum = 0;
  for (std::size_t i = 1; i < record.size(); ++i) sum += record[i];
  return (sum & 0xFF) == 0;
}

std::vector<ExchangeItem> SampleItems() {
  ExchangeItem screen;
  screen.type = ITEM_SCREEN_DD;
  screen.name = "";
  screen.info.assign(SCREEN_HEADER_LENGTH, 0xFF);
  screen.info[0] = 0x3A;
  screen.info[1] = 'D';
  screen.info[2] = 'D';
  screen.info[3] = 16;
  screen.info[4] = 8;
  screen.data.assign(16 * 8 / 8 + 2, 0x55);
  SetRecordChecksum(screen.info);
  SetRecordChecksum(screen.data);
  ExchangeItem memory;
  memory.type = ITEM_MEM_BU;
  memory.name = "BACKUP";
  memory.info = test::TaggedHeader("MEM\0BU"sv, "BACKUP", 0, 10);
  memory.data.assign(10, 0x11);
  SetRecordChecksum(memory.data);
  return {ProgramItem("PROG", "A+B\x0D" "C", "PW"), PictureItem("PICT", 4), MatrixItem("A", 2, 3),
          MatrixItem("L1", 3, 1, true), screen, memory};
}

TEST(CasWriteTest, OneProgramGoldenLayout) {
  const ExchangeItem program = ProgramItem("A", "A");
  const CasWriteResult file = WriteCas(std::span(&program, 1));
  ASSERT_TRUE(file.skipped.empty());
  ASSERT_EQ(file.bytes.size(), 50u + 4 + 50);
  const std::uint8_t head[] = {0x3A, 'T', 'X', 'T', 0, 'P', 'G', 0, 0, 0, 4, 'A', 0xFF};
  EXPECT_TRUE(std::equal(std::begin(head), std::end(head), file.bytes.begin()));
  const ByteSpan all(file.bytes);
  EXPECT_TRUE(SumsToZeroAfterStart(all.subspan(0, 50)));
  EXPECT_TRUE(SumsToZeroAfterStart(all.subspan(50, 4)));
  EXPECT_TRUE(SumsToZeroAfterStart(all.subspan(54, 50)));
  EXPECT_EQ(ClassifyTypeTag(all.subspan(54)), ITEM_END);
}

TEST(CasWriteTest, PictureAndMatrixRecordsGetTheirOwnChecksums) {
  auto picture = PictureItem("P", 4);
  auto matrix = MatrixItem("M", 2, 3);
  for (auto& b : picture.data) b ^= 0x01;  // spoil every checksum on purpose
  for (auto& b : matrix.data) b ^= 0x01;
  const std::vector<ExchangeItem> items = {picture, matrix};
  const CasWriteResult file = WriteCas(items);
  ASSERT_EQ(file.bytes.size(), 50u + 4 * 1030 + 50 + 6 * 16 + 50);
  const ByteSpan all(file.bytes);
  for (int s = 0; s < 4; ++s) EXPECT_TRUE(RecordChecksumValid(all.subspan(50 + s * 1030, 1030))) << s;
  const std::size_t matrixData = 50 + 4 * 1030 + 50;
  for (int e = 0; e < 6; ++e) EXPECT_TRUE(RecordChecksumValid(all.subspan(matrixData + e * 16, 16))) << e;
}

TEST(CasWriteTest, LeavesOutWhatCouldNotBeReadBack) {
  ExchangeItem folder;
  folder.type = FOLDER_PLAIN;
  folder.name = "folder";
  ExchangeItem raw;
  raw.type = ITEM_RAW;
  raw.name = "RAW";
  raw.info.assign(40, 0xFF);
  raw.info[0] = 0x3A;
  std::copy_n("MCS1", 4, raw.info.begin() + 1);
  raw.data.assign(12, 0);
  auto shortMatrix = MatrixItem("M", 2, 2);
  shortMatrix.data.resize(48);
  ExchangeItem noInfo = ProgramItem("X", "1");
  noInfo.info.clear();
  const std::vector<ExchangeItem> items = {folder, raw, shortMatrix, noInfo, ProgramItem("OK", "1")};
  const CasWriteResult file = WriteCas(items);
  EXPECT_EQ(file.skipped, (std::vector<std::string>{"RAW", "M", "X"}));
  const ReadResult back = ReadCas(file.bytes);
  ASSERT_EQ(back.items.size(), 1u);
  EXPECT_EQ(back.items[0].name, "OK");
}

TEST(CasRoundTripTest, ReadGivesTheItemsAndRewriteIsIdentical) {
  const auto items = SampleItems();
  const CasWriteResult first = WriteCas(items);
  ASSERT_TRUE(first.skipped.empty());
  const ReadResult read = ReadCas(first.bytes);
  EXPECT_EQ(read.outcome, ReadOutcome::Complete);
  EXPECT_EQ(read.messageId, -1);
  ASSERT_EQ(read.items.size(), items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(read.items[i], items[i]) << i;
  }
  const CasWriteResult second = WriteCas(read.items);
  EXPECT_EQ(second.bytes, first.bytes);
}

TEST(CasReadTest, EndsQuietlyAtUnknownOrMissingEnd) {
  const auto items = SampleItems();
  Bytes file = WriteCas(items).bytes;
  file.resize(file.size() - 50);  // no end record
  ReadResult read = ReadCas(file);
  EXPECT_EQ(read.items.size(), items.size());
  EXPECT_EQ(read.outcome, ReadOutcome::Complete);

  file[50] = 0x3A;  // the program's data block is intact; spoil the second header's tag
  const std::size_t second = 50 + items[0].data.size();
  file[second + 1] = 'X';
  read = ReadCas(file);
  EXPECT_EQ(read.items.size(), 1u);
  EXPECT_EQ(read.outcome, ReadOutcome::Complete);
}

TEST(CasReadTest, EveryTruncationKeepsTheItemsBefore) {
  const auto items = SampleItems();
  const Bytes file = WriteCas(items).bytes;
  // Where each item's records end.
  std::vector<std::size_t> ends;
  std::size_t at = 0;
  for (const auto& item : items) {
    at += (item.type == ITEM_SCREEN_DD ? 40 : 50) + item.data.size();
    ends.push_back(at);
  }
  for (std::size_t cut = 0; cut <= file.size(); ++cut) {
    const Bytes part(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(cut));
    const ReadResult read = ReadCas(part);
    const std::size_t whole = static_cast<std::size_t>(std::count_if(ends.begin(), ends.end(), [&](std::size_t e) { return e <= cut; }));
    ASSERT_EQ(read.items.size(), whole) << cut;
    for (std::size_t i = 0; i < whole; ++i) ASSERT_EQ(read.items[i], items[i]);
    const bool atBoundary = cut == 0 || std::find(ends.begin(), ends.end(), cut) != ends.end();
    // A cut inside a header's tag can read as an unknown tag; inside its body it is malformed.
    // (Inside the end record the reading ends at its tag.)
    if (!atBoundary && whole < items.size() && read.outcome == ReadOutcome::Complete) {
      const std::size_t start = whole == 0 ? 0 : ends[whole - 1];
      ASSERT_LT(cut - start, 7u) << cut;
    }
    if (read.outcome == ReadOutcome::Malformed) {
      ASSERT_EQ(read.messageId, MSG_FILE_MALFORMED);
      ASSERT_TRUE(read.message.has_value());
    }
  }
}

TEST(CasReadTest, RandomBytesNeverCrash) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    Bytes file(random() % 300);
    for (auto& b : file) b = static_cast<std::uint8_t>(random());
    if (!file.empty() && round % 2 == 0) {
      file[0] = 0x3A;
      const std::string_view tags[] = {"TXT\0PG"sv, "VAL\0MT"sv, "IMG\0PC"sv, "DC"sv, "DD"sv};
      const std::string_view tag = tags[round % 5];
      for (std::size_t i = 0; i < tag.size() && 1 + i < file.size(); ++i) file[1 + i] = static_cast<std::uint8_t>(tag[i]);
    }
    const ReadResult read = ReadCas(file);
    for (const auto& item : read.items) EXPECT_LE(item.data.size(), file.size());
  }
  EXPECT_TRUE(ReadCas(Bytes{0x3A}).items.empty());
}

TEST(OutputFileTest, ReplacesWholeOrReportsAndKeepsTheOld) {
  test::TempDir dir;
  test::RecordingMessageSink messages;
  const std::string path = dir.File("out.cas");
  dir.WriteFile("out.cas", std::string("old contents"));
  ASSERT_TRUE(WriteExportFile(path, "new", messages));
  EXPECT_EQ(dir.ReadFile("out.cas"), (Bytes{'n', 'e', 'w'}));
  EXPECT_FALSE(std::filesystem::exists(path + ".partial"));
  // A file that happens to bear the new file's usual name is left alone.
  dir.WriteFile("out.cas.partial", std::string("keep"));
  ASSERT_TRUE(WriteExportFile(path, "again", messages));
  EXPECT_EQ(dir.ReadFile("out.cas.partial"), (Bytes{'k', 'e', 'e', 'p'}));
  EXPECT_EQ(dir.ReadFile("out.cas").size(), 5u);

  EXPECT_FALSE(WriteExportFile(dir.File("missing/out.cas"), "x", messages));
  ASSERT_EQ(messages.TextIds(), std::vector<int>{MSG_EXPORT_CANNOT_CREATE});
  EXPECT_EQ(std::get<std::string>(messages.messages[0].args.at(0)), dir.File("missing/out.cas"));
  // A directory in the target's place: the new file is made but cannot replace it.
  std::filesystem::create_directory(dir.File("taken"));
  std::filesystem::create_directory(dir.File("taken/inner"));
  EXPECT_FALSE(WriteExportFile(dir.File("taken"), "x", messages));
  EXPECT_EQ(messages.TextIds().back(), MSG_EXPORT_WRITE_FAILED);
  EXPECT_FALSE(std::filesystem::exists(dir.File("taken.partial")));
}

}  // namespace
}  // namespace korvane
