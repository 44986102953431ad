#include "ModelFileReader.h"

#include "tools/PngFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace tavren {
namespace {

constexpr int Size = 128;

std::vector<float> Frame(int index) {
    char name[40];
    std::snprintf(name, sizeof name, "pictures/Tavren1%02d.png", index);
    const RgbaPicture picture = ReadPng(AssetPath(name));
    EXPECT_EQ(picture.Width, Size);
    EXPECT_EQ(picture.Height, Size);
    std::vector<float> grey;
    for (size_t i = 0; i < picture.Pixels.size(); i += 4) {
        grey.push_back(picture.Pixels[i]);
    }
    return grey;
}

float MeanDifference(const std::vector<float>& a, const std::vector<float>& b) {
    float sum = 0.0f;
    for (size_t i = 0; i < a.size(); ++i) {
        sum += std::fabs(a[i] - b[i]);
    }
    return sum / a.size();
}

// Mean difference between column (or row) i and the next, the last wrapping to the first: a
// seam would make the wrapping step stand out above every step inside the picture.
float EdgeStep(const std::vector<float>& frame, int i, bool columns) {
    float sum = 0.0f;
    for (int k = 0; k < Size; ++k) {
        const int j = (i + 1) % Size;
        sum += columns ? std::fabs(frame[k * Size + i] - frame[k * Size + j])
                       : std::fabs(frame[i * Size + k] - frame[j * Size + k]);
    }
    return sum / Size;
}

TEST(Caustics, EveryFrameTilesAtItsEdges) {
    for (int f = 0; f < 32; ++f) {
        const std::vector<float> frame = Frame(f);
        for (const bool columns : {true, false}) {
            float inside = 0.0f;
            for (int i = 0; i + 1 < Size; ++i) {
                inside = std::max(inside, EdgeStep(frame, i, columns));
            }
            EXPECT_LE(EdgeStep(frame, Size - 1, columns), 1.25f * inside)
                << "frame " << f << (columns ? " left-right" : " top-bottom");
        }
    }
}

TEST(Caustics, TheFramesLoop) {
    std::vector<std::vector<float>> frames;
    for (int f = 0; f < 32; ++f) {
        frames.push_back(Frame(f));
    }
    float largest = 0.0f;
    for (int f = 0; f + 1 < 32; ++f) {
        const float step = MeanDifference(frames[f], frames[f + 1]);
        EXPECT_GT(step, 0.5f) << "the light moves between frames " << f << " and " << f + 1;
        largest = std::max(largest, step);
    }
    EXPECT_LE(MeanDifference(frames[31], frames[0]), largest);
}

TEST(Caustics, BrightLinesOnGrey) {
    std::vector<float> frame = Frame(0);
    std::sort(frame.begin(), frame.end());
    const float median = frame[frame.size() / 2];
    EXPECT_GT(median, 80.0f);
    EXPECT_LT(median, 170.0f);
    EXPECT_GT(frame[frame.size() * 99 / 100], 235.0f) << "the brightest lines reach near white";
    EXPECT_GT(frame.front(), 60.0f) << "no black: the floor is never unlit";
}

} // namespace
} // namespace tavren
