// The prepared programs of a run: their limits and the lookups by name.

#include "interpreter/run_table.h"
#include "support/recording_message_sink.h"

#include <gtest/gtest.h>

#include "text/token_table.h"

namespace korvane {
namespace {

const ProgramBytes kSmall = MakeProgramData(std::vector<uint8_t>{'1', '+', '2'});

TEST(RunTableTest, ProgramsAreFoundByNameWithoutRegardToCase) {
  RunTable table;
  ASSERT_EQ(table.AddProgram("MAIN", kSmall), AddProgramResult::Added);
  ASSERT_EQ(table.AddProgram("Sub-1", kSmall), AddProgramResult::Added);
  ASSERT_EQ(table.AddProgram("f2", kSmall), AddProgramResult::Added);
  EXPECT_EQ(table.FindPreparedProgram("main"), 0u);
  EXPECT_EQ(table.FindPreparedProgram("SUB\x99" "1"), 1u);  // the minus sign matches "-"
  EXPECT_EQ(table.FindPreparedProgram("sub-1"), 1u);
  EXPECT_FALSE(table.FindPreparedProgram("MAI"));
  EXPECT_FALSE(table.FindPreparedProgram("MAIN "));
  EXPECT_EQ(table.FindFunctionMemory(2), 2u);
  EXPECT_FALSE(table.FindFunctionMemory(1));
  EXPECT_EQ(table.Entry(0).size, 4u * ELEMENT_SIZE);  // 1, "+", 2 and the end marker
  EXPECT_EQ(table.BytesUsed(), 3u * 4u * ELEMENT_SIZE);
}

TEST(RunTableTest, AtMost250Programs) {
  RunTable table;
  for (int i = 0; i < 250; ++i) ASSERT_EQ(table.AddProgram("P" + std::to_string(i), kSmall), AddProgramResult::Added);
  EXPECT_EQ(table.AddProgram("ONE MORE", kSmall), AddProgramResult::TooManyPrograms);
  EXPECT_EQ(table.Count(), 250u);
  EXPECT_EQ(test::EnglishBody(AddProgramRefusal(AddProgramResult::TooManyPrograms)),
            "The emulator takes at most 250 programs of a folder; the program was not started.");
  table.Clear();
  EXPECT_EQ(table.Count(), 0u);
  EXPECT_EQ(table.BytesUsed(), 0u);
}

TEST(RunTableTest, ProgramsThatDoNotFitTheWorkBufferAreRefused) {
  RunTable table;
  // 30,000 tokens prepare to 30,001 elements: 1,200,040 bytes of the 2 MiB.
  const ProgramBytes large = MakeProgramData(std::vector<uint8_t>(30000, 'A'));
  ASSERT_EQ(table.AddProgram("ONE", large), AddProgramResult::Added);
  EXPECT_EQ(table.BytesUsed(), 30001u * ELEMENT_SIZE);
  EXPECT_EQ(table.AddProgram("TWO", large), AddProgramResult::TooLarge);
  EXPECT_EQ(table.Count(), 1u);
  EXPECT_EQ(table.BytesUsed(), 30001u * ELEMENT_SIZE);
  // What still fits is taken.
  ASSERT_EQ(table.AddProgram("SMALL", kSmall), AddProgramResult::Added);
  const Message refusal = AddProgramRefusal(AddProgramResult::TooLarge);
  EXPECT_EQ(test::EnglishBody(refusal), "The programs of this folder do not fit into the emulator's 2 MiB of program "
                                        "memory; the program was not started.");
  EXPECT_EQ(refusal.captionId, CAPTION_ERROR);
}

}  // namespace
}  // namespace korvane
