#include "exchange/item_views.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "exchange/matrix_view.h"
#include "link/calculator_records.h"
#include "storage/byte_order.h"
#include "support/recording_message_sink.h"
#include "support/shipped_fonts.h"
#include "text/digit_font.h"

namespace korvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

using test::ShippedFonts;

Bytes LinkHeader(std::uint16_t rows, std::uint16_t columns) {
  Bytes h(LINK_HEADER_LENGTH, 0xFF);
  h[0] = RECORD_START;
  WriteU16BE(h, link_header::ROWS, rows);
  WriteU16BE(h, link_header::COLUMNS, columns);
  return h;
}

void AppendValue(Bytes& data, std::uint16_t row, std::uint16_t column, double value) {
  const auto record = BuildValueRecord(row, column, value);
  ASSERT_TRUE(record.has_value());
  data.insert(data.end(), record->begin(), record->end());
}

// Every pixel of `region` in `actual` equals `expected`.
void ExpectSameRegion(const RgbImage& actual, const RgbImage& expected, int left, int top, int right, int bottom) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) ASSERT_EQ(actual.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
}

int CountNot(const RgbImage& image, Rgb colour) {
  int n = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (image.Pixel(x, y) != colour) ++n;
  return n;
}

// ---- matrix view ----------------------------------------------------------

