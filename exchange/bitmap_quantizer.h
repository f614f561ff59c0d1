#pragma once
// Turning the 128 x 64 source image into the four colours a picture can show.

#include "text/rgb_image.h"

namespace korvane {

// The raster types of the import dialog, with the calculator program's numbers.
enum RasterType { RASTER_SHARP_TEXT = 0, RASTER_IMAGE = 1 };

// RASTER_SHARP_TEXT: every pixel gets the nearest of background, green, blue and
// orange. RASTER_IMAGE: the colour error is carried along the rows (and on into the
// next row) and dropped at about one pixel in five, chosen by a generator
// seeded with 0, so the same source always gives the same picture. Pixels
// outside a smaller `source` count as white.
RgbImage QuantizeBitmap(const RgbImage& source, RasterType mode);

// The raster type a user would pick for `source`: "Sharp | Text" for a picture
// of at most two colours (text, line drawings), whose dithering would only add
// noise; "Image" for everything else.
RasterType SuggestedRaster(const RgbImage& source);

}  // namespace korvane
