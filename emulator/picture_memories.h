#pragma once
// The calculator's six picture memories, Pict 1 to Pict 6: 128 x 64 images
// that StoPict fills from the graph screen and RclPict and the background
// picture draw back. They keep their contents from one emulator start to the
// next.

#include <array>
#include <cstdint>
#include <span>

#include "settings/message_sink.h"
#include "text/rgb_image.h"

namespace korvane {

inline constexpr int PICTURE_MEMORY_COUNT = 6;

class PictureMemories {
 public:
  // Six pictures of background only.
  PictureMemories();

  static bool IsPictureNumber(int n) { return n >= 1 && n <= PICTURE_MEMORY_COUNT; }

  // Picture n (1 to 6), or nullptr for any other number.
  const RgbImage* Picture(int n) const;
  // Copies `source` into picture n; false (nothing stored) for a number outside 1 to 6.
  bool Store(int n, const RgbImage& source);

  // A stored picture item goes into the memory named by its slot digit, the
  // last byte of the header's name ("1" to "6"), drawn as the item view draws
  // it (a header announcing several sheets shows message 17). Returns the
  // slot, or 0 when the header is short or names no slot (nothing changes).
  int LoadPictureItem(std::span<const std::uint8_t> linkHeader, std::span<const std::uint8_t> data,
                      MessageSink& messages);

 private:
  std::array<RgbImage, PICTURE_MEMORY_COUNT> pictures_;
};

}  // namespace korvane
