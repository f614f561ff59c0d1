#include "storage/item_store.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "link/calculator_records.h"
#include "storage/byte_order.h"
#include "storage/folders.h"
#include "storage/item_name.h"

namespace korvane {

namespace sl = store_layout;

namespace {

// The magic up to its NUL, as a C string comparison would see it.
bool HasMagic(std::span<const std::uint8_t> bytes, const char* text) {
  const std::size_t length = std::strlen(text);
  return std::equal(text, text + length, bytes.begin()) && bytes[length] == 0;
}

std::string ReadName(std::span<const std::uint8_t> header) {
  std::string name;
  for (std::size_t i = 0; i < MAX_ITEM_NAME && header[sl::ITEM_NAME + i] != 0; ++i)
    name.push_back(static_cast<char>(header[sl::ITEM_NAME + i]));
  return name;
}

ItemHeader ParseItemHeader(std::span<const std::uint8_t> bytes) {
  ItemHeader h;
  h.name = ReadName(bytes);
  h.infoSize = ReadU32LE(bytes, sl::ITEM_INFO_SIZE);
  h.dataSize = ReadU32LE(bytes, sl::ITEM_DATA_SIZE);
  h.type = ReadU32LE(bytes, sl::ITEM_TYPE);
  h.flags = ReadU32LE(bytes, sl::ITEM_FLAGS);
  h.id = ReadU32LE(bytes, sl::ITEM_ID);
  h.parent = ReadU32LE(bytes, sl::ITEM_PARENT);
  return h;
}

std::vector<std::uint8_t> ItemHeaderBytes(const ItemHeader& h) {
  std::vector<std::uint8_t> bytes(sl::ITEM_HEADER_SIZE, 0);
  std::memcpy(bytes.data() + sl::ITEM_MAGIC, sl::ITEM_MAGIC_TEXT, std::strlen(sl::ITEM_MAGIC_TEXT));
  std::memcpy(bytes.data() + sl::ITEM_NAME, h.name.data(), std::min(h.name.size(), MAX_ITEM_NAME));
  WriteU32LE(bytes, sl::ITEM_INFO_SIZE, h.infoSize);
  WriteU32LE(bytes, sl::ITEM_DATA_SIZE, h.dataSize);
  WriteU32LE(bytes, sl::ITEM_TYPE, h.type);
  WriteU32LE(bytes, sl::ITEM_FLAGS, h.flags);
  WriteU32LE(bytes, sl::ITEM_ID, h.id);
  WriteU32LE(bytes, sl::ITEM_PARENT, h.parent);
  return bytes;
}

}  // namespace

ItemStore::ItemStore(MessageSink& messages) : messages_(messages) {}

ItemStore::~ItemStore() { CloseStore(); }

void ItemStore::Show(int textId, std::vector<FormatArg> args) const {
  messages_.ShowMessage(TextMessage(textId, std::move(args)));
}

void ItemStore::FailOpen(StoreOpenFailure failure, int textId, std::vector<FormatArg> args) {
  openFailure_ = failure;
  Show(textId, std::move(args));
}

// A listed record that no operation can read: counted for the summary, its
// own message kept with the details.
void ItemStore::NoteLeftOut(int textId, std::vector<FormatArg> args, std::uint32_t offset) {
  ++damage_.recordsLeftOut;
  damage_.offsets.push_back(offset);
  damage_.details.push_back(TextMessage(textId, std::move(args)));
}

std::string ItemStore::Path() const {
  std::lock_guard lock(mutex_);
  return path_;
}

bool ItemStore::RefuseWhenReadOnly() const {
  if (fd_ < 0) return true;
  if (!readOnly_) return false;
  Show(MSG_STORE_CHANGE_REFUSED);
  return true;
}

bool ItemStore::IsOpen() const {
  std::lock_guard lock(mutex_);
  return fd_ >= 0;
}

bool ItemStore::IsReadOnly() const {
  std::lock_guard lock(mutex_);
  return readOnly_;
}

bool ItemStore::ReadAll(std::uint64_t offset, std::span<std::uint8_t> bytes) const {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool ItemStore::WriteAll(std::uint64_t offset, std::span<const std::uint8_t> bytes) const {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// ---- open and close ------------------------------------------------------

bool ItemStore::OpenStore(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (fd_ >= 0) return false;
  openFailure_ = StoreOpenFailure::None;
  damage_ = {};
  // flock belongs to the open file, so a second handle in this same process
  // is refused just like a second running copy of the program.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    const int error = errno;
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    switch (error) {
      case ENOENT:
      case ENOTDIR: FailOpen(StoreOpenFailure::NoFolder, MSG_STORE_NO_FOLDER, {path, folder}); break;
      case EACCES:
      case EPERM: FailOpen(StoreOpenFailure::NoPermission, MSG_STORE_NO_PERMISSION, {path}); break;
      case EROFS: FailOpen(StoreOpenFailure::ReadOnlyFileSystem, MSG_STORE_READ_ONLY_FILE_SYSTEM, {path}); break;
      default: FailOpen(StoreOpenFailure::CannotOpen, MSG_STORE_CANNOT_OPEN); break;
    }
    return false;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    if (held)
      FailOpen(StoreOpenFailure::InUse, MSG_STORE_IN_USE, {path});
    else
      FailOpen(StoreOpenFailure::CannotOpen, MSG_STORE_CANNOT_OPEN);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    FailOpen(StoreOpenFailure::CannotOpen, MSG_STORE_CANNOT_OPEN);
    return false;
  }
  fd_ = fd;
  path_ = path;
  readOnly_ = false;
  records_.clear();
  const bool isNew = st.st_size == 0;
  const bool ok = isNew ? CreateNewFile() : ReadExistingFile(static_cast<std::uint64_t>(st.st_size));
  if (!ok) {
    Release();
    return false;
  }
  if (!isNew) CheckDataChecksums();
  if (!isNew && !readOnly_) ResetTempFolder(*this);
  return true;
}

// A byte changed inside an item's data shows in the checksums of its records.
void ItemStore::CheckDataChecksums() {
  for (const Record& r : records_) {
    if (!r.usable || IsFolderType(r.header.type)) continue;
    const auto item = ReadItem(r.header.id);
    if (!item || ItemDataChecksumsValid(item->type, item->info, item->data)) continue;
    damage_.checksumFailures.push_back(r.header.name);
    damage_.details.push_back(TextMessage(MSG_STORE_CHECKSUM_FAILED, {r.header.name}));
  }
}

bool ItemStore::CreateNewFile() {
  nextId_ = FIRST_ITEM_ID;
  endOffset_ = sl::MAIN_HEADER_SIZE;
  if (!WriteAll(0, MainHeaderBytes())) {
    FailOpen(StoreOpenFailure::HeaderShort, MSG_STORE_HEADER_SHORT);
    return false;
  }
  return true;
}

bool ItemStore::ReadExistingFile(std::uint64_t fileSize) {
  std::vector<std::uint8_t> header(sl::MAIN_HEADER_SIZE, 0);
  const auto readable = static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, sl::MAIN_HEADER_SIZE));
  if (!ReadAll(0, std::span(header).first(readable))) {
    FailOpen(StoreOpenFailure::HeaderShort, MSG_STORE_HEADER_SHORT);
    return false;
  }
  // A file that does not begin as a store is someone else's: it is named and left alone.
  const std::size_t magicLength = std::strlen(sl::MAIN_MAGIC_TEXT) + 1;
  const bool beginsAsStore =
      readable >= magicLength
          ? HasMagic(header, sl::MAIN_MAGIC_TEXT)
          : std::equal(header.begin(), header.begin() + static_cast<std::ptrdiff_t>(readable), sl::MAIN_MAGIC_TEXT);
  if (!beginsAsStore) {
    FailOpen(StoreOpenFailure::NotAStore, MSG_STORE_NOT_A_STORE, {path_});
    return false;
  }
  if (readable < sl::MAIN_HEADER_SIZE) {
    FailOpen(StoreOpenFailure::HeaderShort, MSG_STORE_HEADER_SHORT);
    return false;
  }
  if (ReadU32LE(header, sl::MAX_ITEMS) > sl::MAX_ITEMS_VALUE) {
    FailOpen(StoreOpenFailure::TooManyItemsAllowed, MSG_STORE_TOO_MANY_ITEMS_ALLOWED);
    return false;
  }
  LoadRecords(header, fileSize);
  return true;
}

