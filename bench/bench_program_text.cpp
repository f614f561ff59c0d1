// Program text speeds: tokenising and rendering 64 KiB, re-colouring a line,
// storing 64 KiB after an edit of one line and after a change of every line.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "settings/message_sink.h"
#include "text/editor_options.h"
#include "text/program_lines.h"
#include "text/program_renderer.h"
#include "text/token_table.h"

namespace korvane {
namespace {

class IgnoreMessages : public MessageSink {
 public:
  void ShowMessage(const Message&) override {}
};

const TokenTable& Table() {
  static const TokenTable table = [] {
    TokenTable t;
    IgnoreMessages sink;
    if (!t.LoadTokenTable(KORVANE_PROGRAM_DIR, sink)) std::abort();
    return t;
  }();
  return table;
}

// A typical program body, repeated to the wanted size.
ProgramBytes ProgramOfSize(size_t size) {
  const std::vector<uint8_t> body = {
      0xF7, 0x04, '1', 0x0E, 'A', 0xF7, 0x05, '1', '0', 0x0D, 0xF7, 0x10, 'A', ',', '1', ',', 0x22, 'S', 'C',
      'O', 'R', 'E', 0x22, 0x0D, 0xF7, 0x00, 'A', 0x12, '5', 0x0D, 0xF7, 0x01, 0x86, 'A', 0xA9, 0xD0, 0x0E,
      'B', 0x0C, 0xF7, 0x03, 0x0D, 0x27, 'n', 'e', 'x', 't', 0x0D, 0xF7, 0x07, 0x0D};
  ProgramBytes p{PROGRAM_START};
  while (p.size() + body.size() + 2 <= size) p.insert(p.end(), body.begin(), body.end());
  p.push_back(PROGRAM_END);
  p.push_back(ProgramChecksum(p));
  return p;
}

void BM_TokeniseProgramText64KiB(benchmark::State& state) {
  std::string text = RenderProgram(Table(), ProgramOfSize(64 * 1024), true, {true, true}).plainText;
  if (text.size() < 64 * 1024) std::abort();
  text.resize(64 * 1024 - 2);  // cut at a clean place: back to the last line break
  text.resize(text.rfind("\r\n"));
  for (auto _ : state) benchmark::DoNotOptimize(Table().TokeniseProgramText(text, true));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_TokeniseProgramText64KiB)->Unit(benchmark::kMillisecond);

void BM_RenderProgram64KiB(benchmark::State& state) {
  const ProgramBytes program = ProgramOfSize(64 * 1024);
  for (auto _ : state) benchmark::DoNotOptimize(RenderProgram(Table(), program, true, {true, true}));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(program.size()));
}
BENCHMARK(BM_RenderProgram64KiB)->Unit(benchmark::kMillisecond);

void BM_RehighlightLine200(benchmark::State& state) {
  std::string line;
  while (line.size() < 200) line += "If a>1 -> b:Locate 1,2,\"SCORE\":sin 30*2+Abs -4:";
  line.resize(200);
  EditorOptions options;
  options.highlighting = true;
  for (auto _ : state) benchmark::DoNotOptimize(RehighlightLine(Table(), line, options));
}
BENCHMARK(BM_RehighlightLine200)->Unit(benchmark::kMicrosecond);

// Storing after an edit: the lines are matched with those opened, and only
// the changed ones tokenised.
void BM_StoreEditedProgram64KiB(benchmark::State& state) {
  const ProgramBytes program = ProgramOfSize(64 * 1024);
  const RenderedText shown = RenderProgram(Table(), program, true, {true, true});
  const ProgramLines lines = ProgramLines::FromProgram(program, shown);
  std::string text = shown.plainText;
  if (state.range(0) == 0) {
    text.insert(text.size() / 2, "1");  // one line
  } else {
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 3) text.insert(at, "1");  // every line
  }
  for (auto _ : state) benchmark::DoNotOptimize(lines.Retokenise(Table(), text, true));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_StoreEditedProgram64KiB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane
