#include "Tavren_S.h"

#include <cstdlib>
#include <exception>
#include <system_error>
#include <utility>

#include "saver/ShowBitmaps.h"

namespace tavren::saver {

namespace fs = std::filesystem;

bool CursorLeftTheStart(CursorPoint start, CursorPoint now) {
    const int64_t dx = int64_t{now.X} - start.X;
    const int64_t dy = int64_t{now.Y} - start.Y;
    return std::abs(dy) > CursorTolerance && std::abs(dx) > CursorTolerance;
}

MusicFileKind MusicFileKindOf(std::string_view file) {
    if (file.size() < 3) {
        return MusicFileKind::Other;
    }
    std::string ending(file.substr(file.size() - 3));
    for (char& c : ending) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (ending == "WAV") {
        return MusicFileKind::Wav;
    }
    return ending == "MP3" ? MusicFileKind::Mp3 : MusicFileKind::Other;
}

Tavren_S::Tavren_S(ShowSystem& system, MultimediaSystem& multimedia, SaverState& state,
                   fs::path dataFolder)
    : System(system), State(state), DataFolder(std::move(dataFolder)),
      Music(multimedia, state.Settings) {}

void Tavren_S::Form_Load() {
    WriteBitmaps();
    System.StartProgram(DataFolder / RendererFileName);
    StartMusic();
    Start = CursorNow();
}

// Every bitmap is deleted first, so that a picture that cannot be written leaves no stale file
// for the renderer. All of them are written before the renderer starts.
void Tavren_S::WriteBitmaps() {
    for (int index = 0; index < ShowBitmapCount; ++index) {
        const std::string stem = ShowPictureStem(index);
        const fs::path path = DataFolder / (stem + ".bmp");
        std::error_code ignored;
        fs::remove(path, ignored);
        try {
            if (const auto jpeg = System.CarriedPicture(stem)) {
                WriteJpegAsBitmap(*jpeg, path);
            }
        } catch (const std::exception&) {
            // skipped: the renderer shows what it finds
        }
    }
}

void Tavren_S::StartMusic() {
    switch (State.Settings.BGM_Kind) {
    case 1:
        Music.CdOpen();
        Timer2Enabled = true;
        break;
    case 2:
        switch (MusicFileKindOf(State.Settings.BGM_File)) {
        case MusicFileKind::Wav:
            Music.WavPlay();
            break;
        case MusicFileKind::Mp3:
            Music.Mp3Open();
            Timer1Enabled = true;
            break;
        case MusicFileKind::Other:
            break;
        }
        break;
    default:
        break;
    }
}

CursorPoint Tavren_S::CursorNow() {
    return System.CursorPosition().value_or(CursorPoint{});
}

void Tavren_S::Timer1_Timer() {
    Music.Mp3CheckRepeat();
}

void Tavren_S::Timer2_Timer() {
    Music.CdCheckRepeat();
    Timer2Enabled = Music.CdKeepPolling;
}

void Tavren_S::Timer3_Timer() {
    if (CursorLeftTheStart(Start, CursorNow())) {
        Timer3Enabled = false;
        Form_QueryUnload();
    }
}

void Tavren_S::Form_QueryUnload() {
    if (Timer2Enabled) {
        Timer2Enabled = false;
        Music.CdStop();
    }
    if (State.Settings.BGM_Kind == 2) {
        switch (MusicFileKindOf(State.Settings.BGM_File)) {
        case MusicFileKind::Wav:
            Music.WavStop();
            break;
        case MusicFileKind::Mp3:
            Music.Mp3Stop();
            break;
        case MusicFileKind::Other:
            break;
        }
    }
    if (State.Mode == SaverMode::Show) {
        State.CursorCount = System.ShowCursor(true);
    }
    System.EndProgram();
}

} // namespace tavren::saver
