#pragma once
// The library of calculator items in one file ("storage.dat"): a fixed main
// header with the offset table, then the item records packed back to back.
// The store holds the file open under an exclusive lock for as long as it is
// open; every public operation runs whole under the store's own lock, so the
// user-interface thread and the link thread may share one store.

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/message_sink.h"
#include "storage/item_types.h"
#include "storage/store_damage.h"
#include "storage/store_layout.h"

namespace korvane {

// Messages of the store (caption 2, exclamation icon).
inline constexpr int MSG_STORE_CANNOT_OPEN = 33;
inline constexpr int MSG_STORE_HEADER_SHORT = 34;
inline constexpr int MSG_STORE_BAD_MAGIC = 35;
inline constexpr int MSG_STORE_BAD_ITEM_MAGIC = 36;
inline constexpr int MSG_STORE_HEADER_WRITE_SHORT = 37;
inline constexpr int MSG_STORE_TOO_MANY_ITEMS_ALLOWED = 119;
// Record %d (at offset %u) runs outside the data or overlaps another; left out.
inline constexpr int MSG_STORE_RECORD_OUT_OF_BOUNDS = 164;
// The header counts %u records ending at %u, but the file holds %u bytes.
inline constexpr int MSG_STORE_HEADER_INCONSISTENT = 165;
// The store is damaged and is used read-only.
inline constexpr int MSG_STORE_READ_ONLY = 166;
// A change was refused because the store is read-only.
inline constexpr int MSG_STORE_CHANGE_REFUSED = 167;
// A write failed (disk full, I/O error); the change was not saved.
inline constexpr int MSG_STORE_WRITE_FAILED = 168;
// The store already holds %u items, its limit.
inline constexpr int MSG_STORE_FULL = 169;
// Why the file could not be opened, each naming the path.
inline constexpr int MSG_STORE_NO_FOLDER = 193;         // path, folder
inline constexpr int MSG_STORE_NO_PERMISSION = 194;
inline constexpr int MSG_STORE_READ_ONLY_FILE_SYSTEM = 195;
inline constexpr int MSG_STORE_IN_USE = 196;            // another running copy holds it
inline constexpr int MSG_STORE_NOT_A_STORE = 197;       // the file was left untouched

enum class StoreOpenFailure {
  None,
  CannotOpen,          // message 33
  NoFolder,
  NoPermission,
  ReadOnlyFileSystem,
  InUse,
  NotAStore,
  HeaderShort,         // message 34
  TooManyItemsAllowed, // message 119
};

class ItemStore {
 public:
  explicit ItemStore(MessageSink& messages);
  ~ItemStore();  // closes the store when it is still open
  ItemStore(const ItemStore&) = delete;
  ItemStore& operator=(const ItemStore&) = delete;

  // Opens or creates the file at `path` (program home + "storage.dat") and
  // takes the exclusive lock. A file that existed gets its temporary folder
  // reset. False (after a message saying why) when the file cannot be used
  // at all. Damage found in a file that opens is not shown but kept in
  // Damage(): records that cannot be read make the store read-only.
  [[nodiscard]] bool OpenStore(const std::string& path);
  // Why the last OpenStore failed.
  StoreOpenFailure LastOpenFailure() const { return openFailure_; }
  // What the last OpenStore found wrong with the file.
  const StoreDamage& Damage() const { return damage_; }
  // The path the store was opened from (empty when closed).
  std::string Path() const;
  // Writes the main header, cuts the file at the data end and closes it.
  void CloseStore();
  bool IsOpen() const;
  // True when damage found at open keeps every change out of the file.
  bool IsReadOnly() const;

  // The whole item, or nullopt when no record carries `id`.
  std::optional<Item> ReadItem(ItemId id) const;
  // Only the header fields, without reading the blocks.
  std::optional<ItemHeader> ReadHeader(ItemId id) const;
  // Every readable record's header, in file order.
  std::vector<ItemHeader> Headers() const;

