#include "text/program_lines.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace korvane {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
// Above this many cells the middle of two texts is matched line by line in
// order instead of by a longest common run (only pastes over whole programs
// get there).
constexpr size_t kMaxMatchCells = 4'000'000;

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(kLineBreak, start);
    if (end == std::string_view::npos) break;
    lines.push_back(text.substr(start, end - start));
    start = end + kLineBreak.size();
  }
  lines.push_back(text.substr(start));
  return lines;
}

// Longest common run of the middle parts, by a table of suffix lengths.
void MatchByCommonRun(std::span<const std::string_view> before, std::span<const std::string_view> now,
                      size_t beforeOffset, std::span<int> kept) {
  const size_t rows = before.size() + 1;
  const size_t columns = now.size() + 1;
  std::vector<uint32_t> run(rows * columns, 0);
  const auto at = [&](size_t i, size_t j) -> uint32_t& { return run[i * columns + j]; };
  for (size_t i = before.size(); i-- > 0;) {
    for (size_t j = now.size(); j-- > 0;) {
      at(i, j) = before[i] == now[j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
    }
  }
  size_t i = 0;
  size_t j = 0;
  while (i < before.size() && j < now.size()) {
    if (before[i] == now[j]) {
      kept[j++] = int(beforeOffset + i++);
    } else if (at(i + 1, j) >= at(i, j + 1)) {
      ++i;
    } else {
      ++j;
    }
  }
}

// Each line takes the next equal line after the last one taken.
void MatchInOrder(std::span<const std::string_view> before, std::span<const std::string_view> now,
                  size_t beforeOffset, std::span<int> kept) {
  std::unordered_map<std::string_view, std::vector<size_t>> where;
  for (size_t i = 0; i < before.size(); ++i) where[before[i]].push_back(i);
  size_t next = 0;
  for (size_t j = 0; j < now.size(); ++j) {
    const auto found = where.find(now[j]);
    if (found == where.end()) continue;
    const auto candidate = std::lower_bound(found->second.begin(), found->second.end(), next);
    if (candidate == found->second.end()) continue;
    kept[j] = int(beforeOffset + *candidate);
    next = *candidate + 1;
  }
}

// Where the walk of a token string ends on the calculator's display-and-stop
// (which takes the line break after it).
bool EndsWithDisplayStop(std::span<const uint8_t> tokens) {
  size_t last = 0;
  for (size_t i = 0; i < tokens.size(); i += (IsTokenPrefix(tokens[i]) && i + 1 < tokens.size()) ? 2 : 1) last = i;
  return !tokens.empty() && last == tokens.size() - 1 && tokens[last] == TOKEN_DISPLAY_STOP;
}

std::optional<ProgramLines::Line> TokeniseLine(const TokenTable& table, std::string_view text, bool autoCorrect) {
  const TokeniseResult result = table.TokeniseProgramText(text, autoCorrect);
  if (!result.data) return std::nullopt;
  const ProgramBytes& data = *result.data;  // 0x3A, tokens, 0xFF, checksum
  ProgramLines::Line line;
  line.text = std::string(text);
  line.tokens.assign(data.begin() + 1, data.end() - 2);
  line.lineBreak = {TOKEN_LINE_BREAK};
  line.endsWithDisplayStop = EndsWithDisplayStop(line.tokens);
  return line;
}

}  // namespace

std::vector<int> MatchUnchangedLines(std::span<const std::string_view> before, std::span<const std::string_view> now) {
  std::vector<int> kept(now.size(), -1);
  size_t head = 0;
  while (head < before.size() && head < now.size() && before[head] == now[head]) {
    kept[head] = int(head);
    ++head;
  }
  size_t tail = 0;
  while (tail < before.size() - head && tail < now.size() - head &&
         before[before.size() - 1 - tail] == now[now.size() - 1 - tail]) {
    kept[now.size() - 1 - tail] = int(before.size() - 1 - tail);
    ++tail;
  }
  const auto beforeMiddle = before.subspan(head, before.size() - head - tail);
  const auto nowMiddle = now.subspan(head, now.size() - head - tail);
  const std::span<int> keptMiddle(kept.data() + head, nowMiddle.size());
  if (beforeMiddle.empty() || nowMiddle.empty()) return kept;
  if ((beforeMiddle.size() + 1) * (nowMiddle.size() + 1) <= kMaxMatchCells) {
    MatchByCommonRun(beforeMiddle, nowMiddle, head, keptMiddle);
  } else {
    MatchInOrder(beforeMiddle, nowMiddle, head, keptMiddle);
  }
  return kept;
}

