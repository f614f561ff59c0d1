// Draws arbitrary bytes as every kind of item view: the first byte chooses the
// view, the next 50 are the header, the rest the data block. No read past the
// input, whatever the header announces.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "exchange/item_views.h"
#include "exchange/matrix_view.h"

namespace {

struct NoMessages : korvane::MessageSink {
  void ShowMessage(const korvane::Message&) override {}
};

struct FixedTexts : korvane::TextLookup {
  std::string Text(int id) const override { return "text " + std::to_string(id); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korvane;
  if (size < 1) return 0;
  const std::span<const std::uint8_t> input(data + 1, size - 1);
  const std::size_t headerLength = input.size() < 50 ? input.size() : 50;
  const auto header = input.first(headerLength);
  const auto block = input.subspan(headerLength);

  static const CalculatorFonts fonts;
  RgbImage image(160, 128, COLOUR_BLACK);
  NoMessages messages;
  switch (data[0] % 5) {
    case 0: {
      MatrixViewState state;
      (void)state.LoadItem(header, block);
      for (std::uint8_t key : block.first(block.size() < 8 ? block.size() : 8))
        state.MoveSelection(static_cast<MatrixKey>(key % 4));
      const ViewSize view = DrawMatrixView(image, state, fonts);
      if (view.width < 0 || view.height < 0) abort();
      break;
    }
    case 1:
      DrawScreenImage(image, 1, header.size() > 3 ? header[3] : 0, header.size() > 4 ? header[4] : 0, block);
      break;
    case 2:
      DrawScreenImage(image, 3, header.size() > 3 ? header[3] : 0, header.size() > 4 ? header[4] : 0, block);
      break;
    case 3:
      DrawPicture(image, header, block, messages);
      break;
    default:
      DrawBackupSummary(image, header, block, fonts, FixedTexts());
      break;
  }
  return 0;
}
