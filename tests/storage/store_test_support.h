#pragma once
// Helpers for the store tests: a fixed language, and a hand-built
// "storage.dat" so tests can make files that the store itself never writes.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "settings/text_lookup.h"
#include "storage/byte_order.h"
#include "storage/item_types.h"
#include "storage/store_layout.h"

namespace korvane::test {

class FixedTexts : public TextLookup {
 public:
  std::string Text(int id) const override {
    static const std::map<int, std::string> texts{
        {15, "Programs"}, {19, "New item"}, {27, "Matrices"}, {28, "Lists"}, {32, "Pictures"}, {49, "Other"}};
    auto it = texts.find(id);
    return it == texts.end() ? "<unknown string>" : it->second;
  }
};

struct RawRecord {
  std::string name;
  std::uint32_t id = 2;
  std::uint32_t parent = ROOT_FOLDER_ID;
  std::uint32_t type = ITEM_PROGRAM;
  std::vector<std::uint8_t> info;
  std::vector<std::uint8_t> data;
  bool goodMagic = true;
};

inline std::vector<std::uint8_t> Bytes(std::size_t n, std::uint8_t fill = 0x11) {
  return std::vector<std::uint8_t>(n, fill);
}

inline RawRecord Raw(std::string name, std::uint32_t id, std::size_t dataSize = 0, bool goodMagic = true) {
  RawRecord r;
  r.name = std::move(name);
  r.id = id;
  r.data = Bytes(dataSize);
  r.goodMagic = goodMagic;
  return r;
}

inline std::vector<std::uint8_t> RawRecordBytes(const RawRecord& r) {
  namespace sl = store_layout;
  std::vector<std::uint8_t> b(sl::ITEM_HEADER_SIZE, 0);
  const std::string magic = r.goodMagic ? sl::ITEM_MAGIC_TEXT : "itemheader    ";
  std::copy(magic.begin(), magic.end(), b.begin());
  std::copy(r.name.begin(), r.name.end(), b.begin() + sl::ITEM_NAME);
  WriteU32LE(b, sl::ITEM_INFO_SIZE, static_cast<std::uint32_t>(r.info.size()));
  WriteU32LE(b, sl::ITEM_DATA_SIZE, static_cast<std::uint32_t>(r.data.size()));
  WriteU32LE(b, sl::ITEM_TYPE, r.type);
  WriteU32LE(b, sl::ITEM_ID, r.id);
  WriteU32LE(b, sl::ITEM_PARENT, r.parent);
  b.insert(b.end(), r.info.begin(), r.info.end());
  b.insert(b.end(), r.data.begin(), r.data.end());
  return b;
}

// A whole file with the records packed after the header and a matching table.
inline std::vector<std::uint8_t> BuildStoreFile(const std::vector<RawRecord>& records, std::uint32_t nextId = 100) {
  namespace sl = store_layout;
  std::vector<std::uint8_t> file(sl::MAIN_HEADER_SIZE, 0);
  const std::string magic = sl::MAIN_MAGIC_TEXT;
  std::copy(magic.begin(), magic.end(), file.begin());
  WriteU32LE(file, sl::MAX_ITEMS, 1000);
  WriteU32LE(file, sl::ITEM_COUNT, static_cast<std::uint32_t>(records.size()));
  for (std::size_t i = 0; i < records.size(); ++i) {
    WriteU32LE(file, sl::OFFSETS + 4 * i, static_cast<std::uint32_t>(file.size()));
    const auto bytes = RawRecordBytes(records[i]);
    file.insert(file.end(), bytes.begin(), bytes.end());
  }
  WriteU32LE(file, sl::END_OFFSET, static_cast<std::uint32_t>(file.size()));
  WriteU32LE(file, sl::NEXT_ID, nextId);
  return file;
}

inline std::uint32_t HeaderField(const std::vector<std::uint8_t>& file, std::size_t at) {
  return ReadU32LE(file, at);
}

}  // namespace korvane::test
