#include "interpreter/run_table.h"

#include <algorithm>

#include "interpreter/program_preparation.h"

namespace korvane {
namespace {

std::uint8_t FoldProgramNameChar(std::uint8_t c) {
  if (c >= 'a' && c <= 'z') return static_cast<std::uint8_t>(c - 'a' + 'A');
  if (c == 0x99) return '-';
  return c;
}

}  // namespace

AddProgramResult RunTable::AddProgram(std::string_view name, std::span<const std::uint8_t> programData) {
  if (entries_.size() >= RUN_TABLE_CAPACITY) return AddProgramResult::TooManyPrograms;
  const std::size_t room = WORK_BUFFER_SIZE - bytesUsed_;
  // The bytes are read into the buffer first and prepared where they lie.
  if (programData.size() > room) return AddProgramResult::TooLarge;
  PreparedElements prepared = PrepareProgram(programData);
  const std::size_t size = prepared.elements.size() * ELEMENT_SIZE;
  if (size > room) return AddProgramResult::TooLarge;

  PreparedProgram& entry = entries_.emplace_back();
  entry.elements = std::move(prepared.elements);
  entry.programLength = prepared.programLength;
  entry.size = static_cast<std::uint32_t>(size);
  entry.name = std::string(name.substr(0, std::min(name.size(), PROGRAM_NAME_MAX)));
  bytesUsed_ += size;
  return AddProgramResult::Added;
}

void RunTable::Clear() {
  entries_.clear();
  bytesUsed_ = 0;
}

std::optional<std::size_t> RunTable::FindPreparedProgram(std::string_view name) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const std::string& candidate = entries_[i].name;
    if (candidate.size() != name.size()) continue;
    if (std::equal(candidate.begin(), candidate.end(), name.begin(), [](char a, char b) {
          return FoldProgramNameChar(std::uint8_t(a)) == FoldProgramNameChar(std::uint8_t(b));
        }))
      return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> RunTable::FindFunctionMemory(int n) const {
  const char name[] = {'f', static_cast<char>('0' + n)};
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].name == std::string_view(name, 2)) return i;
  }
  return std::nullopt;
}

Message AddProgramRefusal(AddProgramResult result) {
  return OwnTextMessage(result == AddProgramResult::TooManyPrograms ? KorvaneText::RunTooManyPrograms
                                                                   : KorvaneText::RunProgramMemoryFull);
}

}  // namespace korvane
