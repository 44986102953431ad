// The front end on Windows: the system services the entry and the show ask for, and the hidden
// show form with its three timers on the program's message loop.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <memory>

#include "saver/Tavren_S.h"

namespace tavren::saver {

class Win32Saver final : public SaverPlatform, public ShowSystem {
public:
    explicit Win32Saver(HINSTANCE instance);
    ~Win32Saver() override;

    bool WindowTitled(const std::string& title) override;
    void RunPreview(uint32_t hostWindow) override;
    std::filesystem::path DataFolder() override;
    std::filesystem::path ProgramFolder() override;
    std::string ReadIniValue(const std::string& section, const std::string& key,
                             const std::filesystem::path& file) override;
    void WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::filesystem::path& file) override;
    void ShowMessage(const std::string& text) override;
    void ShowSettingsDialog() override;
    int32_t HideCursor() override;
    void LoadShowForm(const SaverState& state) override;

    std::optional<std::vector<uint8_t>> CarriedPicture(const std::string& name) override;
    void StartProgram(const std::filesystem::path& program) override;
    std::optional<CursorPoint> CursorPosition() override;
    int32_t ShowCursor(bool show) override;
    void EndProgram() override;

    // Runs the message loop while a form is loaded; returns at once when none is.
    int RunForms();

private:
    static LRESULT CALLBACK ShowFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> HandleShowMessage(UINT message, WPARAM wParam);
    // Starts or stops each timer as the form's flags say.
    void FollowTimerFlags();

    HINSTANCE Instance;
    HWND ShowForm = nullptr;
    SaverState State;
    std::unique_ptr<MultimediaSystem> Multimedia;
    std::unique_ptr<MultimediaSystem> MultimediaWitness;
    std::unique_ptr<Tavren_S> Show;
    std::unique_ptr<class Tavren_R> Preview;
    bool TimerRunning[3] = {};
};

} // namespace tavren::saver
