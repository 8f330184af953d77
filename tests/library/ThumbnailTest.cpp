// JPEG decoding of thumbnails: real pictures, scaled decoding, and bytes that are no picture.
#include "Thumbnail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

using namespace kelvara;

namespace {

// A width x height picture, red left half and blue right half.
std::vector<uint8_t> EncodeJpeg(int width, int height) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    for (int x = 0; x < width; ++x) {
        row[static_cast<size_t>(x) * 3 + (x < width / 2 ? 0 : 2)] = 255;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

} // namespace

TEST(Thumbnail, DecodesAndScalesDownToTheShownSize) {
    const std::vector<uint8_t> jpeg = EncodeJpeg(1024, 512);
    struct Case {
        int minWidth, minHeight, width, height;
    };
    for (const Case& c : {Case{0, 0, 128, 64}, Case{256, 128, 256, 128}, Case{1024, 10, 1024, 512}}) {
        const JpegResult result = DecodeJpeg(jpeg, c.minWidth, c.minHeight);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.image.width, c.width);
        EXPECT_EQ(result.image.height, c.height);
        ASSERT_EQ(result.image.pixels.size(), size_t(c.width) * c.height * 3);
        EXPECT_GT(result.image.pixels[0], 200);                       // red on the left
        EXPECT_GT(result.image.pixels[size_t(c.width) * 3 - 1], 200); // blue on the right
    }
}

TEST(Thumbnail, BytesThatAreNoPictureAreRefusedWithAReason) {
    std::vector<uint8_t> cut = EncodeJpeg(256, 256);
    cut.resize(cut.size() / 2);
    // 65535 x 65535 pixels claimed by the frame header: refused before any pixel is decoded.
    std::vector<uint8_t> huge = EncodeJpeg(16, 16);
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
    const JpegResult partial = DecodeJpeg(cut);
    EXPECT_TRUE(partial.ok) << partial.error;
    EXPECT_EQ(partial.image.pixels.size(), 32u * 32 * 3); // at its smallest scale
    EXPECT_FALSE(DecodeJpegFile("/nonexistent/thumbnail.jpg").ok);
}
