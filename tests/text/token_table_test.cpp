#include "text/token_table.h"

#include <gtest/gtest.h>

#include <random>

#include "support/recording_message_sink.h"
#include "text/shipped_token_table.h"
#include "support/temp_dir.h"
#include "text/calculator_charset.h"

namespace korvane {
namespace {

TokenRecord Record(std::vector<uint8_t> code, std::string display, std::string exchange = "") {
  TokenRecord r;
  r.codeLength = uint8_t(code.size());
  r.code = {code[0], code.size() > 1 ? code[1] : uint8_t(0)};
  if (display.size() == 1) {
    r.displayChar = uint8_t(display[0]);
  } else {
    std::copy(display.begin(), display.end(), r.displayText.begin());
  }
  std::copy(exchange.begin(), exchange.end(), r.exchangeText.begin());
  return r;
}

TokenTable TableOf(const std::vector<TokenRecord>& records) {
  TokenTable table;
  for (const auto& r : records) EXPECT_TRUE(table.AddRecord(r));
  return table;
}

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

std::string Calc(std::string_view utf8) { return Utf8ToCalc(utf8, LineBreaks::Keep).value(); }


TEST(TokenTableLookupTest, ByCodeTakesFirstRecordAndNeverReadsPastTheInput) {
  const TokenTable table = TableOf({Record({0x41}, "A"), Record({0x41}, "second"),
                                    Record({0x7F, 0x40}, "Mat "), Record({0xF7, 0x00}, "If ")});
  const uint8_t a[] = {0x41, 0x7F};
  EXPECT_EQ(table.FindTokenByCode(a).length, 1);
  EXPECT_EQ(table.FindTokenByCode(a).displayText, "A");
  const uint8_t mat[] = {0x7F, 0x40};
  EXPECT_EQ(table.FindTokenByCode(mat).displayText, "Mat ");
  const uint8_t cut[] = {0x7F};
  EXPECT_EQ(table.FindTokenByCode(cut).length, 0);
  const uint8_t unknown[] = {0x7F, 0x99};
  EXPECT_EQ(table.FindTokenByCode(unknown).length, 0);
  EXPECT_EQ(table.FindTokenByCode({}).length, 0);
}

TEST(TokenTableLookupTest, ExchangeTextLengthsAndGaps) {
  const TokenTable table = TableOf({Record({0x41}, "A", "A"), Record({0x42}, "B"),
                                    Record({0x7F, 0x40}, "Mat ", "\\Mat "), Record({0x7F, 0x41}, "Trn ", "\\Trn "),
                                    Record({0x7F, 0x40}, "Mat2", "\\Later")});
  const uint8_t known[] = {0x7F, 0x41, 0x41};
  auto lookup = table.FindExchangeText(known);
  EXPECT_EQ(lookup.length, 2);
  EXPECT_EQ(lookup.exchangeText, "\\Trn ");
  const uint8_t noText[] = {0x42};
  EXPECT_EQ(table.FindExchangeText(noText).exchangeText, std::nullopt);  // first record decides
  const uint8_t unknownByte[] = {0x43};
  lookup = table.FindExchangeText(unknownByte);
  EXPECT_EQ(lookup.length, 1);
  EXPECT_FALSE(lookup.exchangeText);
  const uint8_t unknownPair[] = {0x7F, 0x20};
  lookup = table.FindExchangeText(unknownPair);
  EXPECT_EQ(lookup.length, 2);
  EXPECT_FALSE(lookup.exchangeText);
  // A prefix as the last byte: only one byte is there to step over.
  const uint8_t lonePrefix[] = {0x7F};
  EXPECT_EQ(table.FindExchangeText(lonePrefix).length, 1);

  EXPECT_EQ(table.MatchExchangeText("\\Mat A").consumed, 5u);
  EXPECT_EQ(table.MatchExchangeText("\\Mat A").record.DisplayText(), "Mat ");
  EXPECT_EQ(table.MatchExchangeText("\\Later").record.DisplayText(), "Mat2");
  EXPECT_EQ(table.MatchExchangeText("\\mat A").consumed, 0u);  // byte for byte
}

TEST(TokenTableLookupTest, ACommandSpeltWithABlankMatchesWithoutItWhereNoLetterFollows) {
  const TokenTable& table = test::ShippedTokenTable();
  const auto code = [&](std::string_view text) {
    const ExchangeMatch m = table.MatchExchangeText(text);
    return std::pair{m.consumed, m.consumed == 0 ? 0 : m.record.code[0] << 8 | m.record.code[1]};
  };
  EXPECT_EQ(code("\\Then\r\n5"), std::pair(size_t{5}, 0xF701));  // at a line end
  EXPECT_EQ(code("\\Then \"Y\""), std::pair(size_t{6}, 0xF701));  // with its blank: the whole spelling
  EXPECT_EQ(code("\\Else"), std::pair(size_t{5}, 0xF702));      // at the end of the text
  EXPECT_EQ(code("\\Int(A/2)"), std::pair(size_t{4}, 0xA600));  // before a bracket
  EXPECT_EQ(code("\\Intg(A)"), std::pair(size_t{5}, 0xDE00));   // the longer name wins
  EXPECT_EQ(code("\\Lbl1"), std::pair(size_t{4}, 0xE200));
  EXPECT_EQ(code("\\Thenx"), std::pair(size_t{0}, 0));           // a letter: another word
  EXPECT_EQ(code("\\IfEnd"), std::pair(size_t{6}, 0xF703));      // not If and "End"
}

TEST(TokenTableMatchTest, AutoCorrectComesFirstEvenInLiterals) {
  const TokenTable table = TableOf({Record({0x2D}, "-"), Record({0x3E}, ">"), Record({0x20}, " ")});
  for (bool inLiteral : {false, true}) {
    auto m = table.MatchTokenText("->A", inLiteral, true);
    EXPECT_EQ(m.code[0], TOKEN_ASSIGN);
    EXPECT_EQ(m.consumed, 2u);
    m = table.MatchTokenText("-A", inLiteral, true);
    EXPECT_EQ(m.code[0], TOKEN_MINUS);  // although the table has "-"
    EXPECT_EQ(m.consumed, 1u);
  }
  EXPECT_EQ(table.MatchTokenText(" -> B", false, true).consumed, 4u);
  EXPECT_EQ(table.MatchTokenText(" => B", false, true).code[0], TOKEN_IMPLIES);
  EXPECT_EQ(table.MatchTokenText("\x99>", false, true).code[0], TOKEN_ASSIGN);
  EXPECT_EQ(table.MatchTokenText("=/=", false, true).code[0], TOKEN_NOT_EQUAL);
  const auto conversion = table.MatchTokenText("List->Mat(List 1", false, true);
  EXPECT_EQ(conversion.codeLength, 2);
  EXPECT_EQ(conversion.code[1], 0x4A);
  EXPECT_EQ(conversion.consumed, 10u);
  EXPECT_EQ(table.MatchTokenText("*", false, true).code[0], TOKEN_TIMES);
  EXPECT_EQ(table.MatchTokenText("^", false, true).code[0], TOKEN_POWER);
  // Off: the table's own "-" wins; without such a record "-" is still the minus.
  EXPECT_EQ(table.MatchTokenText("-", false, false).code[0], 0x2D);
  const TokenTable bare = TableOf({Record({0x41}, "A")});
  EXPECT_EQ(bare.MatchTokenText("-", false, false).code[0], TOKEN_MINUS);
  EXPECT_EQ(bare.MatchTokenText("+", false, false).code[0], TOKEN_PLUS);
  EXPECT_EQ(bare.MatchTokenText("->", false, false).code[0], TOKEN_MINUS);
  EXPECT_EQ(bare.MatchTokenText("*", false, false).consumed, 0u);
}

TEST(TokenTableMatchTest, LongestMatchThenFirstInFileOrder) {
  const TokenTable table = TableOf({Record({0x49}, "I"), Record({0xE1}, "Int"), Record({0xA6}, "Int "),
                                    Record({0xDE}, "Intg "), Record({0xB0}, "Int ")});
  EXPECT_EQ(table.MatchTokenText("Int A", false, true).code[0], 0xA6);
  EXPECT_EQ(table.MatchTokenText("Int A", false, true).consumed, 4u);
  EXPECT_EQ(table.MatchTokenText("IntA", false, true).code[0], 0xE1);
  EXPECT_EQ(table.MatchTokenText("Intg 2", false, true).code[0], 0xDE);
  EXPECT_EQ(table.MatchTokenText("In", false, true).code[0], 0x49);
  EXPECT_EQ(table.MatchTokenText("x", false, true).consumed, 0u);
  EXPECT_EQ(table.MatchTokenText("", false, true).consumed, 0u);
}

TEST(TokenTableMatchTest, LetterCaseOnlyOutsideLiteralsAndOnlyForLongerTexts) {
  const TokenTable table = TableOf({Record({0x41}, "A"), Record({0x61}, "a"), Record({0x4E}, "N"),
                                    Record({0x6E}, "n"), Record({0x53}, "S"), Record({0x73}, "s"),
                                    Record({0xC0}, "Ans"), Record({0x7F, 0x8F}, "Getkey")});
  EXPECT_EQ(table.MatchTokenText("ans", false, true).code[0], 0xC0);
  EXPECT_EQ(table.MatchTokenText("GETKEY", false, true).codeLength, 2);
  // In a string or comment prose stays letters; one character never changes case.
  EXPECT_EQ(table.MatchTokenText("ans", true, true).code[0], 0x61);
  EXPECT_EQ(table.MatchTokenText("Ans", true, true).code[0], 0xC0);
  EXPECT_EQ(table.MatchTokenText("a", false, true).code[0], 0x61);
  // Without AutoCorrect the case counts everywhere.
  EXPECT_EQ(table.MatchTokenText("ans", false, false).code[0], 0x61);
}

TEST(TokenTableMatchTest, HyphenMinusAndNegativeSignInterchangeInLongerTexts) {
  const std::string fLine = "F-Line ";
  const std::string asin = "sin\x87\x9B ";
  const TokenTable table = TableOf({Record({0x46}, "F"), Record({0x73}, "s"), Record({0xF7, 0xA7}, fLine),
                                    Record({0x91}, asin)});
  EXPECT_EQ(table.MatchTokenText("F\x99Line 1", false, true).code[1], 0xA7);
  EXPECT_EQ(table.MatchTokenText("F\x87Line 1", true, true).code[1], 0xA7);  // also in literals
  const auto m = table.MatchTokenText("sin-\x9B 0.5", false, true);
  EXPECT_EQ(m.code[0], 0x91);
  EXPECT_EQ(m.consumed, 6u);
  EXPECT_EQ(table.MatchTokenText("sin-\x9B ", false, false).code[0], 0x73);  // off: exact only
}

TEST(TokenTableMatchTest, IndexedLookupsEqualThePlainScans) {
  const TokenTable& table = test::ShippedTokenTable();
  // Texts made of pieces of the table's own display and exchange texts, mixed
  // with random bytes and letter case flips, so near misses are common.
  std::mt19937 random(12345);
  std::vector<std::string> pieces;
  for (const auto& r : table.records()) {
    pieces.emplace_back(r.DisplayText());
    pieces.emplace_back(r.ExchangeText());
  }
  for (const char* extra : {"->", " -> ", "=>", "-", "\x87", "\x99", "List->Mat(", "Mat->List("}) pieces.push_back(extra);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int parts = 1 + int(random() % 3);
    for (int p = 0; p < parts; ++p) {
      std::string piece = pieces[random() % pieces.size()];
      for (char& c : piece) {
        const int roll = int(random() % 10);
        if (roll == 0 && std::isalpha(uint8_t(c))) c = char(c ^ 0x20);
        if (roll == 1) c = char(random() % 256);
      }
      text += piece;
    }
    for (bool inLiteral : {false, true}) {
      for (bool autoCorrect : {false, true}) {
        const auto fast = table.MatchTokenText(text, inLiteral, autoCorrect);
        const auto slow = table.MatchTokenTextByScan(text, inLiteral, autoCorrect);
        ASSERT_EQ(fast.consumed, slow.consumed) << text;
        if (fast.consumed) {
          ASSERT_EQ(fast.codeLength, slow.codeLength) << text;
          ASSERT_EQ(fast.code, slow.code) << text;
        }
      }
    }
    const auto fast = table.MatchExchangeText(text);
    const auto slow = table.MatchExchangeTextByScan(text);
    ASSERT_EQ(fast.consumed, slow.consumed) << text;
    ASSERT_EQ(fast.record, slow.record) << text;
    const auto fastCode = table.FindTokenByCode(Bytes(text));
    const auto slowCode = table.FindTokenByCodeByScan(Bytes(text));
    ASSERT_EQ(fastCode.length, slowCode.length);
    ASSERT_EQ(fastCode.displayText, slowCode.displayText);
  }
}

TEST(TokeniseProgramTextTest, DisplayStopTakesItsLineBreakAndCountsTheLine) {
  const TokenTable& table = test::ShippedTokenTable();
  const auto result = table.TokeniseProgramText(Calc("\"HI\"◢\r\nA\r\n"), true);
  ASSERT_TRUE(result.data);
  EXPECT_EQ(*result.data, test::Program({0x22, 'H', 'I', 0x22, 0x0C, 'A', 0x0D}));
  // The line counter moved on at the display-and-stop: the bad character is on line 3.
  const auto failed = table.TokeniseProgramText(Calc("1◢\r\nA\r\n") + "\x1A", true);
  EXPECT_FALSE(failed.data);
  EXPECT_EQ(failed.failedLine, 3);
}

TEST(TokeniseProgramTextTest, FailureShowsMessage18WithTheLine) {
  const TokenTable& table = test::ShippedTokenTable();
  test::RecordingMessageSink sink;
  EXPECT_FALSE(table.TokeniseProgramText(std::string("A\r\nB\r\nC\x1A"), true, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].textId, 18);
  EXPECT_EQ(sink.messages[0].captionId, 2);
  EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(sink.messages[0].args, std::vector<FormatArg>{FormatArg(std::int64_t(3))});
  // An empty table fails at the first token, on line 1.
  EXPECT_EQ(TokenTable().TokeniseProgramText("A", true).failedLine, 1);
}

TEST(TokeniseProgramTextTest, CaseRulesFollowCommentsAndStrings) {
  const TokenTable& table = test::ShippedTokenTable();
  // "if" in a string and after an apostrophe stays letters; outside it is the command.
  auto data = table.TokeniseProgramText("if 1\r\n\"if \"\r\n'if \r\nif 1", true).data.value();
  const ProgramBytes expected = test::Program({0xF7, 0x00, '1', 0x0D, 0x22, 'i', 'f', ' ', 0x22, 0x0D, 0x27, 'i', 'f',
                                         ' ', 0x0D, 0xF7, 0x00, '1'});
  EXPECT_EQ(data, expected);
  // An apostrophe inside a string opens no comment: after the string "if " is a command again.
  data = table.TokeniseProgramText("\"'\"if 1", true).data.value();
  EXPECT_EQ(data, test::Program({0x22, 0x27, 0x22, 0xF7, 0x00, '1'}));
  // The colon does not end a comment, the semicolon does.
  data = table.TokeniseProgramText("'x:if ;if 1", true).data.value();
  EXPECT_EQ(data, test::Program({0x27, 'x', ':', 'i', 'f', ' ', ';', 0xF7, 0x00, '1'}));
}

TEST(TokeniseProgramTextTest, ChecksumMakesTheBytesAfterTheStartSumToZero) {
  const auto data = test::ShippedTokenTable().TokeniseProgramText(Calc("For 1→A To 10\r\nNext"), true).data.value();
  unsigned sum = 0;
  for (size_t i = 1; i < data.size(); ++i) sum += data[i];
  EXPECT_EQ(sum % 256, 0u);
  EXPECT_EQ(data[data.size() - 2], PROGRAM_END);
  EXPECT_EQ(test::ShippedTokenTable().TokeniseProgramText("", true).data.value(), test::Program({}));
}

TEST(TokenTableLoadTest, WholeRecordsOnlyAndDamagedRecordsLeftOut) {
  test::TempDir dir;
  std::vector<uint8_t> bytes;
  for (const auto& r : {Record({0x41}, "A"), Record({0x42}, "B")}) {
    const auto encoded = EncodeTokenRecord(r);
    bytes.insert(bytes.end(), encoded.begin(), encoded.end());
  }
  bytes.insert(bytes.end(), 43, 0x01);  // a part record
  dir.WriteFile(TOKEN_TABLE_FILE_NAME, bytes);
  TokenTable table;
  test::RecordingMessageSink sink;
  ASSERT_TRUE(table.LoadTokenTable(dir.Path(), sink));
  EXPECT_EQ(table.size(), 2u);
  EXPECT_TRUE(sink.messages.empty());

  auto damaged = EncodeTokenRecord(Record({0x43}, "C"));
  damaged[TOKEN_OFFSET_CODE_LENGTH] = 3;  // would read past the code field
  bytes.resize(2 * TOKEN_RECORD_SIZE);
  bytes.insert(bytes.end(), damaged.begin(), damaged.end());
  dir.WriteFile(TOKEN_TABLE_FILE_NAME, bytes);
  ASSERT_TRUE(table.LoadTokenTable(dir.Path(), sink));
  EXPECT_EQ(table.size(), 2u);
  EXPECT_EQ(sink.messages.size(), 1u);

  sink.Clear();
  EXPECT_FALSE(table.LoadTokenTable(dir.File("missing/"), sink));
  EXPECT_EQ(table.size(), 0u);
  EXPECT_EQ(sink.messages.size(), 1u);
}

TEST(TokenTableLoadTest, StopsAtItsCapacity) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 801; ++i) {
    std::string name = std::to_string(i);
    name.insert(name.begin(), 'T');
    const auto encoded = EncodeTokenRecord(Record({0xF7, uint8_t(i)}, name));
    bytes.insert(bytes.end(), encoded.begin(), encoded.end());
  }
  TokenTable table;
  EXPECT_EQ(table.LoadRecords(bytes), 1u);
  EXPECT_EQ(table.size(), TOKEN_TABLE_CAPACITY);
  EXPECT_EQ(table.records().back().DisplayText(), "T799");
}

