// A fixed-seed generator and hash whose output is the same on every machine and library version.
#pragma once

#include <cstdint>

namespace tavren {

// SplitMix64: small, fast and fully specified, unlike the standard distributions.
class Random {
public:
    explicit Random(uint64_t seed) : state(seed) {}

    uint64_t Next() {
        state += 0x9E3779B97F4A7C15ull;
        uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1), from the top 53 bits.
    double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

    double Uniform(double low, double high) { return low + (high - low) * Uniform(); }

    // Uniform integer in [0, count).
    int Below(int count) { return static_cast<int>(Uniform() * count); }

private:
    uint64_t state;
};

// A well-mixed 32-bit hash of integer lattice coordinates, for noise that needs no state.
inline uint32_t HashLattice(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA77u;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

// The hash as a value in [0, 1).
inline float HashUnit(int32_t x, int32_t y, uint32_t seed) {
    return static_cast<float>(HashLattice(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

} // namespace tavren