// Takes in every record the header lists, keeping out any whose bytes are not
// all inside the data or that overlap an earlier one. Such damage makes the
// store read-only: compaction and appends could otherwise move or overwrite
// bytes that belong to a record nobody can account for.
void ItemStore::LoadRecords(const std::vector<std::uint8_t>& header, std::uint64_t fileSize) {
  const std::uint32_t count = ReadU32LE(header, sl::ITEM_COUNT);
  endOffset_ = ReadU32LE(header, sl::END_OFFSET);
  nextId_ = ReadU32LE(header, sl::NEXT_ID);
  bool damaged = false;
  if (count > sl::OFFSET_ENTRIES || endOffset_ < sl::MAIN_HEADER_SIZE || endOffset_ > fileSize) {
    damage_.headerInconsistent = true;
    damage_.details.push_back(TextMessage(MSG_STORE_HEADER_INCONSISTENT, {std::int64_t{count}, std::int64_t{endOffset_},
                                                                          static_cast<std::int64_t>(fileSize)}));
    damaged = true;
  }
  const std::uint64_t limit = std::min<std::uint64_t>(endOffset_, fileSize);
  const std::uint32_t entries = std::min<std::uint32_t>(count, sl::OFFSET_ENTRIES);
  std::uint64_t previousEnd = sl::MAIN_HEADER_SIZE;
  std::vector<std::uint8_t> bytes(sl::ITEM_HEADER_SIZE);
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::uint32_t offset = ReadU32LE(header, sl::OFFSETS + 4 * i);
    const bool headerInside = offset >= previousEnd && std::uint64_t{offset} + sl::ITEM_HEADER_SIZE <= limit;
    if (!headerInside || !ReadAll(offset, bytes)) {
      NoteLeftOut(MSG_STORE_RECORD_OUT_OF_BOUNDS, {std::int64_t{i}, std::int64_t{offset}}, offset);
      damaged = true;
      continue;
    }
    Record record;
    record.offset = offset;
    record.header = ParseItemHeader(bytes);
    if (!HasMagic(bytes, sl::ITEM_MAGIC_TEXT)) {
      // Its sizes mean nothing; it stays in the file and moves with the tail.
      NoteLeftOut(MSG_STORE_BAD_ITEM_MAGIC, {}, offset);
      record.usable = false;
      record.header.infoSize = 0;
      record.header.dataSize = 0;
      previousEnd = std::uint64_t{offset} + sl::ITEM_HEADER_SIZE;
      records_.push_back(record);
      continue;
    }
    const std::uint64_t end = std::uint64_t{offset} + sl::ITEM_HEADER_SIZE + record.header.infoSize +
                              record.header.dataSize;
    if (end > limit) {
      NoteLeftOut(MSG_STORE_RECORD_OUT_OF_BOUNDS, {std::int64_t{i}, std::int64_t{offset}}, offset);
      damaged = true;
      continue;
    }
    previousEnd = end;
    if (record.header.id < FIRST_ITEM_ID || record.header.id == NO_ITEM || FindIndex(record.header.id) >= 0) {
      // No operation could address it, or every one would reach the earlier
      // record of that id instead: it stays in the file, out of the tree.
      NoteLeftOut(MSG_STORE_BAD_ITEM_MAGIC, {}, offset);
      record.usable = false;
    }
    records_.push_back(record);
  }
  if (damaged) {
    readOnly_ = true;
    damage_.details.push_back(TextMessage(MSG_STORE_READ_ONLY));
  }
  RaiseNextIdAboveItems();
}

