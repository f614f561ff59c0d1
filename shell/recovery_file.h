#pragma once
// The editor's unsaved text, kept beside storage.dat after a pause in typing,
// so that a crash or a kill loses nothing: the next start offers it back. A
// normal store of the program removes the file.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "storage/item_types.h"

namespace korvane {

// "Korvane kept unsaved changes to the program %s, last typed %s. Open them in the editor?"
inline constexpr int MSG_RECOVERY_OFFER = 95;

struct RecoveredEdit {
  ItemId item = NO_ITEM;
  std::string name;    // the program's name then (Latin-1)
  std::time_t when = 0;
  std::string text;    // the editor's text, UTF-8, lines ending in LF
};

class RecoveryFile {
 public:
  // Usually the store's path with ".recovery" added.
  explicit RecoveryFile(std::string path) : path_(std::move(path)) {}

  // Writes the whole file anew (a new file renamed over the old); false when it could not be written.
  [[nodiscard]] bool Write(const RecoveredEdit& edit) const;
  // The kept edit; none when there is no file or it is not one of ours.
  std::optional<RecoveredEdit> Read() const;
  void Remove() const;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The time an edit was typed, for the offer: "2026-12-08 14:05".
std::string RecoveryTimeText(std::time_t when);

}  // namespace korvane
