// The settings dialog on Windows: the number of fish and the music, written to the settings
// file by "設定". Shown modally; the program ends when it closes.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <array>
#include <string>

#include "CommandControl.h"
#include "saver/Tavren_B.h"
#include "saver/Tavren_P.h"

namespace tavren::saver {

// The address "その他の作品" opens.
inline constexpr char OtherWorksPage[] = "https://tavren.example.org/works/";

class Tavren_P {
public:
    Tavren_P(HINSTANCE instance, SaverPlatform& platform, SaverSettings& settings);
    ~Tavren_P();
    Tavren_P(const Tavren_P&) = delete;
    Tavren_P& operator=(const Tavren_P&) = delete;

    // Loads the form, shows it and returns when it has been unloaded.
    void ShowModal();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateForm();
    void Form_Load();
    void Form_Unload();
    void SetupCommands(bool init, bool enable);
    void PaintSurface(HWND surface);
    void HS_Num_Change();
    void HS_Num_Scroll(WORD request);
    void ChooseMusicKind(int32_t kind);
    void ShowMusicKind();
    void Cmd_BGM_Click();
    void Cmd_Set_Click();
    void Cmd_Can_Click();
    void Cmd_Etc_Click();
    void MusicPanelMouseDown(POINT at);
    RECT MusicLabelRect(int32_t kind) const;
    void RepaintOn(HWND surface, const RECT& area) const;

    HINSTANCE Instance;
    SaverPlatform& Platform;
    SaverSettings& Settings;
    HFONT Font = nullptr;
    HBITMAP RadioMarks[2] = {};
    HWND Form = nullptr;
    HWND MusicPanel = nullptr; // Pic_C(0)
    HWND FishPanel = nullptr;  // Pic_C(1)
    HWND HS_Num = nullptr;
    HWND BGM_Repeat = nullptr;
    CommandControl* Cmd_BGM = nullptr;
    CommandControl* Cmd_Etc = nullptr;
    CommandControl* Cmd_Set = nullptr;
    CommandControl* Cmd_Can = nullptr;
    int16_t StartX = 0;
    int16_t StartY = 0;
    bool Unloaded = false;
};

} // namespace tavren::saver
