#pragma once
// A fresh interpreter over the shipped token table, a recording screen and a
// fake host, with helpers that write program lines as calculator text and
// describe what the evaluator made of them.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "interpreter/element_format.h"
#include "interpreter/interpreter.h"
#include "interpreter/program_preparation.h"
#include "interpreter/token_codes.h"
#include "interpreter/fake_run_host.h"
#include "interpreter/recording_run_screen.h"
#include "support/recording_message_sink.h"
#include "text/calculator_charset.h"
#include "text/rgb_image.h"
#include "text/shipped_token_table.h"

namespace korvane::test {

// Program data of calculator text typed with AutoCorrect ("->", "-", "*", "^").
inline ProgramBytes ProgramOf(std::string_view utf8) {
  const auto calc = Utf8ToCalc(utf8, LineBreaks::Keep);
  EXPECT_TRUE(calc.has_value()) << utf8;
  const auto result = ShippedTokenTable().TokeniseProgramText(calc.value_or(""), true);
  EXPECT_TRUE(result.data.has_value()) << utf8;
  return result.data.value_or(MakeProgramData({}));
}

// A number as the tests write it: FormatNumber's text with "-", "+" and "e".
inline std::string PlainNumber(double x) {
  std::string text;
  for (const char c : FormatNumber(x)) {
    text += c == NEGATIVE_SIGN ? '-' : c == PLUS_SIGN ? '+' : c == EXPONENT_MARK ? 'e' : c;
  }
  return text;
}

class InterpreterTest : public ::testing::Test {
 protected:
  void SetUp() override { interpreter.ResetEmulatorMemory(false); }

  // Evaluates the first statement of the calculator text and describes the
  // result: the error text when an error was raised, else the one value
  // ("64", "3+4i", "{1,2}", "[[1,2][3,4]]"), else the element count.
  std::string Eval(std::string_view utf8) {
    interpreter.ClearErrorFlag();
    memory().FreeTemporaries();
    PreparedElements prepared = PrepareProgram(ProgramOf(utf8));
    statement.clear();
    for (const Element& e : prepared.elements) {
      if (e.IsToken(tk::END) || e.IsToken(tk::COLON) || e.IsToken(tk::LINE_BREAK) || e.IsToken(tk::DISPLAY_STOP))
        break;
      statement.push_back(e);
    }
    keep = std::move(prepared);  // strings point into it
    std::size_t count = statement.size();
    interpreter.EvaluateRange(statement, 0, count);
    statement.resize(count);
    if (interpreter.ErrorFlag()) return screen.prints.back().text;
    if (count != 1) return std::to_string(count) + " elements";
    return Describe(statement[0]);
  }

  std::string Describe(const Element& e) {
    switch (e.kind) {
      case ELEM_NUMBER:
        if (e.value.imag == 0.0) return PlainNumber(e.value.real);
        return PlainNumber(e.value.real) + (e.value.imag >= 0 ? "+" : "") + PlainNumber(e.value.imag) + "i";
      case ELEM_STRING: return "\"" + CalcToUtf8(interpreter.FormatElement(e)) + "\"";
      case ELEM_LIST: return "{" + Cells(e.block, ",") + "}";
      case ELEM_MATRIX: {
        const Block b = memory().Pool().Info(e.block);
        std::string text = "[";
        for (std::uint32_t row = 0; row < b.rows; ++row) {
          text += "[";
          for (std::uint32_t column = 0; column < b.columns; ++column)
            text += (column ? "," : "") + PlainNumber(memory().ReadCell(e.block, column, row));
          text += "]";
        }
        return text + "]";
      }
      default: return "token";
    }
  }

  std::string Cells(BlockId block, const char* separator) {
    std::string text;
    for (const double cell : memory().Pool().Cells(block)) text += (text.empty() ? "" : separator) + PlainNumber(cell);
    return text;
  }

  EmulatorMemory& memory() { return interpreter.Memory(); }
  Value& Var(char letter) { return memory().Variable(std::size_t(letter - 'A')); }

  // List n (from 1) of the current file, or a matrix, as a permanent block.
  void SetList(std::size_t n, const std::vector<double>& cells) {
    BlockId& list = memory().List(memory().CurrentListFile(), n - 1);
    memory().FreeBlock(list);
    list = memory().AllocateBlock(BlockKind::Permanent, 1, std::uint32_t(cells.size())).value();
    std::copy(cells.begin(), cells.end(), memory().Pool().Cells(list).begin());
  }
  void SetMatrix(char letter, std::uint32_t rows, std::uint32_t columns, const std::vector<double>& cells) {
    BlockId& matrix = memory().Matrix(std::size_t(letter - 'A'));
    memory().FreeBlock(matrix);
    matrix = memory().AllocateBlock(BlockKind::Permanent, columns, rows).value();
    std::copy(cells.begin(), cells.end(), memory().Pool().Cells(matrix).begin());
  }
  // A program of the run table, as calculator text.
  void AddProgram(std::string_view name, std::string_view utf8) {
    ASSERT_EQ(interpreter.Programs().AddProgram(name, ProgramOf(utf8)), AddProgramResult::Added);
  }

  RecordingRunScreen screen;
  FakeRunHost host;
  RecordingMessageSink messages;
  Interpreter interpreter{ShippedTokenTable(), screen, host, messages};
  std::vector<Element> statement;
  PreparedElements keep;
};

}  // namespace korvane::test
