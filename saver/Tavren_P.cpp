#include "Tavren_P.h"

#include "Tavren_B.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdlib>

namespace tavren::saver {

namespace {

// Rounded to the nearest, halves to even.
double RoundHalfEven(double value) {
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(mode);
    return rounded;
}

} // namespace

DialogPoint DialogPosition(int32_t screenWidth, int32_t screenHeight, int32_t dialogWidth,
                           int32_t dialogHeight) {
    return {(screenWidth - dialogWidth) / 2, (screenHeight - dialogHeight) / 3};
}

std::array<uint8_t, 3> ShadingColour(int32_t y, int32_t height, ShadedSurface surface) {
    // 3.142, not pi: the shading's own constant.
    const double level = RoundHalfEven(std::fabs(std::sin(y / (height / 3.142))) * 220);
    const auto v = static_cast<uint8_t>(level);
    const auto lighter = static_cast<uint8_t>(level + 30);
    if (surface == ShadedSurface::Form) {
        return {v, v, lighter};
    }
    return {lighter, lighter, lighter};
}

int32_t FishScrollPosition(int32_t fishCount) {
    return fishCount >= FishScrollMinimum && fishCount <= FishScrollMaximum ? fishCount
                                                                            : FishScrollInitial;
}

int32_t FishScrollAfter(ScrollRequest request, int32_t position, int32_t thumbPosition) {
    int32_t wanted = position;
    switch (request) {
    case ScrollRequest::LineLeft:
        wanted = position - 1;
        break;
    case ScrollRequest::LineRight:
        wanted = position + 1;
        break;
    case ScrollRequest::PageLeft:
        wanted = position - FishScrollPageStep;
        break;
    case ScrollRequest::PageRight:
        wanted = position + FishScrollPageStep;
        break;
    case ScrollRequest::Leftmost:
        wanted = FishScrollMinimum;
        break;
    case ScrollRequest::Rightmost:
        wanted = FishScrollMaximum;
        break;
    case ScrollRequest::Thumb:
        wanted = thumbPosition;
        break;
    }
    return std::clamp(wanted, FishScrollMinimum, FishScrollMaximum);
}

MusicControls MusicControlsFor(int32_t kind) {
    return {kind == 1, kind == 2, kind >= 0 && kind <= 2 ? kind : -1};
}

std::string TrackText(int32_t track) {
    return track == 0 ? "" : std::to_string(track);
}

int16_t TrackFromText(std::string_view text) {
    if (!IsPlainNumber(text)) {
        return 0;
    }
    const double rounded = RoundHalfEven(std::strtod(std::string(text).c_str(), nullptr));
    if (!(rounded >= INT16_MIN && rounded <= INT16_MAX)) {
        return 0;
    }
    return static_cast<int16_t>(rounded);
}

int16_t SaveDialogSettings(const std::function<void(const char*, const std::string&)>& writeValue,
                           int32_t fishScrollValue, int32_t kind, std::string_view trackText,
                           const std::string& file) {
    writeValue(FishCountKey, std::to_string(fishScrollValue));
    writeValue(MusicKindKey, std::to_string(kind));
    const int16_t track = TrackFromText(trackText);
    writeValue(MusicTrackKey, std::to_string(track));
    writeValue(MusicFileKey, file);
    return track;
}

} // namespace tavren::saver