// A damaged nextId must never hand out an id that a record already carries.
void ItemStore::RaiseNextIdAboveItems() {
  nextId_ = std::max(nextId_, FIRST_ITEM_ID);
  for (const Record& r : records_) {
    if (r.usable && r.header.id != NO_ITEM && r.header.id >= nextId_) nextId_ = r.header.id + 1;
  }
}

void ItemStore::CloseStore() {
  std::lock_guard lock(mutex_);
  if (fd_ < 0) return;
  if (!readOnly_) {
    if (WriteMainHeader()) {
      if (::ftruncate(fd_, static_cast<off_t>(endOffset_)) != 0) Show(MSG_STORE_WRITE_FAILED);
    }
    ::fsync(fd_);
  }
  Release();
}

void ItemStore::Release() {
  if (fd_ >= 0) ::close(fd_);  // also drops the lock
  fd_ = -1;
  readOnly_ = false;
  records_.clear();
  path_.clear();
}

std::vector<std::uint8_t> ItemStore::MainHeaderBytes() const {
  std::vector<std::uint8_t> header(sl::MAIN_HEADER_SIZE, 0);
  std::memcpy(header.data() + sl::MAIN_MAGIC, sl::MAIN_MAGIC_TEXT, std::strlen(sl::MAIN_MAGIC_TEXT));
  WriteU32LE(header, sl::MAX_ITEMS, sl::MAX_ITEMS_VALUE);
  WriteU32LE(header, sl::ITEM_COUNT, static_cast<std::uint32_t>(records_.size()));
  WriteU32LE(header, sl::END_OFFSET, endOffset_);
  for (std::size_t i = 0; i < records_.size() && i < sl::OFFSET_ENTRIES; ++i)
    WriteU32LE(header, sl::OFFSETS + 4 * i, records_[i].offset);
  WriteU32LE(header, sl::NEXT_ID, nextId_);
  return header;
}

