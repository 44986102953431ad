#include "../../JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <new>

#include <jpeglib.h>

namespace tavren {

namespace {

// libjpeg ends the process on an error unless its handler leaves by longjmp. Only libjpeg's own
// C frames lie between the setjmp and the longjmp, so no C++ object is skipped.
struct ErrorHandler {
    jpeg_error_mgr Manager;
    std::jmp_buf Return;
};

[[noreturn]] void LeaveDecoding(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorHandler*>(info->err)->Return, 1);
}

// Warnings (a picture cut short, stray bytes between markers) are not the user's business: the
// decoder fills in what is missing and goes on.
void KeepQuiet(j_common_ptr) {}

class Decompressor {
public:
    Decompressor() {
        Info.err = jpeg_std_error(&Errors.Manager);
        Errors.Manager.error_exit = LeaveDecoding;
        Errors.Manager.output_message = KeepQuiet;
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    // Safe whether or not jpeg_create_decompress got to make its memory manager.
    ~Decompressor() { jpeg_destroy_decompress(&Info); }

    // Decodes file into lines; false when libjpeg reports an error or the picture is too large.
    // Everything this function changes after setjmp lives outside its own frame.
    bool Run(std::span<const uint8_t> file, JpegScanLines& lines) {
        if (setjmp(Errors.Return) != 0) {
            return false;
        }
        jpeg_create_decompress(&Info);
        jpeg_mem_src(&Info, file.data(), static_cast<unsigned long>(file.size()));
        jpeg_read_header(&Info, TRUE);
        if (uint64_t{Info.image_width} * Info.image_height > LargestJpegPixelCount) {
            return false;
        }
        Info.out_color_space = JCS_EXT_BGRX;
        jpeg_start_decompress(&Info);
        lines.Width = static_cast<uint16_t>(Info.output_width);
        lines.Height = static_cast<uint16_t>(Info.output_height);
        lines.Bgrx.resize(size_t{Info.output_width} * Info.output_height * 4);
        while (Info.output_scanline < Info.output_height) {
            JSAMPROW row = &lines.Bgrx[size_t{Info.output_scanline} * Info.output_width * 4];
            jpeg_read_scanlines(&Info, &row, 1);
        }
        jpeg_finish_decompress(&Info);
        return true;
    }

private:
    jpeg_decompress_struct Info{};
    ErrorHandler Errors{};
};

} // namespace

std::optional<JpegScanLines> DecodeJpegScanLines(std::span<const uint8_t> file) {
    try {
        Decompressor decompressor;
        JpegScanLines lines;
        if (!decompressor.Run(file, lines)) {
            return std::nullopt;
        }
        return lines;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace tavren
