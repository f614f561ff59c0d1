#include "exchange/cat_format.h"

#include <gtest/gtest.h>

#include <random>

#include "exchange_samples.h"
#include "fake_spelling.h"
#include "storage/byte_order.h"
#include "support/recording_message_sink.h"

namespace korvane {
namespace {

using namespace std::string_view_literals;
using test::MatrixItem;
using test::PictureItem;
using test::ProgramItem;

const test::FakeSpelling kTokens;
const test::FakeTexts kTexts;

std::string Write(const std::vector<ExchangeItem>& items, CatVariant variant = CatVariant::Standard) {
  const CatWriteResult result = WriteCat(items, variant, kTokens);
  EXPECT_FALSE(result.message.has_value());
  return result.text;
}

ReadResult Read(std::string_view text) { return ReadCat(text, kTokens, kTexts); }

// A program block with the given text as its data record.
std::string ProgramFile(std::string_view dataRecord, std::string_view capacity = "10") {
  return "%Header Record\r\nFormat:TXT\r\nCommunication SW:0\r\nData Type:PG\r\nCapacity:" + std::string(capacity) +
         "\r\nFile Name:P\r\nGroup Name:\r\nPassword:\r\nOption1:NL\r\n%Data Record\r\n" + std::string(dataRecord);
}

Bytes ProgramData(std::string_view tokens) { return ProgramItem("X", tokens).data; }

TEST(CatNumberTextTest, WorkedExamples) {
  EXPECT_EQ(NumberText(2.5), "2.5");
  EXPECT_EQ(NumberText(-1500), "-1.5\\EE+3");
  EXPECT_EQ(NumberText(0.001), "1\\EE-3");
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(123.45), "1.2345\\EE+2");
  EXPECT_EQ(NumberText(1.0 / 3), "3.333333333333333\\EE-1");
  EXPECT_EQ(ParseHexByte('F', 'a'), 0xFA);
  EXPECT_EQ(ParseHexByte('0', '9'), 0x09);
  EXPECT_EQ(ParseHexByte('x', 'G'), 0x00);
}

TEST(CatProgramTest, ProgramAInBothVariants) {
  const auto program = ProgramItem("A", "A");
  const std::string standard = Write({program});
  EXPECT_EQ(standard,
            "%Header Record\r\nFormat:TXT\r\nCommunication SW:0\r\nData Type:PG\r\nCapacity:4\r\nFile Name:A\r\n"
            "Group Name:\r\nPassword:\r\nOption1:NL\r\nOption2:\r\nOption3:\r\nOption4:\r\n%Data Record\r\n"
            "A\r\n%End\r\n");
  const std::string algebra = Write({program}, CatVariant::Algebra);
  EXPECT_EQ(algebra,
            "%Header Record\r\nFormat:MCS1\r\nType Number:1\r\nFile Name:A\r\nOption Name:\r\n"
            "Communication SW:0\r\nCapacity:12\r\nData Type:PG\r\n%Data Record\r\nPassword:\r\nBaseN:0\r\n"
            "A\\@00\r\n%End\r\n");
  for (const std::string& text : {standard, algebra}) {
    const ReadResult read = Read(text);
    EXPECT_EQ(read.outcome, ReadOutcome::Complete);
    ASSERT_EQ(read.items.size(), 1u);
    EXPECT_EQ(read.items[0], program);
  }
}

TEST(CatProgramTest, AlgebraVariantKeepsThePassword) {
  // Its only password line stands in the data record.
  const auto locked = ProgramItem("LOCKED", "A\x89" "1", "SECRET");
  const std::string algebra = Write({locked}, CatVariant::Algebra);
  EXPECT_NE(algebra.find("%Data Record\r\nPassword:SECRET\r\nBaseN:0\r\n"), std::string::npos);
  const ReadResult read = Read(algebra);
  ASSERT_EQ(read.items.size(), 1u);
  EXPECT_EQ(read.items[0], locked);
  EXPECT_EQ(ReadProgramInfo(read.items[0].info)->password, "SECRET");
}

TEST(CatProgramTest, LineBreaksAndEndsOfText) {
  // The program's own last line break survives the round trip.
  const auto trailing = ProgramItem("T", "A\x0D");
  const std::string text = Write({trailing});
  EXPECT_NE(text.find("A\r\n\r\n%End"), std::string::npos);
  EXPECT_EQ(Read(text).items.at(0).data, trailing.data);

  EXPECT_EQ(Read(ProgramFile("A\r\r\rB\r\n%End\r\n")).items.at(0).data, ProgramData("A\x0D" "B"));
  EXPECT_EQ(Read(ProgramFile("A\r\n\r\nB\r\n%End\r\n")).items.at(0).data, ProgramData("A\x0D\x0D" "B"));
  // "%end" ends the text wherever it stands, in any letter case.
  EXPECT_EQ(Read(ProgramFile("AB%eNd\r\n")).items.at(0).data, ProgramData("AB"));
  // "\\@00" is the algebra variant's end of text only at the line end that
  // closes the data record; elsewhere it is an escaped "@" and two digits.
  EXPECT_EQ(Read(ProgramFile("If \\@00A\r\n\\@00\r\nB\\@00\r\n%End\r\n")).items.at(0).data,
            ProgramData("\xF7\x00@00A\x0D@00\x0D" "B"sv));
  EXPECT_EQ(Read(ProgramFile("A\\@00\r\n\r\n%End\r\n")).items.at(0).data, ProgramData("A@00\x0D"));
  // A backslash takes the next character as it is; tokens take the longest spelling.
  EXPECT_EQ(Read(ProgramFile("\\xIf A->B\r\n%End\r\n")).items.at(0).data,
            ProgramData("x\xF7\x00" "A\x0E" "B"sv));
}

TEST(CatProgramTest, TokensWithoutSpellingStopTheExport) {
  const std::vector<ExchangeItem> items = {ProgramItem("OK", "1"), ProgramItem("BAD", "A\x98")};
  const CatWriteResult result = WriteCat(items, CatVariant::Standard, kTokens);
  ASSERT_TRUE(result.message);
  EXPECT_EQ(result.message->textId, MSG_CAT_NO_EXCHANGE_TEXT);
  EXPECT_EQ(std::get<std::int64_t>(result.message->args.at(0)), 0x98);
  // Only the complete first block; the file still reads.
  EXPECT_EQ(result.text, Write({items[0]}));
  EXPECT_EQ(Read(result.text).items.size(), 1u);

  ExchangeItem text = ProgramItem("FM", "1");
  text.type = ITEM_TEXT_FM;
  ExchangeItem folder;
  folder.type = FOLDER_PLAIN;
  const std::vector<ExchangeItem> mixed = {folder, items[0], text, items[0]};
  const CatWriteResult refused = WriteCat(mixed, CatVariant::Standard, kTokens);
  ASSERT_TRUE(refused.message);
  EXPECT_EQ(refused.message->textId, MSG_CAT_KIND_NOT_WRITABLE);
  EXPECT_EQ(refused.text, Write({items[0]}));
}

TEST(CatReadTest, UnknownTokenStopsWithBothMessages) {
  const std::string file = Write({ProgramItem("ONE", "1")}) + ProgramFile("A?B\r\n%End\r\n");
  const ReadResult read = Read(file);
  EXPECT_EQ(read.outcome, ReadOutcome::Stopped);
  EXPECT_EQ(read.messageId, MSG_CAT_UNKNOWN_TOKEN);
  ASSERT_TRUE(read.message);
  EXPECT_EQ(read.message->fixedText, "T96 : ?B\r\n%End\r\n\nT97");
  EXPECT_EQ(read.items.size(), 1u);
}

TEST(CatReadTest, HeaderKeysValuesAndComments) {
  // Keys in any case; a 9-character value is read whole.
  std::string upper = ProgramFile("A\r\n%End\r\n");
  upper.replace(upper.find("Data Type:"), 10, "DATA TYPE:");
  upper.replace(upper.find("File Name:P"), 11, "file name:ABCDEFGHI");
  upper.insert(upper.find("Group"), "// a comment of any length at all\r\n");
  const ReadResult read = Read(upper);
  ASSERT_EQ(read.items.size(), 1u);
  EXPECT_EQ(read.items[0].name, "ABCDEFGHI");

  std::string tooLong = ProgramFile("A\r\n%End\r\n");
  tooLong.replace(tooLong.find("File Name:P"), 11, "File Name:ABCDEFGHIJ");
  const ReadResult malformed = Read(tooLong);
  EXPECT_EQ(malformed.outcome, ReadOutcome::Malformed);
  EXPECT_EQ(malformed.messageId, MSG_FILE_MALFORMED);

  EXPECT_EQ(Read(ProgramFile("A\r\n%End\r\n", "0")).messageId, MSG_FILE_MALFORMED);

  // Values are exact: "pg" leaves the type open and the block is skipped, as is an unknown kind.
  std::string lower = ProgramFile("A\r\n%End\r\n");
  lower.replace(lower.find("Data Type:PG"), 12, "Data Type:pg");
  std::string other = ProgramFile("A\r\n%End\r\n");
  other.replace(other.find("Data Type:PG"), 12, "Data Type:XX");
  const auto second = ProgramItem("B", "B");
  const ReadResult skipped = Read(lower + other + Write({second}));
  EXPECT_EQ(skipped.outcome, ReadOutcome::Complete);
  ASSERT_EQ(skipped.items.size(), 1u);
  EXPECT_EQ(skipped.items[0], second);
}

TEST(CatReadTest, EmptyLineBetweenBlocksStopsAtTheNextHeader) {
  const std::string one = Write({ProgramItem("A", "A"), ProgramItem("B", "B")});
  const std::string file = one + "\r\n" + Write({ProgramItem("C", "C")});
  const ReadResult read = Read(file);
  EXPECT_EQ(read.outcome, ReadOutcome::Stopped);
  EXPECT_EQ(read.messageId, MSG_CAT_UNKNOWN_HEADER);
  EXPECT_EQ(read.message->fixedText, "T98 : " + file.substr(one.size() + 2, 50));
  EXPECT_EQ(read.items.size(), 2u);
}

TEST(CatValueTest, ValueLinesAndNumbers) {
  const std::string file =
      "%Header Record\r\nFormat:VAL\r\nCommunication SW:0\r\nData Type:MT\r\nRows:2\r\nColumns:3\r\n"
      "Variable Name:A\r\n%Data Record\r\nValue : 2 3 -1.5\\EE+3\r\nValue :  1   1   0.001\r\n%End\r\n";
  const ReadResult read = Read(file);
  ASSERT_EQ(read.items.size(), 1u);
  const ExchangeItem& m = read.items[0];
  EXPECT_EQ(m.type, ITEM_MATRIX);
  EXPECT_EQ(m.name, "A");
  ASSERT_EQ(m.data.size(), 32u);
  const std::uint8_t first[] = {0x3A, 0, 2, 0, 3, 0x01, 0x50, 0, 0, 0, 0, 0, 0, 0x51, 0x03};
  EXPECT_TRUE(std::equal(std::begin(first), std::end(first), m.data.begin()));
  EXPECT_EQ(m.data[16 + 5], 1);
  EXPECT_EQ(m.data[16 + 13], 0x00);
  EXPECT_EQ(m.data[16 + 14], 0x97);
  EXPECT_EQ(m.info.size(), 50u);
  EXPECT_EQ(DataLength(m.info), 96);  // from the header lines, not the data
  const std::string back = Write({m});
  EXPECT_NE(back.find("Value : 2 3 -1.5\\EE+3\r\nValue : 1 1 1\\EE-3\r\n"), std::string::npos);

  // The number is what the rest of the line starts with: text after it is
  // passed over, no number is 0, an exponent without digits is 0.
  const auto valueOf = [&](std::string_view line) -> std::optional<double> {
    std::string changed = file;
    changed.replace(changed.find("Value : 2 3 -1.5\\EE+3"), 21, line);
    const ReadResult r = Read(changed);
    if (r.outcome != ReadOutcome::Complete) return std::nullopt;
    return DecodeValue(ByteSpan(r.items.at(0).data).first(16));
  };
  EXPECT_EQ(valueOf("Value : 2 3 2.5 and more"), 2.5);
  EXPECT_EQ(valueOf("Value : 2 3 abc"), 0.0);
  EXPECT_EQ(valueOf("Value : 2 3 -.5e1x"), -5.0);
  EXPECT_EQ(valueOf("Value : 2 3 7\\EE"), 7.0);
  EXPECT_EQ(valueOf("Value : 2 3 1.5\\EE+3 rest"), 1500.0);
  EXPECT_EQ(valueOf("Value:2 3 4"), 4.0);
  EXPECT_EQ(valueOf("Value : 2 3 1\\EE-400"), 0.0);
  // Rounding past the largest exponent gives the largest value.
  EXPECT_EQ(valueOf("Value : 2 3 9.999999999999999\\EE+99"), 9.99999999999999e99);
  // Indexes of five digits or without a blank after them within the line,
  // lines without a colon, numbers beyond the calculator's range: malformed.
  for (std::string_view bad : {"Value : 12345 1 1", "Value : 2 3", "Value 1 1 1", "Value : 1 1 1\\EE+300"}) {
    EXPECT_FALSE(valueOf(bad)) << bad;
  }
}

TEST(CatRoundTripTest, EveryKindWritesAndReadsBack) {
  const std::vector<ExchangeItem> samples = {ProgramItem("PROG", "\xF7\x00" "A\x0E" "B\x0D\x97" "1\x89" "2\x0D"sv, "PW"),
                                             MatrixItem("M", 3, 2), MatrixItem("L", 4, 1, true),
                                             PictureItem("PIC", 2)};
  const std::string first = Write(samples);
  const ReadResult read = Read(first);
  EXPECT_EQ(read.outcome, ReadOutcome::Complete);
  ASSERT_EQ(read.items.size(), samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    EXPECT_EQ(read.items[i].type, samples[i].type);
    EXPECT_EQ(read.items[i].name, samples[i].name);
    EXPECT_EQ(read.items[i].data, samples[i].data) << i;
    if (i > 0) {
      EXPECT_EQ(DataLength(read.items[i].info).value_or(0), read.items[i].data.size() % 65536) << i;
    }
  }
  EXPECT_EQ(read.items[0].info, samples[0].info);  // the ProgramInfo, password included
  // What was read once is canonical: it comes back the same, info blocks too.
  const std::string second = Write(read.items);
  EXPECT_EQ(second, first);
  EXPECT_EQ(Read(second).items, read.items);
}

TEST(CatPictureTest, SheetsMustHoldSixtyFourFullLines) {
  const std::string good = Write({PictureItem("P", 2)});
  const std::size_t firstBitmap = good.find("Color:1\r\n") + 9;
  const std::size_t secondSheet = good.find("Sheet:2");
  const std::string line = good.substr(firstBitmap, 34);
  std::vector<std::string> broken = {good, good, good, good, good, good};
  broken[0].erase(firstBitmap + 30, 2);            // a line of 30 characters
  broken[1].erase(firstBitmap, 34);                // a sheet of 63 lines
  broken[2].insert(secondSheet, line);             // a sheet of 65 lines
  broken[3].insert(good.find("Sheet:1"), line);    // a line before any sheet
  broken[4].erase(firstBitmap - 9, 9);             // a sheet without its colour
  broken[5].insert(firstBitmap + 34, "Color:1\r\n");  // a colour among the lines
  for (const std::string& file : broken) {
    const ReadResult read = Read(file);
    EXPECT_EQ(read.outcome, ReadOutcome::Malformed);
    EXPECT_TRUE(read.items.empty());
  }
  EXPECT_EQ(Read(good).items.size(), 1u);
  // Characters that are no hex digit count 0, as in any line of 32 or more.
  std::string loose = good;
  loose.replace(firstBitmap, 4, "zZ-g");
  loose.insert(firstBitmap + 32, " tail");
  const ReadResult read = Read(loose);
  ASSERT_EQ(read.items.size(), 1u);
  Bytes expected = Read(good).items[0].data;
  expected[picture_sheet::BITMAP] = 0;
  expected[picture_sheet::BITMAP + 1] = 0;
  SetRecordChecksum(std::span(expected).first(CAT_SHEET_LENGTH));
  EXPECT_EQ(read.items[0].data, expected);
}

TEST(CatPictureTest, OnlyPicturesOf128By64PixelsAreWritten) {
  ExchangeItem tall = PictureItem("TALL", 1);
  WriteU16BE(tall.info, link_header::ROWS, 128);
  WriteU16BE(tall.info, link_header::COLUMNS, 64);
  const CatWriteResult result = WriteCat(std::vector{PictureItem("P", 1), tall}, CatVariant::Standard, kTokens);
  ASSERT_TRUE(result.message);
  EXPECT_EQ(result.message->textId, -1);
  EXPECT_EQ(test::EnglishBody(*result.message),
            "The picture TALL is 64 x 128 pixels; a text exchange file holds pictures of 128 x 64 pixels only. "
            "The export was stopped.");
  EXPECT_EQ(Read(result.text).items.size(), 1u);  // the picture before it
}

TEST(CatReadTest, ReadingAreaLimit) {
  const std::string big(READ_AREA_SIZE, 'A');
  EXPECT_EQ(Read(ProgramFile(big + "\r\n%End\r\n")).messageId, MSG_FILE_MALFORMED);
  const std::string fits(READ_AREA_SIZE - 3, 'A');
  EXPECT_EQ(Read(ProgramFile(fits + "\r\n%End\r\n")).items.at(0).data.size(), READ_AREA_SIZE);
}

TEST(CatReadTest, TruncationsAndRandomBytes) {
  const std::vector<ExchangeItem> samples = {ProgramItem("A", "A\x89" "1"), MatrixItem("M", 2, 2), PictureItem("P", 1)};
  const std::string file = Write(samples);
  const ReadResult whole = Read(file);
  ASSERT_EQ(whole.items.size(), 3u);
  for (std::size_t cut = 0; cut < file.size(); cut += (cut < 700 || cut > file.size() - 400) ? 1 : 37) {
    const ReadResult read = Read(std::string_view(file).substr(0, cut));
    ASSERT_LE(read.items.size(), 3u);
    for (std::size_t i = 0; i < read.items.size(); ++i) ASSERT_EQ(read.items[i].data, whole.items[i].data) << cut;
    if (read.outcome != ReadOutcome::Complete) {
      ASSERT_TRUE(read.message.has_value());
    }
  }
  std::mt19937 random(5);
  const std::string alphabet = "%HeaderRcodDt:\r\n\\AB1+ Value\x98";
  for (int round = 0; round < 2000; ++round) {
    std::string text = "%Header Record\r\n";
    const std::size_t length = random() % 200;
    for (std::size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    if (round % 3 == 0) text = ProgramFile(text);
    (void)Read(text);
  }
  EXPECT_TRUE(Read("%").items.empty());
}

}  // namespace
}  // namespace korvane