bool ItemStore::WriteMainHeader() {
  if (!WriteAll(0, MainHeaderBytes())) {
    Show(MSG_STORE_HEADER_WRITE_SHORT);
    return false;
  }
  return true;
}

// ---- lookups -------------------------------------------------------------

int ItemStore::FindIndex(ItemId id) const {
  if (id < FIRST_ITEM_ID || id == NO_ITEM) return -1;
  for (std::size_t i = 0; i < records_.size(); ++i) {
    if (records_[i].usable && records_[i].header.id == id) return static_cast<int>(i);
  }
  return -1;
}

std::optional<ItemHeader> ItemStore::ReadHeader(ItemId id) const {
  std::lock_guard lock(mutex_);
  const int index = FindIndex(id);
  if (index < 0) return std::nullopt;
  return records_[index].header;
}

std::optional<Item> ItemStore::ReadItem(ItemId id) const {
  std::lock_guard lock(mutex_);
  const int index = FindIndex(id);
  if (index < 0) return std::nullopt;
  const Record& r = records_[index];
  Item item;
  item.id = r.header.id;
  item.parent = r.header.parent;
  item.type = r.header.type;
  item.flags = r.header.flags;
  item.name = r.header.name;
  item.info.resize(r.header.infoSize);
  item.data.resize(r.header.dataSize);
  const std::uint64_t blocks = std::uint64_t{r.offset} + sl::ITEM_HEADER_SIZE;
  if (!ReadAll(blocks, item.info) || !ReadAll(blocks + r.header.infoSize, item.data)) return std::nullopt;
  return item;
}