TEST(ShippedTokenTableTest, HoldsEveryTokenWithAFixedRole) {
  const TokenTable& table = test::ShippedTokenTable();
  EXPECT_GT(table.size(), 300u);
  const std::vector<std::vector<uint8_t>> codes = {
      {0x0D}, {0x0C}, {0x27}, {0x22}, {0x3B}, {0x0E}, {0x11}, {0x13}, {0x89}, {0x99}, {0xA8}, {0xA9}, {0x87},
      {0x7F, 0x4A}, {0x7F, 0x4B}, {0x10}, {0x12}, {0x0F}, {0x3F}, {0xC0}, {0xC1}, {0xCD}, {0xCE}, {0xD0},
      // what the interpreter runs
      {0xD9}, {0xDA}, {0xDB}, {0xDC}, {0xDD}, {0xE2}, {0xE8}, {0xE9}, {0xEB}, {0xEC}, {0xED}, {0xD1}, {0xE0},
      {0xE1}, {0x7F, 0x34}, {0x7F, 0x35}, {0x7F, 0x36}, {0x7F, 0x47}, {0x7F, 0x40}, {0x7F, 0x51},
      {0x7F, 0x49}, {0x7F, 0x2C}, {0x7F, 0x8F}, {0x7F, 0x50}, {0x7F, 0x22}, {0x7F, 0x23}, {0x7F, 0x24},
      {0x7F, 0x25}, {0x8B}, {0x9B}, {0xB8}, {0x81}, {0x82}, {0x83}, {0x85}, {0x86}, {0x91}, {0x92}, {0x93},
      {0x95}, {0x96}, {0xA1}, {0xA2}, {0xA3}, {0xA7}, {0x7F, 0xB3}, {0x97}, {0xA6}, {0xB6}, {0xDE},
      {0x7F, 0x46}, {0x7F, 0x48}, {0x7F, 0x4C}, {0xB9}, {0xBB}, {0x7F, 0xB0}, {0xBA}, {0x7F, 0xB1}, {0xAA},
      {0x14}, {0x19}, {0x7F, 0x00}, {0x7F, 0x01}, {0x7F, 0x02}, {0x7F, 0x04}, {0x7F, 0x05}, {0x7F, 0x06},
      {0x7F, 0x08}, {0x7F, 0x09}, {0x7F, 0x0A}};
  std::vector<std::vector<uint8_t>> twoByteStatements;
  for (int b : {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x10,
                0x18, 0x19, 0x78, 0x79, 0x7A, 0x7B, 0x93, 0x94, 0x97, 0x98, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8,
                0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAF, 0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0xC0, 0xC1, 0xC2, 0xC3,
                0xC4, 0xC5, 0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5}) {
    twoByteStatements.push_back({0xF7, uint8_t(b)});
  }
  for (const auto& list : {codes, twoByteStatements}) {
    for (const auto& code : list) {
      const auto found = table.FindTokenByCode(code);
      EXPECT_EQ(found.length, int(code.size())) << int(code[0]) << " " << (code.size() > 1 ? int(code[1]) : -1);
    }
  }
  const uint8_t lineBreak[] = {0x0D};
  EXPECT_EQ(table.FindTokenByCode(lineBreak).displayText, "\r");
  const uint8_t displayStop[] = {0x0C};
  EXPECT_EQ(table.FindTokenByCode(displayStop).displayText, std::string(1, DISPLAY_STOP_CHAR));
}

