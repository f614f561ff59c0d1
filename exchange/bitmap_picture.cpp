#include "exchange/bitmap_picture.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "exchange/bitmap_scaling.h"

namespace korvane {
namespace {

constexpr int SHEET_MATCH_DISTANCE = 50;

int ColourDistance(Rgb a, Rgb b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

Bytes PictureHeader() {
  Bytes header(LINK_HEADER_LENGTH, NAME_PAD);
  static constexpr std::array<std::uint8_t, 11> START{RECORD_START, 'I', 'M', 'G', 0x00, 'P', 'C', 0x00, 0x40, 0x00, 0x80};
  std::memcpy(header.data(), START.data(), START.size());
  WritePaddedName(std::span(header).subspan(link_header::NAME, RECORD_NAME_LENGTH), "Picture1");
  // Start position, direction, byte direction and bit weight of the sheets.
  std::memcpy(header.data() + link_header::PASSWORD, "DRUWF", 5);
  header[link_header::COLOURS] = 0x00;
  header[link_header::COLOURS + 1] = 0x04;
  header[link_header::SHEETS] = 0x00;
  header[link_header::SHEETS + 1] = 0x01;
  SetRecordChecksum(header);
  return header;
}

// Byte j of a sheet holds row j mod 64 from the bottom, columns counted in
// groups of eight from the right; bit k is the pixel k places left of the group's right edge.
void FillSheetBitmap(std::span<std::uint8_t> bitmap, const RgbImage& quantised, Rgb reference) {
  for (std::size_t j = 0; j < PICTURE_BITMAP_LENGTH; ++j) {
    const int y = PICTURE_HEIGHT - 1 - static_cast<int>(j % PICTURE_HEIGHT);
    const int group = static_cast<int>(j / PICTURE_HEIGHT);
    std::uint8_t byte = 0;
    for (int k = 0; k < 8; ++k) {
      const int x = PICTURE_WIDTH - 1 - 8 * group - k;
      if (ColourDistance(quantised.PixelOr(x, y, COLOUR_BACKGROUND), reference) < SHEET_MATCH_DISTANCE)
        byte = static_cast<std::uint8_t>(byte | (1u << k));
    }
    bitmap[j] = byte;
  }
}

}  // namespace

PictureBlocks BuildPictureBlocks(const RgbImage& quantised) {
  static constexpr std::array<Rgb, 3> SHEET_COLOURS{COLOUR_ORANGE, COLOUR_BLUE, COLOUR_GREEN};
  PictureBlocks blocks{PictureHeader(), Bytes(PICTURE_SHEET_COUNT * PICTURE_SHEET_LENGTH, 0)};
  for (std::size_t s = 0; s < PICTURE_SHEET_COUNT; ++s) {
    const auto sheet = std::span(blocks.data).subspan(s * PICTURE_SHEET_LENGTH, PICTURE_SHEET_LENGTH);
    sheet[0] = RECORD_START;
    sheet[picture_sheet::SHEET + 1] = 0x01;
    sheet[picture_sheet::COLOUR + 1] = static_cast<std::uint8_t>(s + 1);
    if (s < SHEET_COLOURS.size())
      FillSheetBitmap(sheet.subspan(picture_sheet::BITMAP, PICTURE_BITMAP_LENGTH), quantised, SHEET_COLOURS[s]);
    SetRecordChecksum(sheet);
  }
  return blocks;
}

ExchangeItem BitmapToPicture(const RgbImage& quantised, std::string_view name) {
  PictureBlocks blocks = BuildPictureBlocks(quantised);
  return {ITEM_PICTURE, std::string(name), std::move(blocks.info), std::move(blocks.data)};
}

}  // namespace korvane
