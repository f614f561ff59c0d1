#include "exchange/bitmap_export.h"

#include "exchange/bitmap_file.h"
#include "exchange/bitmap_scaling.h"
#include "exchange/item_views.h"

namespace korvane {

bool CanSaveAsBitmap(ItemType type) {
  return type == ITEM_PICTURE || type == ITEM_SCREEN_DC || type == ITEM_SCREEN_DD;
}

std::optional<RgbImage> ItemBitmapImage(const Item& item, MessageSink& messages) {
  RgbImage image(PICTURE_WIDTH, PICTURE_HEIGHT, COLOUR_BACKGROUND);
  switch (item.type) {
    case ITEM_PICTURE:
      (void)DrawPicture(image, item.info, item.data, messages);
      return image;
    case ITEM_SCREEN_DC:
      (void)DrawScreenImage(image, 3, PICTURE_WIDTH, PICTURE_HEIGHT, item.data);
      return image;
    case ITEM_SCREEN_DD:
      (void)DrawScreenImage(image, 1, PICTURE_WIDTH, PICTURE_HEIGHT, item.data);
      return image;
    default:
      return std::nullopt;
  }
}

bool SaveImageAsBitmap(const std::string& path, const RgbImage& image, MessageSink& messages) {
  switch (WriteBitmapFile(path, MakeBitmapInfo(image), image)) {
    case WriteFileResult::Written:
      return true;
    case WriteFileResult::CannotCreate:
      messages.ShowMessage(TextMessage(MSG_BITMAP_CANNOT_CREATE, {path}));
      return false;
    case WriteFileResult::WriteFailed:
      messages.ShowMessage(TextMessage(MSG_BITMAP_WRITE_FAILED, {path}));
      return false;
  }
  return false;
}

SaveBitmapResult SaveItemAsBitmap(const ItemStore& store, ItemId id, const std::string& path,
                                  MessageSink& messages) {
  const std::optional<Item> item = store.ReadItem(id);
  if (!item) return SaveBitmapResult::NoSuchItem;
  const std::optional<RgbImage> image = ItemBitmapImage(*item, messages);
  if (!image) return SaveBitmapResult::NotAPicture;
  return SaveImageAsBitmap(path, *image, messages) ? SaveBitmapResult::Saved : SaveBitmapResult::WriteFailed;
}

RgbImage ScreenshotImage(const RgbImage& viewImage) {
  RgbImage screen(PICTURE_WIDTH, PICTURE_HEIGHT, COLOUR_BACKGROUND);
  screen.CopyFrom(viewImage, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT, 0, 0);
  return screen;
}

bool SaveScreenAsBitmap(const RgbImage& viewImage, const std::string& path, MessageSink& messages) {
  return SaveImageAsBitmap(path, ScreenshotImage(viewImage), messages);
}

}  // namespace korvane
