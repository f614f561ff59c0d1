// Exchange files at the sizes an export or import of a full calculator meets:
// 500 programs of about 1 KiB each, read from .cat and written as .cas.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string_view>
#include <vector>

#include "exchange/cas_format.h"
#include "exchange/cat_format.h"
#include "exchange/token_table_spelling.h"
#include "settings/message_sink.h"

namespace {

using namespace korvane;
using namespace std::string_view_literals;

class IgnoreMessages : public MessageSink {
 public:
  void ShowMessage(const Message&) override {}
};

class NumberTexts : public TextLookup {
 public:
  std::string Text(int id) const override { return std::to_string(id); }
};

const TokenTable& Tokens() {
  static const TokenTable table = [] {
    TokenTable t;
    IgnoreMessages messages;
    if (!t.LoadTokenTable(KORVANE_PROGRAM_DIR, messages)) std::abort();
    return t;
  }();
  return table;
}

// 500 programs of 1 KiB of tokens: If A+1->B, List->Mat(, Abs 1 lines.
std::vector<ExchangeItem> FiveHundredPrograms() {
  constexpr std::string_view kLine = "\xF7\x00" "A\x89" "1\x0E" "B\x0D\x7F\x4A\x0D\x97" "1\x0D"sv;
  std::vector<ExchangeItem> items;
  for (int i = 0; i < 500; ++i) {
    ExchangeItem item;
    item.type = ITEM_PROGRAM;
    item.name = std::to_string(i);
    item.name.insert(0, 1, 'P');
    std::string bytes = ":";
    while (bytes.size() + kLine.size() < 1022) bytes += kLine;
    bytes += "\xFF";
    bytes += '\0';
    item.data.assign(bytes.begin(), bytes.end());
    SetRecordChecksum(item.data);
    const auto info = ProgramInfoBytes({static_cast<std::uint32_t>(item.data.size()), item.name, ""});
    item.info.assign(info.begin(), info.end());
    items.push_back(std::move(item));
  }
  return items;
}

void BM_ReadCatOf500Programs(benchmark::State& state) {
  const TokenTableSpelling spelling(Tokens());
  const NumberTexts texts;
  const auto items = FiveHundredPrograms();
  const CatWriteResult file = WriteCat(items, CatVariant::Standard, spelling);
  if (file.message) std::abort();
  for (auto _ : state) {
    const ReadResult read = ReadCat(file.text, spelling, texts);
    if (read.items.size() != items.size()) std::abort();
    benchmark::DoNotOptimize(read.items.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.text.size()));
}
BENCHMARK(BM_ReadCatOf500Programs)->Unit(benchmark::kMillisecond);

void BM_WriteCasOf500Programs(benchmark::State& state) {
  const auto items = FiveHundredPrograms();
  for (auto _ : state) {
    const CasWriteResult file = WriteCas(items);
    if (!file.skipped.empty()) std::abort();
    benchmark::DoNotOptimize(file.bytes.data());
  }
}
BENCHMARK(BM_WriteCasOf500Programs)->Unit(benchmark::kMillisecond);

}  // namespace
