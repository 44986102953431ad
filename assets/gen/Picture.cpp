#include "Picture.h"

#include <cmath>

namespace tavren {

namespace {

int Wrap(int value, int size) {
    const int r = value % size;
    return r < 0 ? r + size : r;
}

uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f));
}

} // namespace

Colour Picture::Sample(float x, float y) const {
    const float fx = std::clamp(x - 0.5f, 0.0f, static_cast<float>(width - 1));
    const float fy = std::clamp(y - 0.5f, 0.0f, static_cast<float>(height - 1));
    const int x0 = static_cast<int>(fx);
    const int y0 = static_cast<int>(fy);
    const int x1 = std::min(x0 + 1, width - 1);
    const int y1 = std::min(y0 + 1, height - 1);
    const float tx = fx - x0;
    const float ty = fy - y0;
    return Mix(Mix(At(x0, y0), At(x1, y0), tx), Mix(At(x0, y1), At(x1, y1), tx), ty);
}

Colour Picture::SampleWrapped(float x, float y) const {
    const float fx = x - 0.5f;
    const float fy = y - 0.5f;
    const int ix = static_cast<int>(std::floor(fx));
    const int iy = static_cast<int>(std::floor(fy));
    const float tx = fx - ix;
    const float ty = fy - iy;
    const int x0 = Wrap(ix, width);
    const int y0 = Wrap(iy, height);
    const int x1 = Wrap(ix + 1, width);
    const int y1 = Wrap(iy + 1, height);
    return Mix(Mix(At(x0, y0), At(x1, y0), tx), Mix(At(x0, y1), At(x1, y1), tx), ty);
}

void Picture::Blend(int x, int y, Colour colour, float coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0.0f) {
        return;
    }
    Colour& pixel = At(x, y);
    pixel = Mix(pixel, colour, std::min(coverage, 1.0f));
}

Picture Downsample(const Picture& source, int factor) {
    Picture result(source.Width() / factor, source.Height() / factor);
    const float weight = 1.0f / static_cast<float>(factor * factor);
    for (int y = 0; y < result.Height(); ++y) {
        for (int x = 0; x < result.Width(); ++x) {
            Colour sum;
            for (int sy = 0; sy < factor; ++sy) {
                for (int sx = 0; sx < factor; ++sx) {
                    sum = sum + source.At(x * factor + sx, y * factor + sy);
                }
            }
            result.At(x, y) = sum * weight;
        }
    }
    return result;
}

Picture Shrink(const Picture& source, int width, int height) {
    Picture result(width, height);
    const double scaleX = static_cast<double>(source.Width()) / width;
    const double scaleY = static_cast<double>(source.Height()) / height;
    for (int y = 0; y < height; ++y) {
        const double top = y * scaleY;
        const double bottom = (y + 1) * scaleY;
        for (int x = 0; x < width; ++x) {
            const double left = x * scaleX;
            const double right = (x + 1) * scaleX;
            Colour sum;
            double total = 0.0;
            for (int sy = static_cast<int>(top); sy < bottom && sy < source.Height(); ++sy) {
                const double wy = std::min<double>(sy + 1, bottom) - std::max<double>(sy, top);
                for (int sx = static_cast<int>(left); sx < right && sx < source.Width(); ++sx) {
                    const double wx = std::min<double>(sx + 1, right) - std::max<double>(sx, left);
                    const float w = static_cast<float>(wx * wy);
                    sum = sum + source.At(sx, sy) * w;
                    total += w;
                }
            }
            result.At(x, y) = sum * static_cast<float>(1.0 / total);
        }
    }
    return result;
}

Picture Crop(const Picture& source, int left, int top, int width, int height) {
    Picture result(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            result.At(x, y) = source.At(std::clamp(left + x, 0, source.Width() - 1),
                                        std::clamp(top + y, 0, source.Height() - 1));
        }
    }
    return result;
}

void Paste(Picture& target, const Picture& source, int left, int top) {
    for (int y = 0; y < source.Height(); ++y) {
        for (int x = 0; x < source.Width(); ++x) {
            target.Blend(left + x, top + y, source.At(x, y), 1.0f);
        }
    }
}

std::vector<uint8_t> ToRgb8(const Picture& picture) {
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(picture.Width()) * picture.Height() * 3);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const Colour& c = picture.At(x, y);
            bytes.push_back(ToByte(c.R));
            bytes.push_back(ToByte(c.G));
            bytes.push_back(ToByte(c.B));
        }
    }
    return bytes;
}

bool IsGrey(const Picture& picture) {
    const std::vector<uint8_t> bytes = ToRgb8(picture);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        if (bytes[i] != bytes[i + 1] || bytes[i] != bytes[i + 2]) {
            return false;
        }
    }
    return true;
}

} // namespace tavren
