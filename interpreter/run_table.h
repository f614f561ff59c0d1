#pragma once
// The programs prepared for one emulator start: entry 0 is the program the
// user started, the others are the programs of its folder that `Prog` and the
// function memories may reach. The table keeps the calculator's limits: at
// most 250 entries, and all of them together within the 2 MiB work buffer
// (counted at 40 bytes per prepared element).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/element.h"
#include "settings/message_sink.h"

namespace korvane {

inline constexpr std::size_t RUN_TABLE_CAPACITY = 250;
inline constexpr std::size_t WORK_BUFFER_SIZE = 2 * 1024 * 1024;
inline constexpr std::size_t PROGRAM_NAME_MAX = 11;  // the name field holds 12 bytes with its NUL

struct PreparedProgram {
  std::vector<Element> elements;  // the program's elements, end marker last, then string characters
  std::size_t programLength = 0;  // elements up to and including the end marker
  std::uint32_t size = 0;         // bytes in the work buffer: 40 per element and per string character
  std::string name;

  std::span<const Element> Program() const { return {elements.data(), programLength}; }
};

enum class AddProgramResult { Added, TooManyPrograms, TooLarge };

class RunTable {
 public:
  RunTable() { entries_.reserve(RUN_TABLE_CAPACITY); }
  RunTable(const RunTable&) = delete;  // string elements point into the entries
  RunTable& operator=(const RunTable&) = delete;

  // Prepares a program and adds it as the next entry. Refused, and the table
  // left as it was, when the table is full or when the program's bytes or its
  // prepared elements would not fit in what is left of the work buffer.
  [[nodiscard]] AddProgramResult AddProgram(std::string_view name, std::span<const std::uint8_t> programData);
  void Clear();

  std::size_t Count() const { return entries_.size(); }
  const PreparedProgram& Entry(std::size_t index) const { return entries_[index]; }
  std::size_t BytesUsed() const { return bytesUsed_; }

  // The entry `Prog` calls by name: names of equal length, letters compared
  // without regard to case, the minus sign 0x99 and "-" taken as equal.
  std::optional<std::size_t> FindPreparedProgram(std::string_view name) const;
  // The entry named exactly "f" and the digit n (1 to 6), or none.
  std::optional<std::size_t> FindFunctionMemory(int n) const;

 private:
  std::vector<PreparedProgram> entries_;
  std::size_t bytesUsed_ = 0;
};

// The message shown when a run is refused for the result of AddProgram (the
// language table has no room left, so its text is fixed).
Message AddProgramRefusal(AddProgramResult result);

}  // namespace korvane
