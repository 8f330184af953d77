#include "Thumbnail.h"

#include "FileBytes.h"
#include "FolderNames.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace kelvara {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool warned;
};

// libjpeg reports a fatal error by calling this; it must not return.
void OnFatalError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings (data cut short or corrupt) would go to stderr; the picture is shown as far as it
// decodes, and called damaged.
void OnMessage(j_common_ptr info, int level) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && !manager->warned) {
        manager->warned = true;
        (*info->err->format_message)(info, manager->message);
    }
}

JpegFault FaultOf(int code) {
    switch (code) {
    case JERR_NO_SOI:
        return JpegFault::NotJpeg;
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
        return JpegFault::TooLarge;
    default:
        return JpegFault::Damaged;
    }
}

// Photoshop writes CMYK inverted (marked by its Adobe segment); others write ink amounts.
void CmykToRgb(const uint8_t* cmyk, uint8_t* rgb, size_t pixels, bool inverted) {
    for (size_t i = 0; i < pixels; ++i, cmyk += 4, rgb += 3) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int channel = 0; channel < 3; ++channel) {
            const unsigned ink = inverted ? cmyk[channel] : 255u - cmyk[channel];
            rgb[channel] = static_cast<uint8_t>((ink * k + 127) / 255);
        }
    }
}

// Everything the decoder changes lives here, reached through a reference, so that it is
// well defined after the error handler's jump back.
struct DecodeContext {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    std::span<const uint8_t> bytes;
    int minWidth = 0;
    int minHeight = 0;
    std::vector<uint8_t> inks; // one CMYK row
    JpegResult result;
};

bool RunDecode(DecodeContext& c) {
    if (setjmp(c.errors.jump) != 0) {
        c.result.fault = FaultOf(c.errors.base.msg_code);
        c.result.error = c.errors.message;
        return false;
    }
    jpeg_create_decompress(&c.info);
    jpeg_mem_src(&c.info, c.bytes.data(), static_cast<unsigned long>(c.bytes.size()));
    jpeg_read_header(&c.info, TRUE);
    const uint64_t pixels = uint64_t{c.info.image_width} * c.info.image_height;
    if (pixels == 0 || pixels > kMaxJpegPixels) {
        c.result.fault = pixels == 0 ? JpegFault::Damaged : JpegFault::TooLarge;
        c.result.error = std::to_string(c.info.image_width) + " x " +
                         std::to_string(c.info.image_height) + " pixels";
        return false;
    }
    unsigned denominator = 1;
    while (denominator < 8 &&
           c.info.image_width / (denominator * 2) >= static_cast<unsigned>(c.minWidth) &&
           c.info.image_height / (denominator * 2) >= static_cast<unsigned>(c.minHeight)) {
        denominator *= 2;
    }
    c.info.scale_num = 1;
    c.info.scale_denom = denominator;
    // The library turns YCCK into CMYK but neither into RGB: that last step is done here.
    const bool cmyk = c.info.jpeg_color_space == JCS_CMYK || c.info.jpeg_color_space == JCS_YCCK;
    c.info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&c.info);
    const int components = cmyk ? 4 : 3;
    if (c.info.output_components != components) {
        c.result.fault = JpegFault::Damaged;
        c.result.error = "unsupported colour layout";
        return false;
    }
    RgbImage& image = c.result.image;
    image.width = static_cast<int>(c.info.output_width);
    image.height = static_cast<int>(c.info.output_height);
    const size_t stride = size_t{c.info.output_width} * 3;
    image.pixels.assign(stride * c.info.output_height, 0);
    c.inks.resize(cmyk ? size_t{c.info.output_width} * 4 : 0);
    while (c.info.output_scanline < c.info.output_height) {
        uint8_t* out = image.pixels.data() + stride * c.info.output_scanline;
        JSAMPROW row = cmyk ? c.inks.data() : out;
        if (jpeg_read_scanlines(&c.info, &row, 1) != 1) {
            break; // data ended early: the rest stays black
        }
        if (cmyk) {
            CmykToRgb(c.inks.data(), out, c.info.output_width, c.info.saw_Adobe_marker != 0);
        }
    }
    jpeg_finish_decompress(&c.info);
    return true;
}

} // namespace

std::string ThumbnailPath(const std::string& folder, const Variation& variation) {
    const std::string raw =
        variation.thumbnailFile.empty()
            ? JoinFolder(JoinFolder(folder, "texture." + FromConfigPath(variation.texture)),
                         "thumbnail.jpg")
            : JoinFolder(folder, FromConfigPath(variation.thumbnailFile));
    return ResolveNoCase(raw);
}

JpegResult DecodeJpeg(std::span<const uint8_t> bytes, int minWidth, int minHeight) {
    if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) {
        JpegResult refused;
        refused.fault = JpegFault::NotJpeg;
        refused.error = "no JPEG start marker";
        return refused;
    }
    auto context = std::make_unique<DecodeContext>();
    DecodeContext& c = *context;
    c.bytes = bytes;
    c.minWidth = minWidth;
    c.minHeight = minHeight;
    c.info.err = jpeg_std_error(&c.errors.base);
    c.errors.base.error_exit = OnFatalError;
    c.errors.base.emit_message = OnMessage;
    c.result.ok = RunDecode(c);
    jpeg_destroy_decompress(&c.info);
    if (!c.result.ok) {
        c.result.image = {};
    } else if (c.errors.warned) {
        c.result.fault = JpegFault::Damaged;
        c.result.error = c.errors.message;
    }
    return std::move(c.result);
}

JpegResult DecodeJpegFile(const std::string& path, int minWidth, int minHeight) {
    const FileReadResult file = ReadRegularFile(path, kMaxJpegFileBytes);
    if (file.status != FileReadStatus::Ok) {
        JpegResult refused;
        refused.fault = file.status == FileReadStatus::TooLarge ? JpegFault::TooLarge : JpegFault::Unreadable;
        refused.error = file.message;
        return refused;
    }
    return DecodeJpeg({reinterpret_cast<const uint8_t*>(file.bytes.data()), file.bytes.size()},
                      minWidth, minHeight);
}

} // namespace kelvara