  // Writes an item under `id` (new, or the id of an item being replaced). The
  // folder is `path` when given (resolved with creation; always adds), else
  // `parent` (a same-named data item there is replaced). Returns the id, or
  // NO_ITEM when nothing was stored.
  ItemId StoreItem(ItemId id, std::string_view name, const std::optional<std::string>& path,
                   ItemId parent, std::span<const std::uint8_t> info,
                   std::span<const std::uint8_t> data, ItemType type);
  // StoreItem under a fresh id.
  ItemId CreateItem(std::string_view name, const std::optional<std::string>& path, ItemId parent,
                    std::span<const std::uint8_t> info, std::span<const std::uint8_t> data,
                    ItemType type);

  // Removes the record and compacts the file; a folder takes its contents
  // with it. False when nothing was deleted.
  bool DeleteItem(ItemId id);
  // One header field rewritten in place; false when not found or not written.
  bool RenameItem(ItemId id, std::string_view newName);
  bool MoveItem(ItemId id, ItemId newParent);
  bool SetExpanded(ItemId id, bool expanded);
  // The flags word, 0 when the item does not exist; test ITEM_FLAG_EXPANDED.
  std::uint32_t GetExpanded(ItemId id) const;
  // Overwrites the info block in place; `info` must have the stored size.
  bool WriteInfo(ItemId id, std::span<const std::uint8_t> info);
  // Appends a copy of an item read from another store, header as it is (id,
  // folder, flags): nothing is replaced and no folder is resolved. False when
  // the id is taken or the write fails.
  bool AppendItemCopy(const Item& item);
  // Makes every id below `limit` count as used, so a copied store never hands
  // out again an id its original gave.
  bool ReserveIdsBelow(std::uint32_t limit);

  // The item of that name (letter case ignored) in folder `parent`; the
  // lowest id wins. NO_ITEM when none.
  ItemId FindItemByName(std::string_view name, ItemId parent) const;
  bool ItemExists(std::string_view name, ItemId parent) const;
  std::uint32_t ItemCount() const;
  // nextId: every id in use is below it.
  std::uint32_t IdLimit() const;

  // The lock every operation takes; callers that need several operations
  // to run as one (a resolve-then-store) may hold it too.
  std::recursive_mutex& Mutex() const { return mutex_; }

 private:
  struct Record {
    std::uint32_t offset = 0;
    bool usable = true;  // false: no item magic; kept in the file, left out of lookups
    ItemHeader header;
    std::uint32_t Length() const { return store_layout::ITEM_HEADER_SIZE + header.infoSize + header.dataSize; }
  };

  void Show(int textId, std::vector<FormatArg> args = {}) const;
  void FailOpen(StoreOpenFailure failure, int textId, std::vector<FormatArg> args = {});
  void NoteLeftOut(int textId, std::vector<FormatArg> args, std::uint32_t offset);
  void CheckDataChecksums();
  bool RefuseWhenReadOnly() const;
  bool CreateNewFile();
  bool ReadExistingFile(std::uint64_t fileSize);
  void LoadRecords(const std::vector<std::uint8_t>& header, std::uint64_t fileSize);
  void RaiseNextIdAboveItems();
  int FindIndex(ItemId id) const;
  bool WriteAll(std::uint64_t offset, std::span<const std::uint8_t> bytes) const;
  bool ReadAll(std::uint64_t offset, std::span<std::uint8_t> bytes) const;
  std::vector<std::uint8_t> MainHeaderBytes() const;
  bool WriteMainHeader();
  bool RewriteHeader(ItemId id, const std::function<void(ItemHeader&)>& change);
  std::vector<int> SubtreeIndices(int index) const;
  bool RemoveRecords(std::vector<int> indices);
  void Release();

  MessageSink& messages_;
  mutable std::recursive_mutex mutex_;
  int fd_ = -1;
  bool readOnly_ = false;
  std::string path_;
  StoreOpenFailure openFailure_ = StoreOpenFailure::None;
  StoreDamage damage_;
  std::uint32_t nextId_ = FIRST_ITEM_ID;
  // Bytes of the end of the data (endOffset) and the records, in file order.
  std::uint32_t endOffset_ = store_layout::MAIN_HEADER_SIZE;
  std::vector<Record> records_;
};

}  // namespace korvane