TEST(MatrixCellTextTest, SixCharactersWithTheExponentRules) {
  const std::map<double, std::string> cases = {
      {1234567, "1.23e6"},    {0.000015, "1.5e-5"},   {1.5, "1.5"},        {100, "100"},
      {0, "0"},               {-0.0, "0"},            {123456, "123456"},  {1e20, "1e20"},
      {1.23457e-15, "1.e-15"}, {-2.5e-12, "-2e-12"},  {-4.5e6, "-4.5e6"},  {0.000123456, "0.0001"},
      {12345.6, "12345"},     {-98765.4, "-98765"},   {3e-7, "3e-7"},      {9.87654e-3, "0.0098"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(MatrixCellText(value), text) << value;
}

TEST(MatrixCellTextTest, NegativeSixDigitNumbersKeepTheirMagnitude) {
  // Cut to 6 characters, "-123457" would read as -12345.
  EXPECT_EQ(MatrixCellText(-123457), "-1.2e5");
  EXPECT_EQ(MatrixCellText(-999999), "-9.9e5");  // the mantissa is cut, not rounded
}

TEST(MatrixCellTextTest, FullValueUsesTheCalculatorSigns) {
  EXPECT_EQ(MatrixFullValueText(1234567), "1234567");
  EXPECT_EQ(MatrixFullValueText(0.1), "0.1");
  EXPECT_EQ(MatrixFullValueText(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(MatrixFullValueText(0.000015), "1.5\xDF\x87" "5");
  EXPECT_EQ(MatrixFullValueText(-0.000015), "\x87" "1.5\xDF\x87" "5");
  EXPECT_EQ(MatrixFullValueText(-2), "\x87" "2");
  EXPECT_EQ(MatrixFullValueText(1e20), "1\xDF\x89" "20");
  EXPECT_EQ(MatrixFullValueText(1.5e-100), "1.5\xDF\x87" "100");
}

TEST(MatrixViewStateTest, KeysMoveTheSelectionWithinTheMatrix) {
  MatrixViewState state;
  state.Resize(2, 3);
  for (int i = 0; i < 3; ++i) state.MoveSelection(MatrixKey::Right);
  EXPECT_EQ(state.SelectedColumn(), 3);
  state.MoveSelection(MatrixKey::Up);
  EXPECT_EQ(state.SelectedRow(), 1);
  state.MoveSelection(MatrixKey::Down);
  state.MoveSelection(MatrixKey::Down);
  EXPECT_EQ(state.SelectedRow(), 2);
  for (int i = 0; i < 5; ++i) state.MoveSelection(MatrixKey::Left);
  EXPECT_EQ(state.SelectedColumn(), 1);

  // A smaller matrix pulls the selection in; closing the view puts it at (1, 1).
  state.Select(2, 3);
  state.Resize(1, 2);
  EXPECT_EQ(state.SelectedRow(), 1);
  EXPECT_EQ(state.SelectedColumn(), 2);
  state.ResetSelection();
  EXPECT_EQ(state.SelectedColumn(), 1);
}

TEST(MatrixViewStateTest, LoadSkipsRecordsOutsideTheMatrixAndShortRecords) {
  Bytes data;
  AppendValue(data, 1, 1, 7);
  AppendValue(data, 2, 3, 8);
  AppendValue(data, 0, 1, 9);    // row 0: before the grid
  AppendValue(data, 3, 1, 10);   // below the matrix
  AppendValue(data, 1, 501, 11); // beyond the grid's columns
  AppendValue(data, 1, 2, 12);
  data.resize(data.size() - 1);  // the last record is cut short
  MatrixViewState state;
  ASSERT_TRUE(state.LoadItem(LinkHeader(2, 3), data));
  EXPECT_EQ(state.Rows(), 2);
  EXPECT_EQ(state.Columns(), 3);
  EXPECT_EQ(state.Cell(0, 0), 7);
  EXPECT_EQ(state.Cell(1, 2), 8);
  EXPECT_EQ(state.Cell(0, 1), 0);
  EXPECT_EQ(state.Cell(2, 0), 0);

  EXPECT_FALSE(state.LoadItem(Bytes(10, 0), data));
  EXPECT_EQ(state.Rows(), 0);
}

TEST(MatrixViewStateTest, AssignedValuesFillRowByRow) {
  MatrixViewState state;
  const double values[] = {1, 2, 3, 4, 5, 6, 7};
  state.AssignValues(2, 3, values);
  EXPECT_EQ(state.Cell(0, 2), 3);
  EXPECT_EQ(state.Cell(1, 0), 4);
  EXPECT_EQ(state.Cell(1, 2), 6);
  // Fewer values than cells: the rest is 0.
  state.AssignValues(2, 2, std::span<const double>(values, 3));
  EXPECT_EQ(state.Cell(1, 0), 3);
  EXPECT_EQ(state.Cell(1, 1), 0);
}

TEST(MatrixViewStateTest, DimensionsAreCutToTheGrid) {
  MatrixViewState state;
  ASSERT_TRUE(state.LoadItem(LinkHeader(60000, 600), {}));
  EXPECT_EQ(state.Rows(), MATRIX_GRID_ROWS);
  EXPECT_EQ(state.Columns(), MATRIX_GRID_COLUMNS);
  state.SetCell(MATRIX_GRID_ROWS - 1, MATRIX_GRID_COLUMNS - 1, 5);
  EXPECT_EQ(state.Cell(MATRIX_GRID_ROWS - 1, MATRIX_GRID_COLUMNS - 1), 5);
}

TEST(MatrixViewTest, TwoByThreeMatrixShowsCellAndFullValue) {
  Bytes data;
  AppendValue(data, 1, 1, 1234567);
  AppendValue(data, 2, 2, 0.000015);
  MatrixViewState state;
  ASSERT_TRUE(state.LoadItem(LinkHeader(2, 3), data));
  RgbImage view(1024, 1024, COLOUR_BLACK);
  const ViewSize size = DrawMatrixView(view, state, ShippedFonts());
  EXPECT_EQ(size, (ViewSize{28 * 3 + 15, 8 * 2 + 30}));

  RgbImage expected(1024, 1024, COLOUR_BACKGROUND);
  // The selected top-left cell: blue box, text in the background colour.
  expected.FillRect(18, 9, 43, 17, COLOUR_BLUE);
  DrawDigitText(expected, 44, 11, "1.23e6", COLOUR_BACKGROUND);
  DrawDigitText(expected, 28 * 1 + 44, 19, "1.5e-5", COLOUR_BLUE);
  ShippedFonts().DrawLargeText(expected, size.width - 6 * 7, size.height - 20, "1234567", COLOUR_BLUE,
                               COLOUR_BACKGROUND);
  ExpectSameRegion(view, expected, 18, 9, 43, 17);
  ExpectSameRegion(view, expected, 46, 17, 71, 25);
  ExpectSameRegion(view, expected, 0, size.height - 20, size.width, size.height - 12);
  // Beyond the view and the 1024 square nothing is drawn but the background.
  EXPECT_EQ(view.Pixel(1023, 1023), COLOUR_BACKGROUND);
}

TEST(MatrixViewTest, HeadsBracketAndRowNumbersAreGreen) {
  MatrixViewState state;
  state.Resize(1, 2);
  RgbImage view(200, 100, COLOUR_BLACK);
  DrawMatrixView(view, state, ShippedFonts());
  // Column head lines from x = 18 to 42 and 46 to 70 on row 7.
  EXPECT_EQ(view.Pixel(18, 7), COLOUR_GREEN);
  EXPECT_EQ(view.Pixel(42, 7), COLOUR_GREEN);
  EXPECT_EQ(view.Pixel(43, 7), COLOUR_BACKGROUND);
  EXPECT_EQ(view.Pixel(46, 7), COLOUR_GREEN);
  // One row: the bracket starts at y = 12 and ends at 8 + 7 = 15.
  EXPECT_EQ(view.Pixel(17, 11), COLOUR_BACKGROUND);
  EXPECT_EQ(view.Pixel(17, 12), COLOUR_GREEN);
  EXPECT_EQ(view.Pixel(15, 14), COLOUR_GREEN);
  EXPECT_EQ(view.Pixel(17, 15), COLOUR_GREEN);
  EXPECT_EQ(view.Pixel(15, 16), COLOUR_BACKGROUND);
  // Row number "1" ends at x = 12: its middle column is x = 9.
  EXPECT_EQ(view.Pixel(9, 11), COLOUR_GREEN);
}

TEST(MatrixViewTest, ListViewIsWideEnoughForTheFullValue) {
  MatrixViewState list;
  list.Resize(3, 1);
  list.SetCell(0, 0, -1.0 / 3);
  const ViewSize size = MatrixViewSize(list);
  const int text = 6 * static_cast<int>(MatrixFullValueText(-1.0 / 3).size());
  EXPECT_EQ(size.width, text);
  RgbImage view(200, 100, COLOUR_BLACK);
  EXPECT_EQ(DrawMatrixView(view, list, ShippedFonts()), size);
  // The negative sign is the first character, at x = 0.
  RgbImage expected(200, 100, COLOUR_BACKGROUND);
  ShippedFonts().DrawLargeText(expected, 0, size.height - 20, MatrixFullValueText(-1.0 / 3), COLOUR_BLUE,
                               COLOUR_BACKGROUND);
  ExpectSameRegion(view, expected, 0, size.height - 20, size.width, size.height - 13);
}

TEST(MatrixViewTest, DrawsIntoASmallScreenWithoutTrouble) {
  MatrixViewState state;
  state.Resize(MATRIX_GRID_ROWS, MATRIX_GRID_COLUMNS);
  RgbImage screen(128, 64, COLOUR_BLACK);
  EXPECT_EQ(DrawMatrixView(screen, state, ShippedFonts()), (ViewSize{28 * 500 + 15, 8 * 999 + 30}));
  EXPECT_EQ(screen.Pixel(18, 9), COLOUR_BLUE);  // the selected cell
  // Cell (1, 4) ends at x = 28 * 3 + 44 = 128: its "0" in columns 124 to 126.
  EXPECT_EQ(screen.Pixel(124, 11), COLOUR_BLUE);
  EXPECT_EQ(screen.Pixel(126, 11), COLOUR_BLUE);
  EXPECT_EQ(screen.Pixel(127, 11), COLOUR_BACKGROUND);
}

// ---- screen images and pictures ------------------------------------------

TEST(ScreenImageTest, MonochromeBitZeroIsTheTopRightPixel) {
  Bytes data(1026, 0);
  data[1] = 0x01;
  RgbImage view(128, 64, COLOUR_ORANGE);
  EXPECT_EQ(DrawScreenImage(view, 1, 128, 64, data), (ViewSize{128, 64}));
  EXPECT_EQ(view.Pixel(127, 0), COLOUR_BLACK);
  EXPECT_EQ(CountNot(view, COLOUR_BACKGROUND), 1);
}

TEST(ScreenImageTest, ThreePlanesAreDrawnBottomRowFirstInTheirColours) {
  Bytes data(3081, 0);
  data[2] = 0x01;                      // plane 0, byte 0
  data[2 + 1027 + 1] = 0x02;           // plane 1, byte 1: row 1 from the bottom, bit 1
  data[2 + 2 * 1027 + 64] = 0x01;      // plane 2, byte 64: the next group of 8 columns
  RgbImage view(128, 64, COLOUR_BLACK);
  DrawScreenImage(view, 3, 128, 64, data);
  EXPECT_EQ(view.Pixel(127, 63), COLOUR_BLUE);
  EXPECT_EQ(view.Pixel(126, 62), COLOUR_GREEN);
  EXPECT_EQ(view.Pixel(119, 63), COLOUR_ORANGE);
  EXPECT_EQ(CountNot(view, COLOUR_BACKGROUND), 3);
}

TEST(ScreenImageTest, ShortOrOddInputDrawsWhatItHas) {
  RgbImage view(128, 64, COLOUR_BLACK);
  Bytes data(3, 0xFF);  // plane 0 byte 0 only of a three-plane image
  DrawScreenImage(view, 3, 128, 64, data);
  EXPECT_EQ(CountNot(view, COLOUR_BACKGROUND), 8);
  EXPECT_EQ(DrawScreenImage(view, 1, 128, 0, Bytes(100, 0xFF)), (ViewSize{128, 0}));
  DrawScreenImage(view, 1, 128, 64, {});
}

Bytes PictureHeader(std::uint16_t width, std::uint16_t height, std::uint16_t colours, std::uint16_t sheets) {
  Bytes h = LinkHeader(height, width);
  WriteU16BE(h, link_header::COLOURS, colours);
  WriteU16BE(h, link_header::SHEETS, sheets);
  return h;
}

Bytes PictureSheet(std::uint16_t colour, std::uint8_t firstByte) {
  Bytes sheet(1030, 0);
  sheet[0] = RECORD_START;
  WriteU16BE(sheet, picture_sheet::SHEET, 1);
  WriteU16BE(sheet, picture_sheet::COLOUR, colour);
  sheet[picture_sheet::BITMAP] = firstByte;
  return sheet;
}

TEST(PictureViewTest, SheetColoursAndPixelPositions) {
  test::RecordingMessageSink sink;
  RgbImage view(128, 64, COLOUR_BLACK);
  EXPECT_EQ(DrawPicture(view, PictureHeader(128, 64, 1, 1), PictureSheet(1, 0x01), sink), (ViewSize{128, 64}));
  EXPECT_EQ(view.Pixel(127, 63), COLOUR_ORANGE);
  EXPECT_EQ(CountNot(view, COLOUR_BACKGROUND), 1);

  DrawPicture(view, PictureHeader(128, 64, 1, 1), PictureSheet(1, 0x80), sink);
  EXPECT_EQ(view.Pixel(120, 63), COLOUR_ORANGE);
  EXPECT_EQ(view.Pixel(127, 63), COLOUR_BACKGROUND);
  EXPECT_TRUE(sink.messages.empty());

  // Four sheets, one per colour, each on its own pixel; a later sheet paints over.
  Bytes data;
  const std::uint8_t bits[] = {0x01, 0x02, 0x04, 0x01};
  for (std::uint16_t c = 1; c <= 4; ++c) {
    const Bytes sheet = PictureSheet(c, bits[c - 1]);
    data.insert(data.end(), sheet.begin(), sheet.end());
  }
  DrawPicture(view, PictureHeader(128, 64, 4, 1), data, sink);
  EXPECT_EQ(view.Pixel(127, 63), COLOUR_PICTURE4);
  EXPECT_EQ(view.Pixel(126, 63), COLOUR_BLUE);
  EXPECT_EQ(view.Pixel(125, 63), COLOUR_GREEN);
}

TEST(PictureViewTest, UnknownColourNumberIsBlack) {
  test::RecordingMessageSink sink;
  RgbImage view(128, 64, COLOUR_ORANGE);
  DrawPicture(view, PictureHeader(128, 64, 1, 1), PictureSheet(7, 0x01), sink);
  EXPECT_EQ(view.Pixel(127, 63), COLOUR_BLACK);
  // Only the low byte of the colour number counts.
  DrawPicture(view, PictureHeader(128, 64, 1, 1), PictureSheet(0x0102, 0x01), sink);
  EXPECT_EQ(view.Pixel(127, 63), COLOUR_BLUE);
}

TEST(PictureViewTest, MoreThanOneSheetIsReportedAndStillDrawn) {
  test::RecordingMessageSink sink;
  RgbImage view(128, 64, COLOUR_BLACK);
  DrawPicture(view, PictureHeader(128, 64, 1, 2), PictureSheet(3, 0x01), sink);
  EXPECT_EQ(sink.TextIds(), std::vector<int>{17});
  EXPECT_EQ(sink.messages[0].captionId, 2);
  EXPECT_EQ(sink.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(view.Pixel(127, 63), COLOUR_GREEN);
}

TEST(PictureViewTest, ShortBlocksAndOddSizesAreSafe) {
  test::RecordingMessageSink sink;
  RgbImage view(128, 64, COLOUR_BLACK);
  // The header says 3 sheets, the block holds one and the start of a second.
  Bytes data = PictureSheet(1, 0x01);
  Bytes second = PictureSheet(2, 0xFF);
  data.insert(data.end(), second.begin(), second.begin() + 6);
  DrawPicture(view, PictureHeader(128, 64, 3, 1), data, sink);
  EXPECT_EQ(view.Pixel(127, 63), COLOUR_BLUE);
  EXPECT_EQ(view.Pixel(120, 63), COLOUR_BLUE);
  EXPECT_EQ(view.Pixel(127, 62), COLOUR_BACKGROUND);

  EXPECT_EQ(DrawPicture(view, PictureHeader(0, 0, 1, 1), data, sink), (ViewSize{0, 0}));
  EXPECT_EQ(DrawPicture(view, PictureHeader(65535, 65535, 65535, 1), data, sink), (ViewSize{65535, 65535}));
  EXPECT_EQ(DrawPicture(view, Bytes(20, 0), data, sink), (ViewSize{0, 0}));
}

// ---- memory backup --------------------------------------------------------

class FixedTexts : public TextLookup {
 public:
  std::string Text(int id) const override {
    switch (id) {
      case 12: return "MEMORY BACKUP";
      case 13: return "Size of it";
      case 14: return "Model:";
      case 15: return "Name";
      case 16: return "Size";
      default: return "<unknown string>";
    }
  }
};

// The image DrawBackupSummary should give for these lines.
RgbImage BackupImage(const std::vector<std::string>& lines) {
  RgbImage image(150, 500, COLOUR_BACKGROUND);
  for (std::size_t i = 0; i < lines.size(); ++i)
    ShippedFonts().DrawLargeText(image, 1, 8 * static_cast<int>(i), lines[i], COLOUR_BLUE, COLOUR_BACKGROUND);
  return image;
}

TEST(BackupSummaryTest, WithoutItsLengthCopyShowsThreeLines) {
  Bytes header = LinkHeader(0, 3000);
  Bytes data(3000, 0x41);
  RgbImage view(150, 500, COLOUR_BLACK);
  const ViewSize size = DrawBackupSummary(view, header, data, ShippedFonts(), FixedTexts());
  EXPECT_EQ(size, (ViewSize{150, 24}));
  EXPECT_EQ(view, BackupImage({"MEMORY BACKUP", "=============", "Size of2k"}));
}

TEST(BackupSummaryTest, DirectoryEntriesBecomeLines) {
  const std::uint16_t length = 200;
  Bytes header = LinkHeader(0, length);
  const char model[] = "CFX9850";
  std::copy(model, model + 7, header.begin() + link_header::PASSWORD);
  Bytes data(length, 0xFF);
  const std::size_t entry = 40;
  // First entry: "ALPHA", a 16-byte entry, holding the copy of length - 4 at +13.
  const std::string first = "ALPHA";
  std::copy(first.begin(), first.end(), data.begin() + entry);
  data[entry + 13] = (length - 4) & 0xFF;
  data[entry + 14] = (length - 4) >> 8;
  data[entry + 15] = 0x00;
  // Second: a 32-byte entry with its size text after the 0x10.
  const std::string second = "PROGRAM-NAME-LONG";
  std::copy(second.begin(), second.end(), data.begin() + entry + 16);
  data[entry + 16 + 15] = 0x10;
  const std::string sizeText = "1234";
  std::copy(sizeText.begin(), sizeText.end(), data.begin() + entry + 32);
  // Then the end of the directory.
  data[entry + 48] = 0;

  RgbImage view(150, 500, COLOUR_BLACK);
  const ViewSize size = DrawBackupSummary(view, header, data, ShippedFonts(), FixedTexts());
  const std::string head = std::string("Name ") + char(0xA9) + " Size";
  const std::vector<std::string> lines = {
      "MEMORY BACKUP", "=============", "Size of0k", "Model: CFX98", "", head, std::string(head.size(), '='),
      "ALPHA", "PROGRAM-NAME1234"};
  EXPECT_EQ(size, (ViewSize{150, 8 * static_cast<int>(lines.size())}));
  EXPECT_EQ(view, BackupImage(lines));
}

TEST(BackupSummaryTest, ACopyTooEarlyForAnEntryIsNotTheDirectory) {
  Bytes header = LinkHeader(0, 100);
  Bytes data(100, 0x41);
  data[2] = 96;  // 100 - 4, low byte first, but only 2 bytes into the block
  data[3] = 0;
  RgbImage view(150, 500, COLOUR_BLACK);
  EXPECT_EQ(DrawBackupSummary(view, header, data, ShippedFonts(), FixedTexts()).height, 24);
  // A short header shows the size as 0 and no directory.
  EXPECT_EQ(DrawBackupSummary(view, Bytes(5, 0), data, ShippedFonts(), FixedTexts()).height, 24);
}

TEST(BackupSummaryTest, EntriesRunningOffTheBlockStopThere) {
  Bytes header = LinkHeader(0, 40);
  Bytes data(40, 0x42);  // no end marks, no terminating entry
  data[13] = 36;
  data[14] = 0;
  RgbImage view(150, 500, COLOUR_BLACK);
  // Entries at 0, 16 and 32: three lines after the seven of the head.
  EXPECT_EQ(DrawBackupSummary(view, header, data, ShippedFonts(), FixedTexts()).height, 8 * 10);
}

}  // namespace
}  // namespace korvane
