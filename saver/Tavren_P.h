// The settings dialog's decisions, apart from its Win32 form: where it opens, its shading,
// what its controls show and allow for each music kind, the track box's text and how "設定"
// writes the four settings.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tavren::saver {

inline constexpr char DialogTitle[] = "<タヴレン>";
inline constexpr int32_t DialogClientWidth = 479;
inline constexpr int32_t DialogClientHeight = 307;
inline constexpr int32_t FishScrollMinimum = 1;
inline constexpr int32_t FishScrollMaximum = 100;
inline constexpr int32_t FishScrollInitial = 10;
inline constexpr int32_t TrackItemCount = 31;
inline constexpr char MusicFileFilterName[] = "BGMﾌｧｲﾙ (MP3 WAV)";
inline constexpr char MusicFileFilterPattern[] = "*.MP3;*.WAV";
inline constexpr char MusicFileDialogTitle[] = "ﾌｧｲﾙを開く";

struct DialogPoint {
    int32_t Left;
    int32_t Top;
    bool operator==(const DialogPoint&) const = default;
};

// Centred horizontally, at one third of the free height.
DialogPoint DialogPosition(int32_t screenWidth, int32_t screenHeight, int32_t dialogWidth,
                           int32_t dialogHeight);

enum class ShadedSurface { Form, Panel };

// The colour (red, green, blue) of row y of a surface `height` rows high: a sine over the
// height, darkest at the edges; blue-tinted on the form, grey on the panels.
std::array<uint8_t, 3> ShadingColour(int32_t y, int32_t height, ShadedSurface surface);

// The scroll bar's position for the loaded fish count: the count itself within the bar's
// range, otherwise its initial 10.
int32_t FishScrollPosition(int32_t fishCount);

// What the user asked of the scroll bar: an arrow, the track beside the thumb, an end, or
// dragging the thumb (while dragging and on its release).
enum class ScrollRequest { LineLeft, LineRight, PageLeft, PageRight, Leftmost, Rightmost, Thumb };
inline constexpr int32_t FishScrollPageStep = 10;

// The bar's position after the request, kept within its range; thumbPosition is where the
// thumb was dragged to.
int32_t FishScrollAfter(ScrollRequest request, int32_t position, int32_t thumbPosition);

// What each music kind enables: the track box (kind 1), the file button (kind 2), and which
// radio image is marked (-1 for a kind outside 0 to 2).
struct MusicControls {
    bool TrackBoxEnabled;
    bool FileButtonEnabled;
    int32_t MarkedImage;
    bool operator==(const MusicControls&) const = default;
};
MusicControls MusicControlsFor(int32_t kind);

// A track number as the track box shows it ("##": 0 is empty).
std::string TrackText(int32_t track);

// The track box's text as a whole number: numeric text rounded to the nearest (halves to
// even), 0 for anything else and for a number outside 16 bits.
int16_t TrackFromText(std::string_view text);

// "設定": writes "Num", "BGM区分", "BGMﾘﾋﾟｰﾄ" and "BGMﾌｧｲﾙ" in this order through writeValue
// (key, value) and returns the track it wrote.
int16_t SaveDialogSettings(const std::function<void(const char*, const std::string&)>& writeValue,
                           int32_t fishScrollValue, int32_t kind, std::string_view trackText,
                           const std::string& file);

} // namespace tavren::saver
