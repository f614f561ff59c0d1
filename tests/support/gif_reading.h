#pragma once
// A GIF read back with giflib's decoder, for the tests of the recordings:
// each frame as RGB pixels with its delay.

#include <gif_lib.h>

#include <optional>
#include <string>
#include <vector>

#include "text/rgb_image.h"

namespace korvane::test {

struct GifFrame {
  RgbImage image;
  int delayCs = 0;
};

struct GifMovie {
  int width = 0;
  int height = 0;
  std::vector<GifFrame> frames;
};

inline std::optional<GifMovie> ReadGif(const std::string& path) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (gif == nullptr) return std::nullopt;
  std::optional<GifMovie> movie;
  if (DGifSlurp(gif) == GIF_OK) {
    movie.emplace();
    movie->width = gif->SWidth;
    movie->height = gif->SHeight;
    for (int i = 0; i < gif->ImageCount; ++i) {
      const SavedImage& saved = gif->SavedImages[i];
      const ColorMapObject* map = saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap : gif->SColorMap;
      GifFrame frame{RgbImage(saved.ImageDesc.Width, saved.ImageDesc.Height), 0};
      for (int y = 0; y < saved.ImageDesc.Height; ++y) {
        for (int x = 0; x < saved.ImageDesc.Width; ++x) {
          const int index = saved.RasterBits[y * saved.ImageDesc.Width + x];
          if (map == nullptr || index >= map->ColorCount) continue;
          const GifColorType c = map->Colors[index];
          frame.image.SetPixel(x, y, Rgb{c.Red, c.Green, c.Blue});
        }
      }
      GraphicsControlBlock control{};
      if (DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK) frame.delayCs = control.DelayTime;
      movie->frames.push_back(std::move(frame));
    }
  }
  DGifCloseFile(gif, &error);
  return movie;
}

// The image scaled up by `scale`, pixel for pixel.
inline RgbImage ScaledUp(const RgbImage& image, int scale) {
  RgbImage out(image.Width() * scale, image.Height() * scale);
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) out.SetPixel(x, y, image.PixelOr(x / scale, y / scale, COLOUR_BLACK));
  return out;
}

}  // namespace korvane::test