TEST(ShippedTokenTableTest, EveryTokenComesBackFromItsOwnTexts) {
  // Each code's display text (outside and inside literals) and exchange text
  // must lead back to that code, or the editor and .cat files would change programs.
  const TokenTable& table = test::ShippedTokenTable();
  for (const auto& r : table.records()) {
    const std::span<const uint8_t> code(r.code.data(), r.codeLength);
    if (table.FindTokenByCode(code).displayText != r.DisplayText()) continue;  // a later alias
    if (r.code[0] == 0x0D) continue;  // the line break is the editor's own
    for (bool inLiteral : {false, true}) {
      const auto m = table.MatchTokenText(r.DisplayText(), inLiteral, true);
      EXPECT_EQ(m.consumed, r.DisplayText().size()) << CalcToUtf8(r.DisplayText());
      EXPECT_EQ(m.codeLength, r.codeLength) << CalcToUtf8(r.DisplayText());
      EXPECT_TRUE(m.code[0] == r.code[0] && (r.codeLength == 1 || m.code[1] == r.code[1]))
          << CalcToUtf8(r.DisplayText());
    }
    if (!r.ExchangeText().empty()) {
      EXPECT_EQ(table.MatchExchangeText(r.ExchangeText()).record, r) << r.ExchangeText();
      EXPECT_EQ(table.FindExchangeText(code).exchangeText, r.ExchangeText());
    }
  }
}

}  // namespace
}  // namespace korvane
