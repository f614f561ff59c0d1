#include "exchange/bitmap_import.h"

#include "exchange/bitmap_picture.h"
#include "exchange/bitmap_scaling.h"

namespace korvane {

RasterType RasterTypeOf(BitmapRaster raster) {
  return raster == BitmapRaster::Text ? RASTER_SHARP_TEXT : RASTER_IMAGE;
}

std::optional<RgbImage> LoadBitmapSource(const BitmapDecoder& decoder, ByteSpan file) {
  const std::optional<DecodedBitmap> bitmap = decoder.Decode(file);
  if (!bitmap) return std::nullopt;
  return ScaleBitmapToPicture(*bitmap);
}

PictureBitmapImporter::PictureBitmapImporter(const BitmapDecoder& decoder, RasterChooser* chooser)
    : decoder_(decoder), chooser_(chooser) {}

BitmapImportResult PictureBitmapImporter::ImportBitmap(ByteSpan file, std::string_view baseName,
                                                       std::optional<BitmapRaster> raster) {
  BitmapImportResult result;
  const std::optional<RgbImage> source = LoadBitmapSource(decoder_, file);
  if (!source) {
    result.refusal = DiagnoseBitmap(file);
    return result;  // Refused
  }
  std::optional<RgbImage> quantised;
  if (raster || chooser_ == nullptr)
    quantised = QuantizeBitmap(*source, RasterTypeOf(raster.value_or(BitmapRaster::Image)));
  else
    quantised = chooser_->ChooseRaster(*source);
  if (!quantised) {
    result.outcome = BitmapImportOutcome::Cancelled;
    return result;
  }
  result.outcome = BitmapImportOutcome::Imported;
  result.items.push_back(BitmapToPicture(*quantised, baseName));
  return result;
}

}  // namespace korvane
