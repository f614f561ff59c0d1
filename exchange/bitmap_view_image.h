#pragma once
// An item's view as an image of the view's own size: what the container
// window shows for a matrix, a list, a picture, a screen image or a memory
// backup, for writing out as a bitmap.

#include <optional>

#include "settings/message_sink.h"
#include "settings/text_lookup.h"
#include "storage/item_types.h"
#include "text/calculator_font.h"
#include "text/rgb_image.h"

namespace korvane {

// The largest view any item draws (the matrix view's drawing area).
inline constexpr int VIEW_IMAGE_SIDE = 1024;

// The view with the first cell of a matrix selected; nullopt for kinds
// without a view (programs, folders) and for a view of no size.
std::optional<RgbImage> ItemViewImage(const Item& item, const CalculatorFonts& fonts, const TextLookup& texts,
                                      MessageSink& messages);

}  // namespace korvane
