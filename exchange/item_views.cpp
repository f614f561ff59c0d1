#include "exchange/item_views.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "link/calculator_records.h"
#include "storage/byte_order.h"

namespace korvane {
namespace {

constexpr int LINE_HEIGHT = 8;
constexpr int BACKUP_VIEW_WIDTH = 150;
constexpr int BACKUP_FILL_HEIGHT = 500;
constexpr std::size_t BACKUP_LABEL_LENGTH = 7;
constexpr std::size_t BACKUP_NAME_COLUMN = 12;
// A directory line is never wider than the view; longer texts are cut here so
// that a block without end marks cannot make every line as long as the block.
constexpr std::size_t BACKUP_LINE_LIMIT = 64;
// The directory entries lie this far before the copy of the block's length.
constexpr std::size_t BACKUP_ENTRY_BACK = 13;

// Byte j, bit k of a bitmap of `height` rows: x from the right, 8 columns per
// group of `height` bytes. Returns the column; the row is j mod height.
int BitmapColumn(int width, int height, std::size_t j, int k) {
  return width - 1 - 8 * static_cast<int>(j / static_cast<std::size_t>(height)) - k;
}

// Draws the set bits of `bitmapBytes` bytes from `at` in `data`, as far as the
// data goes; bottomUp puts row 0 at the bottom of the image.
void DrawBitmap(RgbImage& target, std::span<const std::uint8_t> data, std::size_t at, std::size_t bitmapBytes,
                int width, int height, bool bottomUp, Rgb colour) {
  if (at >= data.size() || width <= 0 || height <= 0) return;
  const std::size_t available = std::min(bitmapBytes, data.size() - at);
  for (std::size_t j = 0; j < available; ++j) {
    const std::uint8_t byte = data[at + j];
    if (byte == 0) continue;
    const int r = static_cast<int>(j % static_cast<std::size_t>(height));
    const int y = bottomUp ? height - 1 - r : r;
    for (int k = 0; k < 8; ++k) {
      if ((byte >> k) & 1) target.SetPixel(BitmapColumn(width, height, j, k), y, colour);
    }
  }
}

Rgb PlaneColour(int plane, int planes) {
  if (planes == 1) return COLOUR_BLACK;
  switch (plane) {
    case 0: return COLOUR_BLUE;
    case 1: return COLOUR_GREEN;
    default: return COLOUR_ORANGE;
  }
}

Rgb SheetColour(std::uint8_t colourNumber) {
  switch (colourNumber) {
    case 1: return COLOUR_ORANGE;
    case 2: return COLOUR_BLUE;
    case 3: return COLOUR_GREEN;
    case 4: return COLOUR_PICTURE4;
    default: return COLOUR_BLACK;
  }
}

// Bytes of `data` from `at` up to the first 0xFF or NUL, the end of the data,
// or `limit` characters.
std::string TextUntilEnd(std::span<const std::uint8_t> data, std::size_t at, std::size_t limit) {
  std::string text;
  for (std::size_t i = at; i < data.size() && text.size() < limit; ++i) {
    if (data[i] == 0xFF || data[i] == 0) break;
    text.push_back(static_cast<char>(data[i]));
  }
  return text;
}

std::string PaddedTo(std::string text, std::size_t length) {
  text.resize(length, ' ');
  return text;
}

// Where the directory begins: the first copy of (length - 4), low byte first,
// that has room for an entry before it.
std::optional<std::size_t> FindBackupDirectory(std::span<const std::uint8_t> data, std::uint16_t length) {
  const auto marker = static_cast<std::uint16_t>(length - 4);
  const auto low = static_cast<std::uint8_t>(marker & 0xFF);
  const auto high = static_cast<std::uint8_t>(marker >> 8);
  for (std::size_t p = BACKUP_ENTRY_BACK; p + 1 < data.size(); ++p) {
    if (data[p] == low && data[p + 1] == high) return p - BACKUP_ENTRY_BACK;
  }
  return std::nullopt;
}

// One line per directory entry from `entry` until an entry starting with 0.
void AppendBackupEntries(std::vector<std::string>& lines, std::span<const std::uint8_t> data, std::size_t entry) {
  while (entry < data.size() && data[entry] != 0) {
    std::string line = TextUntilEnd(data, entry, BACKUP_LINE_LIMIT);
    const std::size_t mark = entry + 15;
    if (mark < data.size() && data[mark] == 0x10) {
      line = PaddedTo(line.substr(0, BACKUP_NAME_COLUMN), BACKUP_NAME_COLUMN) +
             TextUntilEnd(data, mark + 1, BACKUP_LINE_LIMIT - BACKUP_NAME_COLUMN);
      entry += 32;
    } else {
      entry += 16;
    }
    lines.push_back(line);
  }
}

}  // namespace

ViewSize DrawScreenImage(RgbImage& target, int planes, int width, int height, std::span<const std::uint8_t> data) {
  target.FillRect(0, 0, width, height, COLOUR_BACKGROUND);
  const ViewSize size{width, height};
  if (width <= 0 || height <= 0) return size;
  const std::size_t bitmapBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) / 8;
  for (int p = 0; p < planes; ++p) {
    const std::size_t start = static_cast<std::size_t>(p) * SCREEN_PLANE_STRIDE + (planes == 3 ? 2 : 1);
    DrawBitmap(target, data, start, bitmapBytes, width, height, planes == 3, PlaneColour(p, planes));
  }
  return size;
}

