#include "Noise.h"

#include "Random.h"

#include <cmath>

namespace tavren {

namespace {

float Fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

int Wrap(int value, int period) {
    const int r = value % period;
    return r < 0 ? r + period : r;
}

} // namespace

float PeriodicNoise(float x, float y, int period, uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = Fade(x - fx);
    const float ty = Fade(y - fy);
    const int x0 = Wrap(ix, period);
    const int x1 = Wrap(ix + 1, period);
    const int y0 = Wrap(iy, period);
    const int y1 = Wrap(iy + 1, period);
    const float a = HashUnit(x0, y0, seed);
    const float b = HashUnit(x1, y0, seed);
    const float c = HashUnit(x0, y1, seed);
    const float d = HashUnit(x1, y1, seed);
    const float top = a + (b - a) * tx;
    const float bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float PeriodicFractal(float x, float y, int period, int octaves, float gain, uint32_t seed) {
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    int cells = period;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += weight * PeriodicNoise(x * cells, y * cells, cells, seed + 977u * octave);
        total += weight;
        weight *= gain;
        cells *= 2;
    }
    return sum / total;
}

} // namespace tavren
