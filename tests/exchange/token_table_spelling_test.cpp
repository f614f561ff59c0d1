#include "exchange/token_table_spelling.h"

#include <gtest/gtest.h>

#include "exchange/cat_format.h"
#include "exchange_samples.h"
#include "support/recording_message_sink.h"

namespace korvane {
namespace {

using namespace std::string_view_literals;

class FixedTexts : public TextLookup {
 public:
  std::string Text(int id) const override { return std::to_string(id); }
};

// The program's own token table, as the build writes it into the program directory.
TEST(TokenTableSpellingTest, ProgramRoundTripWithTheRealTable) {
  TokenTable table;
  test::RecordingMessageSink messages;
  ASSERT_TRUE(table.LoadTokenTable(KORVANE_PROGRAM_DIR, messages));
  const TokenTableSpelling spelling(table);
  const FixedTexts texts;

  // If A+1->B / List->Mat( / Abs 1, with a blank line at the end.
  const auto program = test::ProgramItem("REAL", "\xF7\x00" "A\x89" "1\x0E" "B\x0D\x7F\x4A\x0D\x97" "1\x0D"sv);
  for (CatVariant variant : {CatVariant::Standard, CatVariant::Algebra}) {
    const CatWriteResult written = WriteCat(std::span(&program, 1), variant, spelling);
    ASSERT_FALSE(written.message.has_value());
    EXPECT_NE(written.text.find("\\If A+1->B\r\n\\List->Mat(\r\n\\Abs 1\r\n"), std::string::npos) << written.text;
    const ReadResult read = ReadCat(written.text, spelling, texts);
    ASSERT_EQ(read.items.size(), 1u) << (read.message ? read.message->fixedText : "");
    EXPECT_EQ(read.items[0], program);
  }
}

}  // namespace
}  // namespace korvane
