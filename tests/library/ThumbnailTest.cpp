// JPEG decoding of thumbnails: a real picture at several scales, and bytes that are no picture.
#include "Thumbnail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

using namespace kelvara;

namespace {

// A 256 x 128 thumbnail of the sample generator.
std::vector<uint8_t> SampleJpeg() {
    std::ifstream in(KELVARA_SOURCE_DIR "/tests/fuzz/corpus/jpeg/thumbnail.jpg", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(Thumbnail, DecodesAtTheSmallestScaleThatCoversTheShownSize) {
    const std::vector<uint8_t> jpeg = SampleJpeg();
    ASSERT_FALSE(jpeg.empty());
    // the smallest width and height asked for, the decoded ones
    for (const auto& [minWidth, minHeight, width, height] :
         {std::array{0, 0, 32, 16}, {100, 50, 128, 64}, {256, 128, 256, 128}, {1000, 1000, 256, 128}}) {
        const JpegResult result = DecodeJpeg(jpeg, minWidth, minHeight);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(std::tuple(result.image.width, result.image.height, result.image.pixels.size()),
                  std::tuple(width, height, size_t(width) * height * 3));
    }
}

TEST(Thumbnail, BytesThatAreNoPictureAreRefusedWithAReason) {
    // 65535 x 65535 pixels claimed by the frame header: refused before any pixel is decoded.
    std::vector<uint8_t> huge = SampleJpeg();
    for (size_t i = 0; i + 8 < huge.size(); ++i) {
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            std::fill(huge.begin() + long(i) + 5, huge.begin() + long(i) + 9, 0xFF);
            break;
        }
    }
    const std::vector<std::vector<uint8_t>> refused = {
        {}, {'P', 'N', 'G', 0}, {0xFF, 0xD8, 0xFF, 0xD9}, {0xFF, 0xD8, 0xFF, 0xC0, 0, 0}, huge,
    };
    for (const std::vector<uint8_t>& bytes : refused) {
        const JpegResult result = DecodeJpeg(bytes);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.empty());
        EXPECT_TRUE(result.image.pixels.empty());
    }
    // A picture cut short shows what decodes; it never reads past its bytes.
    std::vector<uint8_t> cut = SampleJpeg();
    cut.resize(cut.size() / 2);
    const JpegResult partial = DecodeJpeg(cut, 256, 128);
    EXPECT_TRUE(partial.ok) << partial.error;
    EXPECT_EQ(partial.image.pixels.size(), 256u * 128 * 3);
    EXPECT_FALSE(DecodeJpegFile("/nonexistent/thumbnail.jpg").ok);
}
