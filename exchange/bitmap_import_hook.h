#pragma once
// What the import needs of the bitmap reader: a Windows bitmap file turned
// into a picture item, with the raster choice asked for or given.

#include <optional>
#include <string_view>
#include <vector>

#include "exchange/exchange_item.h"

namespace korvane {

enum class BitmapRaster { Image, Text };

enum class BitmapImportOutcome {
  Imported,   // `items` holds the picture
  Cancelled,  // the user cancelled the bitmap dialog: the import ends quietly
  Refused,    // not a bitmap that can be read: the import shows message 99
};

// Why a bitmap was refused.
enum class BitmapRefusal {
  NotReadable,  // a kind of bitmap the decoder does not read
  TooLarge,     // beyond the size limits of the decoder
  CutOff,       // shorter than its headers and pixel rows say
};

struct BitmapImportResult {
  BitmapImportOutcome outcome = BitmapImportOutcome::Refused;
  BitmapRefusal refusal = BitmapRefusal::NotReadable;
  std::vector<ExchangeItem> items;
};

class BitmapImporter {
 public:
  virtual ~BitmapImporter() = default;
  // `raster` given (korvane-cli's --raster) is used as it is; without it the
  // importer asks the user. The picture is named `baseName`.
  virtual BitmapImportResult ImportBitmap(ByteSpan file, std::string_view baseName,
                                          std::optional<BitmapRaster> raster) = 0;
};

}  // namespace korvane
