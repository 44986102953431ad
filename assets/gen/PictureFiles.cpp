#include "PictureFiles.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

namespace tavren {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

FilePointer CreateFile(const std::filesystem::path& path) {
    FilePointer file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        throw PictureFileError("cannot create " + path.string());
    }
    return file;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    const FilePointer file = CreateFile(path);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        throw PictureFileError("cannot write " + path.string());
    }
}

void PutLittle16(std::vector<uint8_t>& bytes, uint32_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void PutLittle32(std::vector<uint8_t>& bytes, uint32_t value) {
    PutLittle16(bytes, value & 0xFFFFu);
    PutLittle16(bytes, value >> 16);
}

// The 40-byte information header shared by bitmaps and icon images.
void PutInfoHeader(std::vector<uint8_t>& bytes, int width, int height, int bits,
                   uint32_t imageSize) {
    PutLittle32(bytes, 40);
    PutLittle32(bytes, static_cast<uint32_t>(width));
    PutLittle32(bytes, static_cast<uint32_t>(height));
    PutLittle16(bytes, 1);
    PutLittle16(bytes, static_cast<uint32_t>(bits));
    PutLittle32(bytes, 0); // BI_RGB
    PutLittle32(bytes, imageSize);
    PutLittle32(bytes, 2835); // 72 dots per inch
    PutLittle32(bytes, 2835);
    PutLittle32(bytes, 0);
    PutLittle32(bytes, 0);
}

} // namespace

void WritePictureAsPng(const std::filesystem::path& path, const Picture& picture) {
    const bool grey = IsGrey(picture);
    const std::vector<uint8_t> rgb = ToRgb8(picture);
    std::vector<uint8_t> rows;
    if (grey) {
        for (size_t i = 0; i < rgb.size(); i += 3) {
            rows.push_back(rgb[i]);
        }
    } else {
        rows = rgb;
    }
    const FilePointer file = CreateFile(path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw PictureFileError("PNG: out of memory");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw PictureFileError("PNG: cannot write " + path.string());
    }
    png_init_io(png, file.get());
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width()),
                 static_cast<png_uint_32>(picture.Height()), 8,
                 grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(picture.Width()) * (grey ? 1 : 3);
    for (int y = 0; y < picture.Height(); ++y) {
        png_write_row(png, rows.data() + stride * y);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}

void WritePictureAsBmp(const std::filesystem::path& path, const Picture& picture) {
    const std::vector<uint8_t> rgb = ToRgb8(picture);
    const int width = picture.Width();
    const int height = picture.Height();
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageSize = stride * static_cast<uint32_t>(height);
    std::vector<uint8_t> bytes{'B', 'M'};
    PutLittle32(bytes, 54 + imageSize);
    PutLittle32(bytes, 0);
    PutLittle32(bytes, 54);
    PutInfoHeader(bytes, width, height, 24, imageSize);
    for (int y = height - 1; y >= 0; --y) {
        const size_t row = static_cast<size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            bytes.push_back(rgb[row + x * 3 + 2]);
            bytes.push_back(rgb[row + x * 3 + 1]);
            bytes.push_back(rgb[row + x * 3]);
        }
        bytes.resize(bytes.size() + (stride - static_cast<uint32_t>(width) * 3), 0);
    }
    WriteBytes(path, bytes);
}

void WritePictureAsJpeg(const std::filesystem::path& path, const Picture& picture, int quality) {
    std::vector<uint8_t> rgb = ToRgb8(picture);
    const FilePointer file = CreateFile(path);
    jpeg_compress_struct compress{};
    jpeg_error_mgr errors{};
    compress.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compress);
    jpeg_stdio_dest(&compress, file.get());
    compress.image_width = static_cast<JDIMENSION>(picture.Width());
    compress.image_height = static_cast<JDIMENSION>(picture.Height());
    compress.input_components = 3;
    compress.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compress);
    jpeg_set_quality(&compress, quality, TRUE);
    for (int i = 0; i < compress.num_components; ++i) {
        compress.comp_info[i].h_samp_factor = 1;
        compress.comp_info[i].v_samp_factor = 1;
    }
    compress.optimize_coding = TRUE;
    jpeg_start_compress(&compress, TRUE);
    const size_t stride = static_cast<size_t>(picture.Width()) * 3;
    while (compress.next_scanline < compress.image_height) {
        JSAMPROW row = rgb.data() + stride * compress.next_scanline;
        jpeg_write_scanlines(&compress, &row, 1);
    }
    jpeg_finish_compress(&compress);
    jpeg_destroy_compress(&compress);
}

void WriteIcon(const std::filesystem::path& path, const std::vector<IconImage>& images) {
    std::vector<std::vector<uint8_t>> entries;
    for (const IconImage& image : images) {
        const int size = image.Size;
        const uint32_t maskStride = ((static_cast<uint32_t>(size) + 31) / 32) * 4;
        std::vector<uint8_t> entry;
        PutInfoHeader(entry, size, size * 2, 32,
                      static_cast<uint32_t>(size * size * 4) + maskStride * size);
        for (int y = size - 1; y >= 0; --y) {
            for (int x = 0; x < size; ++x) {
                const uint8_t* p = &image.Rgba[(static_cast<size_t>(y) * size + x) * 4];
                entry.insert(entry.end(), {p[2], p[1], p[0], p[3]});
            }
        }
        for (int y = size - 1; y >= 0; --y) {
            std::vector<uint8_t> row(maskStride, 0);
            for (int x = 0; x < size; ++x) {
                if (image.Rgba[(static_cast<size_t>(y) * size + x) * 4 + 3] == 0) {
                    row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
                }
            }
            entry.insert(entry.end(), row.begin(), row.end());
        }
        entries.push_back(std::move(entry));
    }
    std::vector<uint8_t> bytes;
    PutLittle16(bytes, 0);
    PutLittle16(bytes, 1);
    PutLittle16(bytes, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int size = images[i].Size;
        bytes.push_back(static_cast<uint8_t>(size >= 256 ? 0 : size));
        bytes.push_back(static_cast<uint8_t>(size >= 256 ? 0 : size));
        bytes.push_back(0);
        bytes.push_back(0);
        PutLittle16(bytes, 1);
        PutLittle16(bytes, 32);
        PutLittle32(bytes, static_cast<uint32_t>(entries[i].size()));
        PutLittle32(bytes, offset);
        offset += static_cast<uint32_t>(entries[i].size());
    }
    for (const std::vector<uint8_t>& entry : entries) {
        bytes.insert(bytes.end(), entry.begin(), entry.end());
    }
    WriteBytes(path, bytes);
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw PictureFileError("cannot open " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace tavren
