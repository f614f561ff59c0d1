#pragma once
// The views of the items that are not programs, drawn as the calculator shows
// them: screen images and pictures as pixels in the calculator's colours, a
// memory backup as a short summary. Each draws into an image (clipped to it)
// and returns the view size. Every read of the data block is checked: a short
// block draws what it holds.

#include <cstdint>
#include <span>

#include "exchange/view_size.h"
#include "link/item_type.h"
#include "settings/message_sink.h"
#include "settings/text_lookup.h"
#include "text/calculator_font.h"
#include "text/rgb_image.h"

namespace korvane {

// String ids of the views.
inline constexpr int TEXT_ID_BACKUP_TITLE = 12;
inline constexpr int TEXT_ID_BACKUP_SIZE = 13;
inline constexpr int TEXT_ID_BACKUP_MODEL = 14;
inline constexpr int TEXT_ID_BACKUP_NAME_HEAD = 15;
inline constexpr int TEXT_ID_BACKUP_SIZE_HEAD = 16;
inline constexpr int TEXT_ID_PICTURE_SHEETS = 17;

// Where a screen image's planes start in its data block.
inline constexpr std::size_t SCREEN_PLANE_STRIDE = 1027;

// The planes of a screen image item: 3 for ITEM_SCREEN_DC, 1 for ITEM_SCREEN_DD.
inline constexpr int ScreenPlanes(ItemType type) { return type == ITEM_SCREEN_DC ? 3 : 1; }

// A screen image of 1 plane (black) or 3 planes (blue, green, orange); `width`
// and `height` from its ScreenHeader (bytes 3 and 4).
ViewSize DrawScreenImage(RgbImage& target, int planes, int width, int height, std::span<const std::uint8_t> data);

// A picture from its LinkHeader and PictureSheets. A header announcing more
// than one sheet shows message 17 and is drawn all the same. A sheet whose
// colour number is not 1 to 4 is drawn in black.
ViewSize DrawPicture(RgbImage& target, std::span<const std::uint8_t> linkHeader, std::span<const std::uint8_t> data,
                     MessageSink& messages);

// The summary of a memory backup: title, size in KiB, and, when the data block
// holds its directory, the model and one line per stored entry.
ViewSize DrawBackupSummary(RgbImage& target, std::span<const std::uint8_t> linkHeader,
                           std::span<const std::uint8_t> data, const CalculatorFonts& fonts, const TextLookup& texts);

}  // namespace korvane
