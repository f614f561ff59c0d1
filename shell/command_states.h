#pragma once
// Which commands and toolbar buttons are usable, from the selected item's
// kind. Commands whose machinery is not part of the program yet stay grayed.

#include <optional>
#include <string>

#include "settings/text_lookup.h"
#include "shell/command_ids.h"
#include "storage/item_types.h"

namespace korvane {

// The commands whose work the program can do at all (each is wired when the
// subsystem behind it exists).
struct AvailableCommands {
  bool transfer = true;   // Transmit, Queue, Transmit queue
  bool emulate = true;
  bool importFiles = true;   // Open, dropped files
  bool exportFiles = true;   // Save
  bool bitmaps = true;       // Save as bitmap, Save Screenshot
  bool find = true;          // Find, Find again in the program editor
};

struct CommandStates {
  bool itemMenu = false;
  bool rename = false;
  bool deleteItem = false;
  bool transmit = false;
  bool queue = false;
  bool emulate = true;
  bool password = false;
  bool saveAsBitmap = false;
  bool open = false;
  bool save = false;
  bool transmitQueue = false;
  bool find = false;  // only while a program or text item is shown
};

// `selected`: the selected item's type, nullopt when no node is selected.
// `programShown`: a program or text item is in the editor.
CommandStates ComputeCommandStates(std::optional<ItemType> selected, bool programShown,
                                   const AvailableCommands& available);

// Status text of a calculator data item: string 22 with its data size and
// password, or string 23 with its data size when it has no password.
std::string DescribeItem(const TextLookup& texts, std::size_t dataSize, const std::string& password);

}  // namespace korvane
