// Tokenising arbitrary editor text: no crash, the result is well-formed
// program data, and the indexed text lookup agrees with the plain scan.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "text/token_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool autoCorrect = (data[0] & 1) != 0;
  const bool inLiteral = (data[0] & 2) != 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const korvane::TokenTable& table = korvane::fuzz::ShippedTokenTable();

  const auto fast = table.MatchTokenText(text, inLiteral, autoCorrect);
  const auto slow = table.MatchTokenTextByScan(text, inLiteral, autoCorrect);
  if (fast.consumed != slow.consumed || (fast.consumed && fast.code != slow.code)) std::abort();
  if (fast.consumed > text.size()) std::abort();

  const auto result = table.TokeniseProgramText(text, autoCorrect);
  if (result.data) {
    const auto& bytes = *result.data;
    if (bytes.size() < 3 || bytes.front() != korvane::PROGRAM_START || bytes[bytes.size() - 2] != korvane::PROGRAM_END)
      std::abort();
    unsigned sum = 0;
    for (size_t i = 1; i < bytes.size(); ++i) sum += bytes[i];
    if (sum % 256 != 0) std::abort();
  } else if (result.failedLine < 1) {
    std::abort();
  }
  return 0;
}
