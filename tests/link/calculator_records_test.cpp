#include "link/calculator_records.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string_view>

namespace korvane {
namespace {

using namespace std::string_view_literals;

Bytes ValueBytes(std::uint8_t sign, std::uint8_t exponent) {
  // Digits 1,2,3,4,5 then zeros.
  Bytes r(VALUE_RECORD_LENGTH, 0);
  r[0] = 0x3A;
  r[2] = 1;
  r[4] = 1;
  r[5] = 0x01;
  r[6] = 0x23;
  r[7] = 0x45;
  r[13] = sign;
  r[14] = exponent;
  return r;
}

Bytes HeaderWithTag(std::string_view tag) {
  Bytes h(LINK_HEADER_LENGTH, 0xFF);
  h[0] = 0x3A;
  for (std::size_t i = 0; i < tag.size(); ++i) h[1 + i] = static_cast<std::uint8_t>(tag[i]);
  return h;
}

void SetU16(Bytes& h, std::size_t at, std::uint16_t v) {
  h[at] = static_cast<std::uint8_t>(v >> 8);
  h[at + 1] = static_cast<std::uint8_t>(v);
}

TEST(RecordChecksumTest, ValidRecordSumsTo3A) {
  Bytes record = {0x3A, 0x41, 0xFF, 0x00};
  SetRecordChecksum(record);
  EXPECT_EQ(record[3], static_cast<std::uint8_t>(0x3A - (0x3A + 0x41 + 0xFF)));
  EXPECT_TRUE(RecordChecksumValid(record));
  record[1] ^= 1;
  EXPECT_FALSE(RecordChecksumValid(record));
  EXPECT_FALSE(RecordChecksumValid(Bytes{}));
}

TEST(ClassifyTypeTagTest, KnownTagsAndFallbacks) {
  EXPECT_EQ(ClassifyTypeTag(HeaderWithTag("TXT\0PG"sv)), ITEM_PROGRAM);
  EXPECT_EQ(ClassifyTypeTag(HeaderWithTag("TXT\0FM"sv)), ITEM_TEXT_FM);
  EXPECT_EQ(ClassifyTypeTag(HeaderWithTag("VAL\0MT"sv)), ITEM_MATRIX);
  EXPECT_EQ(ClassifyTypeTag(HeaderWithTag("VAL\0LT"sv)), ITEM_LIST);
  EXPECT_EQ(ClassifyTypeTag(HeaderWithTag("MEM\0BU"sv)), ITEM_MEM_BU);
  EXPECT_EQ(ClassifyTypeTag(HeaderWithTag("MEM\0GM"sv)), ITEM_MEM_GM);
  EXPECT_EQ(ClassifyTypeTag(HeaderWithTag("FNC\0GF"sv)), ITEM_FUNCTION_GF);
  EXPECT_EQ(ClassifyTypeTag(HeaderWithTag("IMG\0PC"sv)), ITEM_PICTURE);
  EXPECT_EQ(ClassifyTypeTag(HeaderWithTag("END"sv)), ITEM_END);
  EXPECT_EQ(ClassifyTypeTag(HeaderWithTag("DCxyz"sv)), ITEM_SCREEN_DC);
  EXPECT_EQ(ClassifyTypeTag(HeaderWithTag("DD"sv)), ITEM_SCREEN_DD);
  EXPECT_EQ(ClassifyTypeTag(HeaderWithTag("TXT\0XX"sv)), ITEM_OTHER);
  EXPECT_EQ(ClassifyTypeTag(HeaderWithTag("txt\0PG"sv)), ITEM_OTHER);  // case counts
  // Too short to hold the tag: unknown, never read past the end.
  const Bytes shortOne = {0x3A, 'T', 'X', 'T', 0};
  EXPECT_EQ(ClassifyTypeTag(shortOne), ITEM_OTHER);
  const Bytes end = {0x3A, 'E', 'N', 'D'};
  EXPECT_EQ(ClassifyTypeTag(end), ITEM_END);
  EXPECT_EQ(ClassifyTypeTag(Bytes{}), ITEM_OTHER);
  EXPECT_EQ(HeaderLength(ITEM_SCREEN_DC), 40u);
  EXPECT_EQ(HeaderLength(ITEM_SCREEN_DD), 40u);
  EXPECT_EQ(HeaderLength(ITEM_PROGRAM), 50u);
}

TEST(DataLengthTest, ByKindAndWrapping) {
  Bytes program = HeaderWithTag("TXT\0PG"sv);
  SetU16(program, 7, 0);
  SetU16(program, 9, 24);
  EXPECT_EQ(DataLength(program), 24);

  Bytes list = HeaderWithTag("VAL\0LT"sv);
  SetU16(list, 7, 3);
  SetU16(list, 9, 1);
  EXPECT_EQ(DataLength(list), 48);

  Bytes picture = HeaderWithTag("IMG\0PC"sv);
  SetU16(picture, 7, 64);
  SetU16(picture, 9, 128);
  SetU16(picture, 32, 1);
  SetU16(picture, 34, 1);
  EXPECT_EQ(DataLength(picture), 1030);
  SetU16(picture, 34, 4);
  EXPECT_EQ(DataLength(picture), 4120);

  Bytes matrix = HeaderWithTag("VAL\0MT"sv);
  SetU16(matrix, 7, 64);
  SetU16(matrix, 9, 64);
  EXPECT_EQ(DataLength(matrix), 0);
  EXPECT_EQ(FullDataLength(matrix), 65536u);

  EXPECT_FALSE(DataLength(Bytes(10, 0x3A)).has_value());
  EXPECT_FALSE(DataLength(Bytes(picture.begin(), picture.begin() + 35)).has_value());
}

TEST(DataLengthTest, ScreenImages) {
  Bytes screen(SCREEN_HEADER_LENGTH, 0);
  screen[0] = 0x3A;
  screen[1] = 'D';
  screen[2] = 'C';
  screen[3] = 128;
  screen[4] = 64;
  EXPECT_EQ(ScreenDataLength(ITEM_SCREEN_DC, screen), 128u * 64 * 3 / 8 + 9);
  EXPECT_EQ(ScreenDataLength(ITEM_SCREEN_DD, screen), 128u * 64 / 8 + 2);
  screen[3] = 3;
  screen[4] = 3;  // 27 / 8 rounds down
  EXPECT_EQ(ScreenDataLength(ITEM_SCREEN_DC, screen), 3u * 3 * 3 / 8 + 9);
  EXPECT_FALSE(ScreenDataLength(ITEM_PROGRAM, screen).has_value());
  EXPECT_FALSE(ScreenDataLength(ITEM_SCREEN_DC, Bytes(4, 0)).has_value());
}

TEST(ValueRecordTest, DecodesWorkedExamples) {
  EXPECT_DOUBLE_EQ(*DecodeValue(ValueBytes(0x01, 0x02)), 123.45);
  EXPECT_DOUBLE_EQ(*DecodeValue(ValueBytes(0x51, 0x02)), -123.45);
  EXPECT_DOUBLE_EQ(*DecodeValue(ValueBytes(0x00, 0x98)), 0.012345);
  EXPECT_DOUBLE_EQ(*DecodeValue(ValueBytes(0x31, 0x02)), 123.45);  // only 5 means negative
  EXPECT_FALSE(DecodeValue(Bytes(14, 0)).has_value());
  const auto element = ReadValueRecord(ValueBytes(0x01, 0x00));
  ASSERT_TRUE(element);
  EXPECT_EQ(element->row, 1);
  EXPECT_EQ(element->column, 1);
  EXPECT_DOUBLE_EQ(element->value, 1.2345);
}

TEST(ValueRecordTest, EncodesWorkedExamples) {
  auto half = BuildValueRecord(1, 2, 0.5);
  ASSERT_TRUE(half);
  EXPECT_EQ((*half)[5], 5);
  EXPECT_EQ((*half)[13], 0x00);
  EXPECT_EQ((*half)[14], 0x99);
  EXPECT_EQ((*half)[2], 1);
  EXPECT_EQ((*half)[4], 2);
  EXPECT_TRUE(RecordChecksumValid(*half));

  auto minus = BuildValueRecord(2, 3, -1500);
  ASSERT_TRUE(minus);
  const std::uint8_t expected[] = {0x3A, 0, 2, 0, 3, 0x01, 0x50, 0, 0, 0, 0, 0, 0, 0x51, 0x03};
  EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), minus->begin()));
  EXPECT_TRUE(RecordChecksumValid(*minus));

  auto zero = BuildValueRecord(1, 1, 0.0);
  ASSERT_TRUE(zero);
  EXPECT_EQ((*zero)[13], 0x01);
  EXPECT_EQ((*zero)[14], 0x00);
  for (int i = 5; i < 13; ++i) EXPECT_EQ((*zero)[i], 0);

  auto milli = BuildValueRecord(1, 1, 0.001);
  ASSERT_TRUE(milli);
  EXPECT_EQ((*milli)[5], 1);
  EXPECT_EQ((*milli)[6], 0);
  EXPECT_EQ((*milli)[13], 0x00);
  EXPECT_EQ((*milli)[14], 0x97);
}

