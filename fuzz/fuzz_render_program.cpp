// Rendering arbitrary program bytes: no crash, and the text is stable: the
// bytes from tokenising a rendered text render and tokenise to themselves.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "fuzz/fuzz_support.h"
#include "text/program_renderer.h"
#include "text/token_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const korvane::TokenTable& table = korvane::fuzz::ShippedTokenTable();
  const korvane::RenderOptions options{(data[0] & 1) != 0, (data[0] & 2) != 0};
  const std::span<const uint8_t> program(data, size);  // the first byte stands where 0x3A does

  korvane::RenderProgram(table, program, true, options);
  korvane::RenderProgram(table, program, false, options);

  // Text that is tokenised again is rendered as the editor opens programs:
  // with the line break after display-and-stop, which the tokeniser takes back.
  // It is read without AutoCorrect: a rendered text holds display texts, and
  // AutoCorrect is for typing (its "->" row would turn "Mat" "-" ">" "List("
  // into the one token "Mat->List(" only on a second reading).
  const korvane::RenderOptions editor{options.highlighting, true};
  const auto first = korvane::RenderProgram(table, program, true, editor);
  const auto tokens = table.TokeniseProgramText(first.plainText, false);
  if (!tokens.data) return 0;
  const auto second = korvane::RenderProgram(table, *tokens.data, true, editor);
  const auto again = table.TokeniseProgramText(second.plainText, false);
  if (!again.data || *again.data != *tokens.data) std::abort();
  return 0;
}
