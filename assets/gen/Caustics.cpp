#include "Pictures.h"
#include "Random.h"
#include "Vector.h"

#include <cmath>

namespace tavren {

namespace {

// One travelling wave of the water surface. Whole-number wave vectors make the surface repeat
// across the tile; a whole number of cycles per loop makes frame 32 equal frame 0.
struct Wave {
    int Kx;
    int Ky;
    int Cycles;
    float Amplitude;
    float Phase;
};

std::vector<Wave> MakeWaves() {
    Random random(0x5EA11u);
    std::vector<Wave> waves;
    while (waves.size() < 22) {
        const int kx = random.Below(15) - 7;
        const int ky = random.Below(15) - 7;
        const float length = std::sqrt(static_cast<float>(kx * kx + ky * ky));
        if (length < 2.5f || length > 7.5f) {
            continue;
        }
        const int cycles = random.Below(2) == 0 ? 1 : -1;
        const float amplitude = static_cast<float>(random.Uniform(0.6, 1.0)) / (length * length);
        waves.push_back(
            {kx, ky, cycles, amplitude, static_cast<float>(random.Uniform(0.0, 2.0 * Pi))});
    }
    return waves;
}

// Light that falls straight down is bent by the slope of the surface and lands displaced; where
// the displacements crowd together the floor is lit brightly. Each of many rays is spread over
// the four nearest texels, wrapping at the edges.
std::vector<float> FocusLight(const std::vector<Wave>& waves, float time, float strength) {
    constexpr int Rays = 448;
    std::vector<float> light(CausticSize * CausticSize, 0.0f);
    for (int j = 0; j < Rays; ++j) {
        for (int i = 0; i < Rays; ++i) {
            const float x = (i + 0.5f) / Rays;
            const float y = (j + 0.5f) / Rays;
            float slopeX = 0.0f;
            float slopeY = 0.0f;
            for (const Wave& wave : waves) {
                const float phase =
                    2.0f * Pi * (wave.Kx * x + wave.Ky * y + wave.Cycles * time) + wave.Phase;
                const float s = -wave.Amplitude * std::sin(phase) * 2.0f * Pi;
                slopeX += s * wave.Kx;
                slopeY += s * wave.Ky;
            }
            const float px = (x - strength * slopeX) * CausticSize - 0.5f;
            const float py = (y - strength * slopeY) * CausticSize - 0.5f;
            const float fx = std::floor(px);
            const float fy = std::floor(py);
            const float tx = px - fx;
            const float ty = py - fy;
            auto wrap = [](int v) { return ((v % CausticSize) + CausticSize) % CausticSize; };
            const int x0 = wrap(static_cast<int>(fx));
            const int y0 = wrap(static_cast<int>(fy));
            const int x1 = wrap(x0 + 1);
            const int y1 = wrap(y0 + 1);
            light[y0 * CausticSize + x0] += (1 - tx) * (1 - ty);
            light[y0 * CausticSize + x1] += tx * (1 - ty);
            light[y1 * CausticSize + x0] += (1 - tx) * ty;
            light[y1 * CausticSize + x1] += tx * ty;
        }
    }
    const float mean = static_cast<float>(Rays * Rays) / (CausticSize * CausticSize);
    for (float& value : light) {
        value /= mean;
    }
    return light;
}

// A small wrapped blur: the sun is not a point, so the lines have soft flanks.
std::vector<float> Soften(const std::vector<float>& light) {
    constexpr float Weights[5] = {0.06f, 0.24f, 0.40f, 0.24f, 0.06f};
    auto index = [](int x, int y) {
        x = (x + CausticSize) % CausticSize;
        y = (y + CausticSize) % CausticSize;
        return y * CausticSize + x;
    };
    std::vector<float> across(light.size(), 0.0f);
    std::vector<float> result(light.size(), 0.0f);
    for (int y = 0; y < CausticSize; ++y) {
        for (int x = 0; x < CausticSize; ++x) {
            for (int k = -2; k <= 2; ++k) {
                across[index(x, y)] += Weights[k + 2] * light[index(x + k, y)];
            }
        }
    }
    for (int y = 0; y < CausticSize; ++y) {
        for (int x = 0; x < CausticSize; ++x) {
            for (int k = -2; k <= 2; ++k) {
                result[index(x, y)] += Weights[k + 2] * across[index(x, y + k)];
            }
        }
    }
    return result;
}

} // namespace

std::vector<Picture> PaintCaustics() {
    const std::vector<Wave> waves = MakeWaves();
    std::vector<Picture> frames;
    for (int frame = 0; frame < CausticFrameCount; ++frame) {
        const float time = static_cast<float>(frame) / CausticFrameCount;
        const std::vector<float> light = Soften(FocusLight(waves, time, 0.0125f));
        Picture picture(CausticSize, CausticSize);
        for (int y = 0; y < CausticSize; ++y) {
            for (int x = 0; x < CausticSize; ++x) {
                const float intensity = light[y * CausticSize + x];
                // Grey where the light is spread thin, rising smoothly toward white in the lines.
                const float grey = 0.34f + 0.68f * (1.0f - std::exp(-0.55f * intensity));
                picture.At(x, y) = {grey, grey, grey};
            }
        }
        frames.push_back(std::move(picture));
    }
    return frames;
}

} // namespace tavren
