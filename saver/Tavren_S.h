// The full-screen show: the form that stays hidden while the renderer draws. Loading it writes
// the texture bitmaps, starts the renderer and the music; its timers keep the music going and
// watch the cursor; its unload stops the music, gives the cursor back and ends the program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "saver/Tavren_B.h"
#include "saver/Tavren_BGM.h"

namespace tavren::saver {

inline constexpr char ShowFormTitle[] = "Tavren_Main";

inline constexpr uint32_t Timer1Interval = 1000; // MP3 repeat
inline constexpr uint32_t Timer2Interval = 200;  // CD polling
inline constexpr uint32_t Timer3Interval = 50;   // cursor watch

struct CursorPoint {
    int32_t X = 0;
    int32_t Y = 0;
};

// Pixels the cursor must leave its start by on both axes to end the show.
inline constexpr int32_t CursorTolerance = 30;

// True when the cursor is more than CursorTolerance pixels from the start horizontally and also
// vertically: a move along one axis alone never ends the show.
bool CursorLeftTheStart(CursorPoint start, CursorPoint now);

enum class MusicFileKind { Wav, Mp3, Other };

// By the file name's last three characters, in any case.
MusicFileKind MusicFileKindOf(std::string_view file);

// What the show needs of the system besides the music.
class ShowSystem {
public:
    virtual ~ShowSystem() = default;
    // The JPEG picture the program carries under this name ("Tavren100"); none when missing.
    virtual std::optional<std::vector<uint8_t>> CarriedPicture(const std::string& name) = 0;
    // Starts a program as a normal window that takes the focus, without waiting for it.
    virtual void StartProgram(const std::filesystem::path& program) = 0;
    // GetCursorPos; none when it fails.
    virtual std::optional<CursorPoint> CursorPosition() = 0;
    // ShowCursor: the display count after the change.
    virtual int32_t ShowCursor(bool show) = 0;
    // Ends the process at once.
    virtual void EndProgram() = 0;
};

class Tavren_S {
public:
    Tavren_S(ShowSystem& system, MultimediaSystem& multimedia, SaverState& state,
             std::filesystem::path dataFolder);

    void Form_Load();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Form_QueryUnload();

    // The timers' enabled states; the platform runs each timer while its flag is set.
    bool Timer1Enabled = false;
    bool Timer2Enabled = false;
    bool Timer3Enabled = true;

    CursorPoint Start;

private:
    void WriteBitmaps();
    void StartMusic();
    CursorPoint CursorNow();

    ShowSystem& System;
    SaverState& State;
    std::filesystem::path DataFolder;
    Tavren_BGM Music;
};

} // namespace tavren::saver