ViewSize DrawPicture(RgbImage& target, std::span<const std::uint8_t> linkHeader, std::span<const std::uint8_t> data,
                     MessageSink& messages) {
  if (linkHeader.size() < link_header::SHEETS + 2) return ViewSize{};
  const int height = ReadU16BE(linkHeader, link_header::ROWS);
  const int width = ReadU16BE(linkHeader, link_header::COLUMNS);
  target.FillRect(0, 0, width, height, COLOUR_BACKGROUND);
  if (ReadU16BE(linkHeader, link_header::SHEETS) > 1) messages.ShowMessage(TextMessage(TEXT_ID_PICTURE_SHEETS));

  const std::size_t bitmapBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) / 8;
  const std::size_t sheetLength = bitmapBytes + PICTURE_SHEET_OVERHEAD;
  const std::size_t colours = ReadU16BE(linkHeader, link_header::COLOURS);
  for (std::size_t s = 0; s < colours; ++s) {
    const std::size_t at = s * sheetLength;
    if (at + picture_sheet::BITMAP >= data.size()) break;
    const Rgb colour = SheetColour(data[at + picture_sheet::COLOUR + 1]);
    DrawBitmap(target, data, at + picture_sheet::BITMAP, bitmapBytes, width, height, true, colour);
  }
  return ViewSize{width, height};
}

ViewSize DrawBackupSummary(RgbImage& target, std::span<const std::uint8_t> linkHeader,
                           std::span<const std::uint8_t> data, const CalculatorFonts& fonts, const TextLookup& texts) {
  target.FillRect(0, 0, BACKUP_VIEW_WIDTH, BACKUP_FILL_HEIGHT, COLOUR_BACKGROUND);
  std::vector<std::string> lines;
  const std::string title = texts.Text(TEXT_ID_BACKUP_TITLE);
  lines.push_back(title);
  lines.push_back(std::string(title.size(), '='));
  const unsigned size = linkHeader.size() >= link_header::COLUMNS + 2 ? ReadU16BE(linkHeader, link_header::COLUMNS) : 0;
  lines.push_back(PaddedTo(texts.Text(TEXT_ID_BACKUP_SIZE).substr(0, BACKUP_LABEL_LENGTH), BACKUP_LABEL_LENGTH) +
                  std::to_string(size >> 10) + "k");

  const auto length = DataLength(linkHeader);
  const auto directory = length ? FindBackupDirectory(data, *length) : std::nullopt;
  if (directory) {
    const auto model =
        linkHeader.size() > link_header::PASSWORD ? TextUntilEnd(linkHeader, link_header::PASSWORD, 5) : "";
    lines.push_back(
        PaddedTo(texts.Text(TEXT_ID_BACKUP_MODEL).substr(0, BACKUP_LABEL_LENGTH), BACKUP_LABEL_LENGTH) + model);
    lines.push_back("");
    const std::string head =
        texts.Text(TEXT_ID_BACKUP_NAME_HEAD) + " " + static_cast<char>(0xA9) + " " + texts.Text(TEXT_ID_BACKUP_SIZE_HEAD);
    lines.push_back(head);
    lines.push_back(std::string(head.size(), '='));
    AppendBackupEntries(lines, data, *directory);
  }

  for (std::size_t i = 0; i < lines.size(); ++i) {
    fonts.DrawLargeText(target, 1, LINE_HEIGHT * static_cast<int>(i), lines[i], COLOUR_BLUE, COLOUR_BACKGROUND);
  }
  return ViewSize{BACKUP_VIEW_WIDTH, LINE_HEIGHT * static_cast<int>(lines.size())};
}

}  // namespace korvane
