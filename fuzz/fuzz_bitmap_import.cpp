// Any bytes after "BM" through the bitmap import, as the import flow hands a
// file to it: decoded, scaled, quantised both ways and built into a picture,
// or refused. No crash, no read past the input, and an imported picture always
// has its fixed layout.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "exchange/bitmap_import.h"
#include "exchange/bitmap_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korvane;
  std::vector<std::uint8_t> file{'B', 'M'};
  file.insert(file.end(), data, data + size);
  const LibraryBitmapDecoder decoder;
  PictureBitmapImporter importer(decoder, nullptr);
  for (BitmapRaster raster : {BitmapRaster::Image, BitmapRaster::Text}) {
    const BitmapImportResult result = importer.ImportBitmap(file, "FUZZ", raster);
    if (result.outcome == BitmapImportOutcome::Cancelled) abort();
    if (result.outcome == BitmapImportOutcome::Refused) {
      if (!result.items.empty()) abort();
      break;
    }
    if (result.items.size() != 1) abort();
    const ExchangeItem& picture = result.items[0];
    if (picture.info.size() != LINK_HEADER_LENGTH || picture.data.size() != PICTURE_SHEET_COUNT * PICTURE_SHEET_LENGTH)
      abort();
  }
  return 0;
}
