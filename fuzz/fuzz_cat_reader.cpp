// Reads arbitrary text as a .cat file with a small token set, then writes the
// items it read in both variants and reads them again: no crash, every item
// within the reading area, and a file we wrote reads back as the same items.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/cat_format.h"

namespace {

using namespace korvane;

// Letters, digits and a few spellings of one and two characters, two-byte
// tokens included.
class SmallSpelling : public ExchangeSpelling {
 public:
  ExchangeTextLookup FindExchangeText(std::span<const std::uint8_t> bytes) const override {
    ExchangeTextLookup found;
    if (bytes.empty()) return found;
    if (bytes[0] == 0x7F || bytes[0] == 0xF7) {
      found.tokenLength = 2;
      if (bytes[0] == 0xF7 && bytes.size() > 1 && bytes[1] == 0x00) found.text = "If ";
      return found;
    }
    const char c = static_cast<char>(bytes[0]);
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ') found.text = std::string(1, c);
    if (bytes[0] == 0x0E) found.text = "->";
    return found;
  }
  ExchangeTextMatch MatchExchangeText(std::string_view text) const override {
    ExchangeTextMatch match;
    if (text.starts_with("If ")) return {3, 2, {0xF7, 0x00}};
    if (text.starts_with("->")) return {2, 1, {0x0E, 0}};
    if (text.empty()) return match;
    const char c = text[0];
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ') {
      return {1, 1, {static_cast<std::uint8_t>(c), 0}};
    }
    return match;
  }
};

class NumberTexts : public TextLookup {
 public:
  std::string Text(int id) const override { return std::to_string(id); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const SmallSpelling tokens;
  static const NumberTexts texts;
  const std::string text(data, data + size);
  const ReadResult read = ReadCat(text, tokens, texts);
  for (const ExchangeItem& item : read.items) {
    if (item.data.size() > READ_AREA_SIZE) abort();
  }
  if (read.outcome != ReadOutcome::Complete && !read.message) abort();
  // Write what was read in both variants; a complete write must read back
  // item for item. An escaped 0xFF inside a program reads as its end, so
  // such programs are left out.
  std::vector<ExchangeItem> wellFormed;
  for (const ExchangeItem& item : read.items) {
    if (item.type == ITEM_TEXT_FM) continue;
    if (item.type == ITEM_PROGRAM &&
        std::find(item.data.begin(), item.data.end() - 2, 0xFF) != item.data.end() - 2) {
      continue;
    }
    wellFormed.push_back(item);
  }
  for (CatVariant variant : {CatVariant::Standard, CatVariant::Algebra}) {
    const CatWriteResult written = WriteCat(wellFormed, variant, tokens);
    if (written.message || written.text.empty()) continue;
    const ReadResult again = ReadCat(written.text, tokens, texts);
    if (again.outcome != ReadOutcome::Complete || again.items.size() != wellFormed.size()) abort();
    for (std::size_t i = 0; i < again.items.size(); ++i) {
      if (again.items[i].data != wellFormed[i].data || again.items[i].type != wellFormed[i].type) abort();
    }
  }
  return 0;
}