TEST(ValueRecordTest, RoundTripsAndRange) {
  for (double v : {123.45, -123.45, 0.012345, 1e99, -9.87654321012345e-99, 3.14159265358979, 1e-5, 7.0}) {
    const auto record = BuildValueRecord(1, 1, v);
    ASSERT_TRUE(record) << v;
    EXPECT_NEAR(*DecodeValue(*record), v, std::abs(v) * 1e-14) << v;
  }
  // The 15th digit is rounded, and a record decoded and built again is the same
  // record, as a .cat export of a read value needs.
  const auto rounded = BuildValueRecord(1, 1, 8.888888888888888891e47);
  ASSERT_TRUE(rounded);
  EXPECT_EQ((*rounded)[12], 0x89);
  for (double v : {8.888888888888888891e47, 2.0 / 3.0, -1.0 / 7.0, 123456789012345.67, 9.87654321098765e-50}) {
    const auto record = BuildValueRecord(1, 1, v);
    ASSERT_TRUE(record) << v;
    EXPECT_EQ(BuildValueRecord(1, 1, *DecodeValue(*record)), record) << v;
  }
  // Rounding to 15 digits must not leave a mantissa of 10.
  const auto nearTen = BuildValueRecord(1, 1, 9.99999999999999999);
  ASSERT_TRUE(nearTen);
  EXPECT_EQ((*nearTen)[5], 1);
  EXPECT_EQ((*nearTen)[14], 0x01);
  EXPECT_FALSE(BuildValueRecord(1, 1, 1.000000000000001e100).has_value());
  EXPECT_FALSE(BuildValueRecord(1, 1, -2e100).has_value());
  // Rounding that carries past the largest exponent gives the largest value.
  for (double v : {9.999999999999999e99, -9.9999999999999995e99, 9.99999999999999e99}) {
    const auto largest = BuildValueRecord(1, 1, v);
    ASSERT_TRUE(largest) << v;
    EXPECT_EQ((*largest)[5], 9);
    for (int i = 6; i < 13; ++i) EXPECT_EQ((*largest)[i], 0x99);
    EXPECT_EQ((*largest)[13], v < 0 ? 0x51 : 0x01);
    EXPECT_EQ((*largest)[14], 0x99);
  }
  EXPECT_FALSE(BuildValueRecord(1, 1, std::numeric_limits<double>::infinity()).has_value());
  EXPECT_FALSE(BuildValueRecord(1, 1, std::numeric_limits<double>::quiet_NaN()).has_value());
  const auto tiny = BuildValueRecord(1, 1, 1e-150);
  ASSERT_TRUE(tiny);
  EXPECT_EQ(*DecodeValue(*tiny), 0.0);
}

