#pragma once
// Saving a picture, a screen image or the current view as a 128 x 64 24-bit
// bitmap file. The file name is asked for by the caller (the save-file dialog,
// or korvane-cli's --output); a file that cannot be written is reported and an
// existing file of that name is left as it was.

#include <optional>
#include <string>

#include "settings/message_sink.h"
#include "storage/item_store.h"
#include "text/rgb_image.h"

namespace korvane {

// "The bitmap %s could not be created." / "The bitmap %s could not be written
// completely; it was left as it was."
inline constexpr int MSG_BITMAP_CANNOT_CREATE = 186;
inline constexpr int MSG_BITMAP_WRITE_FAILED = 187;

// True for the kinds "Save as bitmap" is offered for.
bool CanSaveAsBitmap(ItemType type);

// The 128 x 64 image of a picture or screen-image item, drawn as its view
// draws it; nullopt for other kinds. A picture announcing more than one sheet
// shows the view's message 17.
std::optional<RgbImage> ItemBitmapImage(const Item& item, MessageSink& messages);

// Writes `image` to `path`, reporting a failure with message 186 or 187.
[[nodiscard]] bool SaveImageAsBitmap(const std::string& path, const RgbImage& image, MessageSink& messages);

enum class SaveBitmapResult { Saved, NoSuchItem, NotAPicture, WriteFailed };

// The item `id` as a bitmap file at `path`.
[[nodiscard]] SaveBitmapResult SaveItemAsBitmap(const ItemStore& store, ItemId id, const std::string& path,
                                                MessageSink& messages);

// The 128 x 64 pixels at the top left of the view image, background where
// the view image is smaller.
RgbImage ScreenshotImage(const RgbImage& viewImage);

// The 128 x 64 pixels at the top left of the view image (the emulator's screen
// while a program runs) as a bitmap file at `path`.
[[nodiscard]] bool SaveScreenAsBitmap(const RgbImage& viewImage, const std::string& path, MessageSink& messages);

}  // namespace korvane
