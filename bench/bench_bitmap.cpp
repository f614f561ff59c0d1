// The bitmap import at the size of a photograph: a 4000 x 4000 24-bit bitmap
// decoded, scaled into 128 x 64, quantised and built into a picture item.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "exchange/bitmap_import.h"
#include "exchange/bitmap_picture.h"
#include "storage/byte_order.h"

namespace {

using namespace korvane;

// A bottom-up 24-bit bitmap with a colour gradient, so no row is like another.
std::vector<std::uint8_t> GradientBitmap(int width, int height) {
  const std::size_t row = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  std::vector<std::uint8_t> f(54 + row * static_cast<std::size_t>(height), 0);
  f[0] = 'B';
  f[1] = 'M';
  WriteU32LE(f, 2, static_cast<std::uint32_t>(f.size()));
  WriteU32LE(f, 10, 54);
  WriteU32LE(f, 14, 40);
  WriteU32LE(f, 18, static_cast<std::uint32_t>(width));
  WriteU32LE(f, 22, static_cast<std::uint32_t>(height));
  WriteU16LE(f, 26, 1);
  WriteU16LE(f, 28, 24);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* out = f.data() + 54 + row * static_cast<std::size_t>(y);
    for (int x = 0; x < width; ++x) {
      out[x * 3] = static_cast<std::uint8_t>(x * 255 / width);
      out[x * 3 + 1] = static_cast<std::uint8_t>(y * 255 / height);
      out[x * 3 + 2] = static_cast<std::uint8_t>((x + y) & 0xFF);
    }
  }
  return f;
}

void BM_ImportBitmap4000(benchmark::State& state) {
  const std::vector<std::uint8_t> file = GradientBitmap(4000, 4000);
  const LibraryBitmapDecoder decoder;
  PictureBitmapImporter importer(decoder, nullptr);
  for (auto _ : state) {
    BitmapImportResult result = importer.ImportBitmap(file, "PHOTO", BitmapRaster::Image);
    if (result.outcome != BitmapImportOutcome::Imported) state.SkipWithError("not imported");
    benchmark::DoNotOptimize(result.items);
  }
}
BENCHMARK(BM_ImportBitmap4000)->Unit(benchmark::kMillisecond);

void BM_QuantizeAndBuild(benchmark::State& state) {
  RgbImage source(128, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x)
      source.SetPixel(x, y, Rgb{static_cast<std::uint8_t>(x * 2), static_cast<std::uint8_t>(y * 4), 128});
  for (auto _ : state) {
    ExchangeItem picture = BitmapToPicture(QuantizeBitmap(source, RASTER_IMAGE), "P");
    benchmark::DoNotOptimize(picture.data);
  }
}
BENCHMARK(BM_QuantizeAndBuild)->Unit(benchmark::kMicrosecond);

}  // namespace