std::vector<ItemHeader> ItemStore::Headers() const {
  std::lock_guard lock(mutex_);
  std::vector<ItemHeader> headers;
  headers.reserve(records_.size());
  for (const Record& r : records_) {
    if (r.usable) headers.push_back(r.header);
  }
  return headers;
}

ItemId ItemStore::FindItemByName(std::string_view name, ItemId parent) const {
  std::lock_guard lock(mutex_);
  const std::string wanted = CutItemName(name);
  ItemId found = NO_ITEM;
  for (const Record& r : records_) {
    if (r.usable && r.header.parent == parent && r.header.id < found && NamesEqual(r.header.name, wanted))
      found = r.header.id;
  }
  return found;
}

bool ItemStore::ItemExists(std::string_view name, ItemId parent) const {
  return FindItemByName(name, parent) != NO_ITEM;
}

std::uint32_t ItemStore::ItemCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<std::uint32_t>(records_.size());
}

std::uint32_t ItemStore::IdLimit() const {
  std::lock_guard lock(mutex_);
  return nextId_;
}

std::uint32_t ItemStore::GetExpanded(ItemId id) const {
  std::lock_guard lock(mutex_);
  const int index = FindIndex(id);
  return index < 0 ? 0 : records_[index].header.flags;
}

// ---- storing -------------------------------------------------------------

ItemId ItemStore::CreateItem(std::string_view name, const std::optional<std::string>& path, ItemId parent,
                             std::span<const std::uint8_t> info, std::span<const std::uint8_t> data,
                             ItemType type) {
  std::lock_guard lock(mutex_);
  if (RefuseWhenReadOnly() || nextId_ == NO_ITEM) return NO_ITEM;
  const ItemId id = nextId_++;
  return StoreItem(id, name, path, parent, info, data, type);
}

ItemId ItemStore::StoreItem(ItemId id, std::string_view name, const std::optional<std::string>& path,
                            ItemId parent, std::span<const std::uint8_t> info,
                            std::span<const std::uint8_t> data, ItemType type) {
  std::lock_guard lock(mutex_);
  if (RefuseWhenReadOnly() || id < FIRST_ITEM_ID || id == NO_ITEM) return NO_ITEM;
  if (IsFolderType(type)) {  // a folder has no blocks
    info = {};
    data = {};
  }
  const std::uint64_t length = sl::ITEM_HEADER_SIZE + std::uint64_t{info.size()} + data.size();
  if (endOffset_ + length > 0xFFFF'FFFFu) {
    Show(MSG_STORE_WRITE_FAILED);
    return NO_ITEM;
  }
  const ItemId folder = path ? ResolveFolderPath(*this, *path, true) : parent;
  if (folder == NO_ITEM) return NO_ITEM;

  ItemHeader header;
  header.id = id;
  header.parent = folder;
  header.type = type;
  header.name = CutItemName(name);
  header.infoSize = static_cast<std::uint32_t>(info.size());
  header.dataSize = static_cast<std::uint32_t>(data.size());

  // What the new record replaces: the record of the same id, and (folder given
  // by id) a data item of the same name there. A folder is never replaced by
  // name: that would take all its contents with it.
  std::vector<int> replaced;
  if (const int same = FindIndex(id); same >= 0) replaced.push_back(same);
  if (!path && !IsFolderType(type)) {
    const int byName = FindIndex(FindItemByName(header.name, folder));
    if (byName >= 0 && !IsFolderType(records_[byName].header.type) &&
        std::find(replaced.begin(), replaced.end(), byName) == replaced.end())
      replaced.push_back(byName);
  }
  if (records_.size() - replaced.size() >= MAX_STORE_ITEMS) {
    Show(MSG_STORE_FULL, {std::int64_t{MAX_STORE_ITEMS}});
    return NO_ITEM;
  }

  // The new record goes in before the old one comes out, so a failed write
  // leaves the old item in place.
  std::vector<std::uint8_t> bytes = ItemHeaderBytes(header);
  bytes.insert(bytes.end(), info.begin(), info.end());
  bytes.insert(bytes.end(), data.begin(), data.end());
  if (!WriteAll(endOffset_, bytes)) {
    Show(MSG_STORE_WRITE_FAILED);
    return NO_ITEM;
  }
  records_.push_back(Record{endOffset_, true, header});
  endOffset_ += static_cast<std::uint32_t>(length);
  if (id >= nextId_) nextId_ = id + 1;
  if (replaced.empty()) {
    WriteMainHeader();
    return id;
  }
  if (!RemoveRecords(replaced)) {
    // The old record stays; the new bytes past the data end count for nothing.
    records_.pop_back();
    endOffset_ -= static_cast<std::uint32_t>(length);
    return NO_ITEM;
  }
  return id;
}

