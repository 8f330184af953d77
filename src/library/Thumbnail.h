// The thumbnail of a variation: where it lies, and its JPEG picture decoded into plain pixels.
#pragma once

#include "AircraftLibrary.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvara {

// folder/ui_thumbnailfile when set, else folder/texture.<texture>/thumbnail.jpg, resolved
// without regard to letter case ("texture." with an empty texture is the folder "texture").
[[nodiscard]] std::string ThumbnailPath(const std::string& folder, const Variation& variation);

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // rows of width * 3 bytes, red, green, blue
};

// What kept a picture from showing whole; the user is told one plain sentence per kind.
enum class JpegFault { None, NotJpeg, TooLarge, Damaged, Unreadable };

struct JpegResult {
    bool ok = false; // image holds pixels to show; a damaged picture may show what decoded
    JpegFault fault = JpegFault::None;
    RgbImage image;
    std::string error; // the details
};

// Pictures beyond these are refused rather than decoded.
inline constexpr size_t kMaxJpegFileBytes = size_t{32} << 20;
inline constexpr uint64_t kMaxJpegPixels = uint64_t{64} << 20;

// Decodes a JPEG picture, CMYK and YCCK ones too. minWidth/minHeight: the size it is shown at;
// larger pictures are decoded at the smallest scale (1/2, 1/4, 1/8) that still covers it.
[[nodiscard]] JpegResult DecodeJpeg(std::span<const uint8_t> bytes, int minWidth = 0,
                                    int minHeight = 0);
[[nodiscard]] JpegResult DecodeJpegFile(const std::string& path, int minWidth = 0,
                                        int minHeight = 0);

} // namespace kelvara
