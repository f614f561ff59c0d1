// korvane-cli's picture commands: a picture or screen image saved as a bitmap,
// and any item's view written out as the container window would show it.

#include "exchange/bitmap_export.h"
#include "exchange/bitmap_view_image.h"
#include "shell/cli_commands.h"

namespace korvane {
namespace {

struct BitmapTarget {
  ItemId id = NO_ITEM;
  std::string output;
};

// The item argument and --output, or a message and nullopt.
std::optional<BitmapTarget> ReadBitmapTarget(CliContext& c) {
  const std::string& path = c.request.arguments[0];
  const auto output = c.request.Value("output");
  if (!output || output->empty()) {
    CliFail(c, "--output FILE.bmp is needed");
    return std::nullopt;
  }
  const ItemId id = FindItemByPath(c.core.Store(), path);
  if (id == NO_ITEM || id == ROOT_FOLDER_ID) {
    CliFail(c, "no item " + path);
    return std::nullopt;
  }
  return BitmapTarget{id, *output};
}

int SaveBitmapCommand(CliContext& c) {
  const auto target = ReadBitmapTarget(c);
  if (!target) return 1;
  switch (SaveItemAsBitmap(c.core.Store(), target->id, target->output, c.core.Messages())) {
    case SaveBitmapResult::Saved: return 0;
    case SaveBitmapResult::NoSuchItem: return CliFail(c, "no item " + c.request.arguments[0]);
    case SaveBitmapResult::NotAPicture:
      return CliFail(c, c.request.arguments[0] + " is not a picture or a screen image");
    case SaveBitmapResult::WriteFailed: return 1;  // the message said why
  }
  return 1;
}

int ShowCommand(CliContext& c) {
  const auto target = ReadBitmapTarget(c);
  if (!target) return 1;
  const std::optional<Item> item = c.core.Store().ReadItem(target->id);
  if (!item) return CliFail(c, "no item " + c.request.arguments[0]);
  const auto image = ItemViewImage(*item, c.core.Fonts(), c.core.Languages(), c.core.Messages());
  if (!image) return CliFail(c, c.request.arguments[0] + " has no view to show");
  return SaveImageAsBitmap(target->output, *image, c.core.Messages()) ? 0 : 1;
}

}  // namespace

std::vector<CliCommand> CliPictureCommands() {
  const std::vector<CliOptionSpec> output{{"output", true, "FILE.bmp", true}};
  return {
      {{"bitmap", "PATH", "save a picture or screen image as a 128 x 64 24-bit bitmap", 1, 1, output},
       SaveBitmapCommand},
      {{"show", "PATH", "save the item's view (matrix, list, picture, screen image, backup) as a bitmap", 1, 1,
        output},
       ShowCommand},
  };
}

}  // namespace korvane
