// What the Wine tests of the screensaver program share: the program and its package copied into
// a program folder of the case's own, a data folder beside it, a private display, and the
// helper program that works inside Wine. The Wine prefix is the run's (WineRun).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/WineRun.h"
#include "tests/e2e/XClient.h"

namespace tavren::e2e {

inline constexpr char SaverName[] = "タヴレン.scr";
inline constexpr char PackageName[] = "タヴレン.data";
inline constexpr std::chrono::seconds WindowDeadline{30};
// Under Wine, taking a window down waits two seconds for a window manager there is none of.
inline constexpr std::chrono::seconds ExitDeadline{20};

// The deliverables of the windows preset and the test program that works inside Wine.
inline const std::filesystem::path Dist = EnvironmentValue("TAVREN_E2E_WINDOWS_DIST");
inline const std::filesystem::path Helper = EnvironmentValue("TAVREN_E2E_WIN32_HELPER");

std::string ReadFile(const std::filesystem::path& path);
// The lines of a program's output, without the console's carriage returns.
std::vector<std::string> Lines(const std::string& text);

class WineFrontEndTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The environment of the case's Wine programs: its display and its data folder.
    virtual ProcessEnvironment Environment() const;

    std::unique_ptr<ChildProcess> StartSaver(const std::vector<std::string>& arguments);
    CommandResult RunHelper(const std::vector<std::string>& arguments);

    WinePrefix* Prefix = nullptr;
    XvfbServer Xvfb{1024, 768};
    XClient Client{Xvfb.DisplayName()};
    TemporaryFolder Folder{"tavren-e2e-frontend"};
    const std::filesystem::path ProgramFolder = Folder.Path() / "program";
    const std::filesystem::path DataFolder = Folder.Path() / "Tavren_Data";
};

} // namespace tavren::e2e
