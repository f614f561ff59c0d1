#include "exchange/bitmap_view_image.h"

#include <algorithm>

#include "exchange/item_views.h"
#include "exchange/matrix_view.h"

namespace korvane {
namespace {

std::optional<ViewSize> DrawItemView(RgbImage& target, const Item& item, const CalculatorFonts& fonts,
                                     const TextLookup& texts, MessageSink& messages) {
  switch (item.type) {
    case ITEM_MATRIX:
    case ITEM_LIST: {
      MatrixViewState state;
      state.LoadItem(item.info, item.data);
      return DrawMatrixView(target, state, fonts);
    }
    case ITEM_SCREEN_DC:
    case ITEM_SCREEN_DD:
      return DrawScreenImage(target, item.type == ITEM_SCREEN_DC ? 3 : 1, 128, 64, item.data);
    case ITEM_PICTURE:
      return DrawPicture(target, item.info, item.data, messages);
    case ITEM_MEM_BU:
      return DrawBackupSummary(target, item.info, item.data, fonts, texts);
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<RgbImage> ItemViewImage(const Item& item, const CalculatorFonts& fonts, const TextLookup& texts,
                                      MessageSink& messages) {
  RgbImage drawn(VIEW_IMAGE_SIDE, VIEW_IMAGE_SIDE, COLOUR_BACKGROUND);
  const std::optional<ViewSize> size = DrawItemView(drawn, item, fonts, texts, messages);
  if (!size) return std::nullopt;
  const int width = std::clamp(size->width, 0, VIEW_IMAGE_SIDE);
  const int height = std::clamp(size->height, 0, VIEW_IMAGE_SIDE);
  if (width == 0 || height == 0) return std::nullopt;
  RgbImage view(width, height, COLOUR_BACKGROUND);
  view.CopyFrom(drawn, 0, 0, width, height, 0, 0);
  return view;
}

}  // namespace korvane