TEST(ProgramInfoTest, FromHeaderBytesAndBack) {
  ProgramInfo info{4, "A", ""};
  const auto header = BuildLinkHeader(ITEM_PROGRAM, LinkProtocol::Baud9600, info);
  ASSERT_TRUE(header);
  ASSERT_EQ(header->size(), 50u);
  const std::uint8_t start[] = {0x3A, 'T', 'X', 'T', 0, 'P', 'G', 0, 0, 0, 4, 'A', 0xFF};
  EXPECT_TRUE(std::equal(std::begin(start), std::end(start), header->begin()));
  EXPECT_EQ((*header)[35], 'N');
  EXPECT_EQ((*header)[36], 'L');
  for (int i = 37; i < 49; ++i) EXPECT_EQ((*header)[i], 0xFF);
  for (int i = 19; i < 35; ++i) EXPECT_EQ((*header)[i], 0xFF) << i;
  EXPECT_TRUE(RecordChecksumValid(*header));
  EXPECT_EQ(ProgramInfoFromHeader(*header), info);

  const auto bytes = ProgramInfoBytes({300, "LONGNAME", "PASS"});
  EXPECT_EQ(bytes[0], 32);
  EXPECT_EQ(bytes[4], 300 & 0xFF);
  EXPECT_EQ(bytes[5], 1);
  EXPECT_EQ(bytes[16], 0);  // NUL after the eighth character
  EXPECT_EQ(ReadProgramInfo(bytes), (ProgramInfo{300, "LONGNAME", "PASS"}));
  EXPECT_FALSE(ReadProgramInfo(Bytes(31, 0)).has_value());

  auto matrix = HeaderWithTag("VAL\0MT"sv);
  EXPECT_FALSE(ProgramInfoFromHeader(matrix).has_value());
  EXPECT_FALSE(ProgramInfoFromHeader(Bytes(header->begin(), header->begin() + 49)).has_value());
}