ProgramLines::ProgramLines() : lines_(1, Line{std::string(), {}, {TOKEN_LINE_BREAK}, false}) {}

ProgramLines ProgramLines::FromProgram(std::span<const uint8_t> data, const RenderedText& shown) {
  ProgramLines result;
  result.lines_.clear();
  const std::string& plain = shown.plainText;
  size_t textPos = 0;
  size_t start = std::min<size_t>(1, data.size());  // past the leading 0x3A
  for (const SourceLineEnd& end : shown.lineEnds) {
    Line line;
    line.text = plain.substr(textPos, end.textEnd - textPos);
    line.tokens.assign(data.begin() + ptrdiff_t(start), data.begin() + ptrdiff_t(end.breakStart));
    line.lineBreak.assign(data.begin() + ptrdiff_t(end.breakStart), data.begin() + ptrdiff_t(end.next));
    line.endsWithDisplayStop = line.lineBreak.empty();
    result.lines_.push_back(std::move(line));
    textPos = end.textEnd + kLineBreak.size();
    start = end.next;
  }
  const size_t shownEnd = std::clamp(shown.sourceEnd, start, data.size());
  Line last;
  last.text = plain.substr(std::min(textPos, plain.size()));
  last.tokens.assign(data.begin() + ptrdiff_t(start), data.begin() + ptrdiff_t(shownEnd));
  last.lineBreak = {TOKEN_LINE_BREAK};
  result.lines_.push_back(std::move(last));

  // What a 0x00 (or an early 0xFF) hides, up to the end byte and checksum.
  const bool closed = data.size() >= 3 && data[data.size() - 2] == PROGRAM_END;
  const size_t tokensEnd = closed ? data.size() - 2 : data.size();
  if (shownEnd < tokensEnd) result.hiddenTail_.assign(data.begin() + ptrdiff_t(shownEnd), data.begin() + ptrdiff_t(tokensEnd));
  return result;
}

RetokenisedLines ProgramLines::Retokenise(const TokenTable& table, std::string_view text,
                                                   bool autoCorrect) const {
  const std::vector<std::string_view> now = SplitLines(text);
  std::vector<std::string_view> before;
  before.reserve(lines_.size());
  for (const Line& line : lines_) before.emplace_back(line.text);
  const std::vector<int> kept = MatchUnchangedLines(before, now);

  ProgramLines result;
  result.lines_.clear();
  result.lines_.reserve(now.size());
  result.hiddenTail_ = hiddenTail_;
  for (size_t i = 0; i < now.size(); ++i) {
    if (kept[i] >= 0) {
      result.lines_.push_back(lines_[size_t(kept[i])]);
      continue;
    }
    auto line = TokeniseLine(table, now[i], autoCorrect);
    if (!line) {
      // The whole text counts its lines as the tokeniser's message does.
      const int failed = table.TokeniseProgramText(text, autoCorrect).failedLine;
      return {std::nullopt, failed > 0 ? failed : int(i) + 1};
    }
    result.lines_.push_back(std::move(*line));
  }
  return {std::move(result), 0};
}

ProgramBytes ProgramLines::ProgramData() const {
  ProgramBytes tokens;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    tokens.insert(tokens.end(), line.tokens.begin(), line.tokens.end());
    if (i + 1 < lines_.size() && !line.endsWithDisplayStop) {
      tokens.insert(tokens.end(), line.lineBreak.begin(), line.lineBreak.end());
    }
  }
  tokens.insert(tokens.end(), hiddenTail_.begin(), hiddenTail_.end());
  return MakeProgramData(tokens);
}

std::string ProgramLines::Text() const {
  std::string text;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += kLineBreak;
    text += lines_[i].text;
  }
  return text;
}

}  // namespace korvane
