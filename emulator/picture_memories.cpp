#include "emulator/picture_memories.h"

#include "emulator/screen_geometry.h"
#include "exchange/item_views.h"
#include "link/calculator_records.h"

namespace korvane {

// A picture's slot digit is the last of its eight name bytes.
constexpr std::size_t PICTURE_SLOT_DIGIT = link_header::NAME + 7;

PictureMemories::PictureMemories() {
  for (auto& picture : pictures_) picture = RgbImage(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BACKGROUND);
}

const RgbImage* PictureMemories::Picture(int n) const {
  return IsPictureNumber(n) ? &pictures_[static_cast<std::size_t>(n - 1)] : nullptr;
}

bool PictureMemories::Store(int n, const RgbImage& source) {
  if (!IsPictureNumber(n)) return false;
  RgbImage& picture = pictures_[static_cast<std::size_t>(n - 1)];
  picture.Fill(COLOUR_BACKGROUND);
  picture.CopyFrom(source, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0);
  return true;
}

int PictureMemories::LoadPictureItem(std::span<const std::uint8_t> linkHeader, std::span<const std::uint8_t> data,
                                     MessageSink& messages) {
  if (linkHeader.size() < LINK_HEADER_LENGTH) return 0;
  const int slot = linkHeader[PICTURE_SLOT_DIGIT] - '0';
  if (!IsPictureNumber(slot)) return 0;
  RgbImage& picture = pictures_[static_cast<std::size_t>(slot - 1)];
  picture.Fill(COLOUR_BACKGROUND);
  DrawPicture(picture, linkHeader, data, messages);
  return slot;
}

}  // namespace korvane