TEST(BuildLinkHeaderTest, EveryCase) {
  // A nine-character name goes out with its first eight.
  const ProgramInfo info{100, "ABCDEFGHI", "PW"};
  const auto program = BuildLinkHeader(ITEM_PROGRAM, LinkProtocol::Baud9600, info);
  ASSERT_TRUE(program);
  EXPECT_EQ(HeaderName(*program), "ABCDEFGH");
  EXPECT_EQ((*program)[27], 'P');
  EXPECT_EQ((*program)[29], 0xFF);

  const auto text = BuildLinkHeader(ITEM_TEXT_FM, LinkProtocol::Baud9600, info);
  ASSERT_TRUE(text);
  EXPECT_EQ((*text)[6], 'M');
  const std::uint8_t group[] = {0x46, 0x99, 0x4D, 0x65, 0x6D, 0xFF, 0xFF, 0xFF};
  EXPECT_TRUE(std::equal(std::begin(group), std::end(group), text->begin() + 19));
  for (int i = 35; i < 49; ++i) EXPECT_EQ((*text)[i], 0xFF);
  EXPECT_TRUE(RecordChecksumValid(*text));

  const auto packet = BuildLinkHeader(ITEM_PROGRAM, LinkProtocol::Baud38400, info);
  ASSERT_TRUE(packet);
  ASSERT_EQ(packet->size(), 40u);
  const auto parsed = ReadPacketHeader(*packet);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->kind, "MCS1");
  EXPECT_EQ(parsed->size, 109);
  EXPECT_EQ(parsed->dataKind, 1);
  EXPECT_EQ(parsed->name, "ABCDEFGH");
  EXPECT_EQ((*packet)[5], 0);
  EXPECT_EQ((*packet)[7], 0);
  EXPECT_TRUE(RecordChecksumValid(*packet));

  const auto end9600 = BuildLinkHeader(ITEM_END, LinkProtocol::Baud9600, {});
  ASSERT_TRUE(end9600);
  ASSERT_EQ(end9600->size(), 50u);
  EXPECT_EQ(end9600->back(), 0x56);
  const auto end38400 = BuildLinkHeader(ITEM_END, LinkProtocol::Baud38400, {});
  ASSERT_TRUE(end38400);
  ASSERT_EQ(end38400->size(), 40u);
  EXPECT_EQ(end38400->back(), 0x1A);

  const auto model = BuildLinkHeader(HEADER_MODEL_PACKET, LinkProtocol::Baud38400, {});
  ASSERT_TRUE(model);
  const std::string_view expected = ":MDL1ZX945\xFF" "038400N1.10"sv;
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), model->begin(),
                         [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; }));
  EXPECT_EQ((*model)[24], 0x10);
  EXPECT_EQ((*model)[34], 0x07);
  EXPECT_EQ(model->back(), 0x4A);

  EXPECT_FALSE(BuildLinkHeader(ITEM_MATRIX, LinkProtocol::Baud9600, info));
  EXPECT_FALSE(BuildLinkHeader(ITEM_TEXT_FM, LinkProtocol::Baud38400, info));
  EXPECT_FALSE(BuildLinkHeader(HEADER_MODEL_PACKET, LinkProtocol::Baud9600, info));
  // A length the 16-bit field cannot carry is refused rather than wrapped.
  EXPECT_FALSE(BuildLinkHeader(ITEM_PROGRAM, LinkProtocol::Baud9600, {70000, "A", ""}));
  EXPECT_FALSE(BuildLinkHeader(ITEM_PROGRAM, LinkProtocol::Baud38400, {65530, "A", ""}));
  EXPECT_TRUE(BuildLinkHeader(ITEM_PROGRAM, LinkProtocol::Baud9600, {65535, "A", ""}));
}

}  // namespace
}  // namespace korvane
