// The Linux renderer (SDL2) on a private Xvfb display, with no window manager.
#include <filesystem>

#include "tests/e2e/RendererRun.h"

namespace tavren::e2e {
namespace {

class LinuxRendererTest : public RendererRunTest {
protected:
    void SetUp() override {
        ASSERT_FALSE(RendererPath.empty())
            << "TAVREN_E2E_LINUX_RENDERER is not set; run under CTest";
        ASSERT_TRUE(std::filesystem::exists(RendererPath)) << RendererPath << " does not exist";
    }

    std::vector<std::string> RendererCommand() override { return {RendererPath}; }

    ProcessEnvironment RendererEnvironment() override {
        return ProcessEnvironment::Inherited()
            .Set("DISPLAY", Xvfb.DisplayName())
            .Set("SDL_VIDEODRIVER", "x11")
            .Set("TAVREN_DATA", EnvironmentValue("TAVREN_E2E_DATA"))
            .Unset("WAYLAND_DISPLAY");
    }

    void RequestClose() override { Client.RequestClose(RendererWindow); }

    const std::string RendererPath = EnvironmentValue("TAVREN_E2E_LINUX_RENDERER");
};

TEST_F(LinuxRendererTest, OneWindowCoversTheScreen) {
    ASSERT_NO_FATAL_FAILURE(StartRenderer());
    EXPECT_EQ(Client.WindowRectangle(RendererWindow), Client.ScreenRectangle());
    EXPECT_EQ(Client.FindWindows(RendererTitle).size(), 1u);
}

class LinuxRendererExitTest : public LinuxRendererTest,
                              public testing::WithParamInterface<ExitCase> {};

TEST_F(LinuxRendererTest, ShowsTheScene) {
    CheckSceneShows("linux-renderer-scene.png");
}

TEST_P(LinuxRendererExitTest, EndsWithExitCodeZeroOnlyWhenMeantTo) {
    CheckExitCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(UserActions, LinuxRendererExitTest, testing::ValuesIn(ExitCases),
                         ExitCaseName);

} // namespace
} // namespace tavren::e2e
