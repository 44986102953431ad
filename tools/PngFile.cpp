#include "PngFile.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <string>

namespace tavren {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

void WritePng(const std::filesystem::path& path, int32_t width, int32_t height,
              const std::vector<uint8_t>& rgba) {
    if (width <= 0 || height <= 0 ||
        rgba.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4) {
        throw PngError("PNG: the picture size does not match its pixels");
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        throw PngError("PNG: cannot create " + path.string());
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        throw PngError("PNG: out of memory");
    }
    std::vector<png_const_bytep> rows(static_cast<size_t>(height));
    for (size_t row = 0; row < rows.size(); ++row) {
        rows[row] = rgba.data() + row * static_cast<size_t>(width) * 4;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw PngError("PNG: writing " + path.string() + " failed");
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_rows(png, const_cast<png_bytepp>(rows.data()), static_cast<png_uint_32>(height));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(file.get()) != 0 || std::ferror(file.get())) {
        throw PngError("PNG: writing " + path.string() + " failed");
    }
}

RgbaPicture ReadPng(const std::filesystem::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        throw PngError("PNG: cannot read " + path.string() + ": " + image.message);
    }
    image.format = PNG_FORMAT_RGBA;
    RgbaPicture picture;
    picture.Width = static_cast<int32_t>(image.width);
    picture.Height = static_cast<int32_t>(image.height);
    picture.Pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.Pixels.data(), 0, nullptr)) {
        const std::string message = image.message;
        png_image_free(&image);
        throw PngError("PNG: cannot read " + path.string() + ": " + message);
    }
    return picture;
}

} // namespace tavren
