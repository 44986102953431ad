// Smooth value noise that repeats with a whole-number period, so that pictures made of it tile.
#pragma once

#include <cstdint>

namespace tavren {

// Noise in [0, 1) at (x, y), lattice period `period` cells in both directions.
float PeriodicNoise(float x, float y, int period, uint32_t seed);

// Sum of octaves: the first has `period` cells over the tile, each next one twice as many and
// `gain` times the weight. x and y are in tile units (0 to 1 covers the tile once). Result in [0,
// 1).
float PeriodicFractal(float x, float y, int period, int octaves, float gain, uint32_t seed);

} // namespace tavren
