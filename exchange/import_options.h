#pragma once
// The import options: where the items read from a file go. The Qt dialog
// implements the choice; tests and korvane-cli answer it without a window.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace korvane {

enum ImportPlacement {
  PLACE_ONE_FOLDER = 1,
  PLACE_STANDARD_FOLDERS = 2,
  PLACE_TRANSMIT = 4,
};

// The offered folder name holds at most this many characters, so that
// "/" + name + "/" stays within the longest folder path.
inline constexpr std::size_t IMPORT_FOLDER_NAME_MAX = 297;

// String ids of the dialog.
inline constexpr int STR_IMPORT_TITLE = 155;
inline constexpr int STR_IMPORT_CONTENTS = 156;
inline constexpr int STR_IMPORT_OPTIONS = 157;
inline constexpr int STR_IMPORT_ONE_FOLDER = 158;
inline constexpr int STR_IMPORT_STANDARD_FOLDERS = 159;
inline constexpr int STR_IMPORT_TRANSMIT = 160;

struct ImportOptionsRequest {
  std::vector<std::string> itemNames;  // the temporary folder's items, sorted (store text)
  std::string folderName;              // the file's base name (store text)
  ImportPlacement defaultPlacement = PLACE_STANDARD_FOLDERS;
  bool transmitAvailable = false;      // only while a link can take the items
};

struct ImportChoice {
  ImportPlacement placement = PLACE_STANDARD_FOLDERS;
  std::string folderName;  // for PLACE_ONE_FOLDER
};

class ImportOptions {
 public:
  virtual ~ImportOptions() = default;
  // The user's choice, or nullopt when the import was cancelled.
  virtual std::optional<ImportChoice> ChooseImportPlacement(const ImportOptionsRequest& request) = 0;
};

// One folder for two or more items, the standard folders otherwise.
inline ImportPlacement DefaultImportPlacement(std::size_t itemCount) {
  return itemCount >= 2 ? PLACE_ONE_FOLDER : PLACE_STANDARD_FOLDERS;
}

}  // namespace korvane
