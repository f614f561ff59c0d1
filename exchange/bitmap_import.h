#pragma once
// The bitmap branch of the import: the file decoded, fitted into 128 x 64,
// quantised with the raster type the user picks (or the command line gives),
// and built into one picture item.

#include <optional>

#include "exchange/bitmap_decoder.h"
#include "exchange/bitmap_import_hook.h"
#include "exchange/bitmap_quantizer.h"
#include "text/rgb_image.h"

namespace korvane {

RasterType RasterTypeOf(BitmapRaster raster);

// The raster dialog: shows the source image with its quantised form, and
// gives the quantised image chosen, or nullopt when the user cancels.
class RasterChooser {
 public:
  virtual ~RasterChooser() = default;
  virtual std::optional<RgbImage> ChooseRaster(const RgbImage& source) = 0;
};

// The decoded, scaled 128 x 64 source image of a bitmap file; nullopt when the
// file does not decode.
std::optional<RgbImage> LoadBitmapSource(const BitmapDecoder& decoder, ByteSpan file);

class PictureBitmapImporter : public BitmapImporter {
 public:
  // Without a chooser and without a raster given, "Image" is used.
  PictureBitmapImporter(const BitmapDecoder& decoder, RasterChooser* chooser);

  BitmapImportResult ImportBitmap(ByteSpan file, std::string_view baseName,
                                  std::optional<BitmapRaster> raster) override;

 private:
  const BitmapDecoder& decoder_;
  RasterChooser* chooser_;
};

}  // namespace korvane
