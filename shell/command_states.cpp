#include "shell/command_states.h"

#include "settings/text_format.h"

namespace korvane {

CommandStates ComputeCommandStates(std::optional<ItemType> selected, bool programShown,
                                   const AvailableCommands& available) {
  CommandStates s;
  s.open = available.importFiles;
  s.save = available.exportFiles;
  s.transmitQueue = available.transfer;
  s.find = available.find && programShown;
  if (!selected) return s;

  const ItemType type = *selected;
  const bool screenImage = type == ITEM_SCREEN_DC || type == ITEM_SCREEN_DD;
  s.itemMenu = true;
  s.rename = true;
  s.deleteItem = true;
  // Screen images cannot be sent to the calculator.
  s.transmit = available.transfer && !screenImage;
  s.queue = available.transfer && !screenImage;
  s.saveAsBitmap = available.bitmaps && (screenImage || type == ITEM_PICTURE);
  s.emulate = available.emulate && type == ITEM_PROGRAM;
  s.password = type == ITEM_PROGRAM;
  return s;
}

std::string DescribeItem(const TextLookup& texts, std::size_t dataSize, const std::string& password) {
  const auto size = static_cast<std::int64_t>(dataSize);
  if (!password.empty()) return FormatText(texts.Text(22), {size, password});
  return FormatText(texts.Text(23), {size});
}

}  // namespace korvane
