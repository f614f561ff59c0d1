#include "interpreter/statement_text.h"

#include "interpreter/element_format.h"
#include "interpreter/token_codes.h"

namespace korvane {

std::string StatementText(std::span<const Element> program, std::size_t pc, const TokenTable& tokens) {
  std::string text;
  for (std::size_t i = pc; i < program.size(); ++i) {
    const Element& e = program[i];
    if (e.IsToken(tk::END) || e.IsToken(tk::COLON) || e.IsToken(tk::LINE_BREAK) || e.IsToken(tk::DISPLAY_STOP))
      break;
    if (e.kind == ELEM_TOKEN) {
      const std::uint8_t code[2] = {e.token, e.token2};
      text += tokens.FindTokenByCode(std::span(code, e.token == 0x7F || e.token == 0xF7 ? 2 : 1)).displayText;
    } else if (e.kind == ELEM_STRING) {
      text += '"' + FormatElement(e, tokens) + '"';
    } else {
      text += FormatElement(e, tokens);
    }
  }
  return text;
}

}  // namespace korvane
