#pragma once
// "Select options to import bitmap": the raster type ("Image" or "Sharp |
// Text") with the bitmap's 128 x 64 source image and its quantised form shown
// one above the other, redrawn whenever the choice changes.

#include <QDialog>

#include "exchange/bitmap_decoder.h"
#include "exchange/bitmap_import.h"
#include "settings/text_lookup.h"
#include "text/rgb_image.h"

class QLabel;
class QRadioButton;

namespace korvane {

class RasterDialog : public QDialog {
  Q_OBJECT
 public:
  // Opens with "Image" checked and the source quantised that way.
  RasterDialog(QWidget* owner, const TextLookup& texts, const RgbImage& source);

  RasterType Raster() const { return raster_; }
  // The source quantised with the checked raster type.
  const RgbImage& Quantised() const { return quantised_; }

 private:
  void QuantizeAndShow(RasterType raster);

  RgbImage source_;
  RgbImage quantised_;
  RasterType raster_ = RASTER_IMAGE;
  QLabel* sourceView_;
  QLabel* quantisedView_;
  QRadioButton* image_;
  QRadioButton* sharpText_;
};

// The raster choice asked with the dialog, modal over `owner`.
class DialogRasterChooser : public RasterChooser {
 public:
  DialogRasterChooser(QWidget* owner, const TextLookup& texts) : owner_(owner), texts_(texts) {}
  std::optional<RgbImage> ChooseRaster(const RgbImage& source) override;

 private:
  QWidget* owner_;
  const TextLookup& texts_;
};

// The window's bitmap import: the library decoder and the raster dialog, for
// the import's `bitmaps`.
class DialogBitmapImporter : public BitmapImporter {
 public:
  DialogBitmapImporter(QWidget* owner, const TextLookup& texts)
      : chooser_(owner, texts), importer_(decoder_, &chooser_) {}
  BitmapImportResult ImportBitmap(ByteSpan file, std::string_view baseName,
                                  std::optional<BitmapRaster> raster) override {
    return importer_.ImportBitmap(file, baseName, raster);
  }

 private:
  LibraryBitmapDecoder decoder_;
  DialogRasterChooser chooser_;
  PictureBitmapImporter importer_;
};

}  // namespace korvane