bool ItemStore::AppendItemCopy(const Item& item) {
  std::lock_guard lock(mutex_);
  if (RefuseWhenReadOnly() || item.id < FIRST_ITEM_ID || item.id == NO_ITEM || FindIndex(item.id) >= 0) return false;
  if (records_.size() >= MAX_STORE_ITEMS) {
    Show(MSG_STORE_FULL, {std::int64_t{MAX_STORE_ITEMS}});
    return false;
  }
  ItemHeader header;
  header.id = item.id;
  header.parent = item.parent;
  header.type = item.type;
  header.flags = item.flags;
  header.name = CutItemName(item.name);
  const bool folder = IsFolderType(item.type);
  header.infoSize = folder ? 0 : static_cast<std::uint32_t>(item.info.size());
  header.dataSize = folder ? 0 : static_cast<std::uint32_t>(item.data.size());
  const std::uint64_t length = sl::ITEM_HEADER_SIZE + std::uint64_t{header.infoSize} + header.dataSize;
  if (endOffset_ + length > 0xFFFF'FFFFu) return false;
  std::vector<std::uint8_t> bytes = ItemHeaderBytes(header);
  if (!folder) {
    bytes.insert(bytes.end(), item.info.begin(), item.info.end());
    bytes.insert(bytes.end(), item.data.begin(), item.data.end());
  }
  if (!WriteAll(endOffset_, bytes)) {
    Show(MSG_STORE_WRITE_FAILED);
    return false;
  }
  records_.push_back(Record{endOffset_, true, header});
  endOffset_ += static_cast<std::uint32_t>(length);
  if (item.id >= nextId_) nextId_ = item.id + 1;
  return WriteMainHeader();
}

bool ItemStore::ReserveIdsBelow(std::uint32_t limit) {
  std::lock_guard lock(mutex_);
  if (RefuseWhenReadOnly()) return false;
  nextId_ = std::max(nextId_, limit);
  return WriteMainHeader();
}

// ---- deleting ------------------------------------------------------------

bool ItemStore::DeleteItem(ItemId id) {
  std::lock_guard lock(mutex_);
  if (RefuseWhenReadOnly()) return false;
  const int index = FindIndex(id);
  if (index < 0) return false;
  return RemoveRecords(SubtreeIndices(index));
}

// The record at `index` and, for a folder, everything below it, each once.
std::vector<int> ItemStore::SubtreeIndices(int index) const {
  std::vector<int> result{index};
  std::vector<bool> taken(records_.size(), false);
  taken[index] = true;
  for (std::size_t next = 0; next < result.size(); ++next) {
    const ItemHeader& folder = records_[result[next]].header;
    if (!IsFolderType(folder.type)) continue;
    for (std::size_t i = 0; i < records_.size(); ++i) {
      if (!taken[i] && records_[i].usable && records_[i].header.parent == folder.id) {
        taken[i] = true;
        result.push_back(static_cast<int>(i));
      }
    }
  }
  return result;
}

// Cuts the records out and moves everything after the first of them down in
// one pass, then writes the main header at once so that the header on disk
// never points at records that have moved. If the move cannot be written the
// old bytes are put back and nothing changes.
bool ItemStore::RemoveRecords(std::vector<int> indices) {
  std::sort(indices.begin(), indices.end());
  const std::uint32_t first = records_[indices.front()].offset;
  std::vector<std::uint8_t> old(endOffset_ - first);
  if (!ReadAll(first, old)) {
    Show(MSG_STORE_WRITE_FAILED);
    return false;
  }
  std::vector<std::uint8_t> packed;
  packed.reserve(old.size());
  std::uint32_t from = first;
  for (int index : indices) {
    const Record& r = records_[index];
    packed.insert(packed.end(), old.begin() + (from - first), old.begin() + (r.offset - first));
    from = r.offset + r.Length();
  }
  packed.insert(packed.end(), old.begin() + (from - first), old.end());
  if (!WriteAll(first, packed)) {
    if (!WriteAll(first, old)) {
      // Neither layout is whole on disk any more: stop changing the file.
      readOnly_ = true;
    }
    Show(MSG_STORE_WRITE_FAILED);
    return false;
  }

  std::vector<Record> kept;
  kept.reserve(records_.size() - indices.size());
  std::uint32_t removedBefore = 0;
  std::size_t next = 0;
  for (std::size_t i = 0; i < records_.size(); ++i) {
    if (next < indices.size() && static_cast<std::size_t>(indices[next]) == i) {
      removedBefore += records_[i].Length();
      ++next;
      continue;
    }
    Record r = records_[i];
    r.offset -= removedBefore;
    kept.push_back(r);
  }
  records_ = std::move(kept);
  endOffset_ -= removedBefore;
  WriteMainHeader();
  return true;
}

// ---- changes in place ----------------------------------------------------

bool ItemStore::RewriteHeader(ItemId id, const std::function<void(ItemHeader&)>& change) {
  std::lock_guard lock(mutex_);
  if (RefuseWhenReadOnly()) return false;
  const int index = FindIndex(id);
  if (index < 0) return false;
  ItemHeader header = records_[index].header;
  change(header);
  if (!WriteAll(records_[index].offset, ItemHeaderBytes(header))) {
    Show(MSG_STORE_WRITE_FAILED);
    return false;
  }
  records_[index].header = header;
  return true;
}

bool ItemStore::RenameItem(ItemId id, std::string_view newName) {
  const std::string name = CutItemName(newName);
  return RewriteHeader(id, [&](ItemHeader& h) { h.name = name; });
}

bool ItemStore::MoveItem(ItemId id, ItemId newParent) {
  std::lock_guard lock(mutex_);
  if (newParent != ROOT_FOLDER_ID) {
    const int target = FindIndex(newParent);
    if (target < 0) return false;
    // A folder moved into itself or below itself would leave the tree.
    const int index = FindIndex(id);
    if (index < 0) return false;
    for (int i : SubtreeIndices(index)) {
      if (i == target) return false;
    }
  }
  return RewriteHeader(id, [&](ItemHeader& h) { h.parent = newParent; });
}

bool ItemStore::SetExpanded(ItemId id, bool expanded) {
  return RewriteHeader(id, [&](ItemHeader& h) {
    h.flags = expanded ? (h.flags | ITEM_FLAG_EXPANDED) : (h.flags & ~ITEM_FLAG_EXPANDED);
  });
}

bool ItemStore::WriteInfo(ItemId id, std::span<const std::uint8_t> info) {
  std::lock_guard lock(mutex_);
  if (RefuseWhenReadOnly()) return false;
  const int index = FindIndex(id);
  if (index < 0 || info.size() != records_[index].header.infoSize) return false;
  if (!WriteAll(std::uint64_t{records_[index].offset} + sl::ITEM_HEADER_SIZE, info)) {
    Show(MSG_STORE_WRITE_FAILED);
    return false;
  }
  return true;
}

}  // namespace korvane
