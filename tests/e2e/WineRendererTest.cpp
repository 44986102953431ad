// The Windows renderer under Wine, each case on a private Xvfb display. The Wine prefix is made
// once for the whole run (that takes most of its time) and its processes are ended after each
// case, so that the next case starts Wine afresh on its own display.
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "Boids/Settings.h"
#include "tests/e2e/RendererRun.h"
#include "tests/e2e/WineRun.h"

namespace tavren::e2e {
namespace {

// Window styles as <windows.h> has them.
constexpr unsigned long WsPopup = 0x80000000;
constexpr unsigned long WsVisible = 0x10000000;
constexpr unsigned long WsClipSiblings = 0x04000000;
constexpr unsigned long WsClipChildren = 0x02000000;
constexpr unsigned long WsExAppWindow = 0x00040000;

// The Windows renderer and the test program that works inside Wine.
const std::filesystem::path RendererProgram =
    std::filesystem::path(EnvironmentValue("TAVREN_E2E_WINDOWS_DIST")) / "Tavren.pex";
const std::filesystem::path Helper = EnvironmentValue("TAVREN_E2E_WIN32_HELPER");

class WineRendererTest : public RendererRunTest {
protected:
    void SetUp() override {
        Prefix = WineRun::Prefix();
        ASSERT_TRUE(Prefix) << WineRun::Error();
    }

    void TearDown() override {
        if (Prefix) {
            Prefix->StopProcesses();
        }
    }

    std::vector<std::string> RendererCommand() override {
        return {"wine", RendererProgram.string()};
    }

    ProcessEnvironment RendererEnvironment() override {
        return Prefix->ProgramEnvironment(Xvfb.DisplayName())
            .Set("TAVREN_DATA", "Z:" + EnvironmentValue("TAVREN_E2E_DATA"));
    }

    void RequestClose() override { EXPECT_EQ(RunHelper({"close", RendererTitle}).ExitCode, 0); }

    CommandResult RunHelper(const std::vector<std::string>& arguments) {
        std::vector<std::string> command{"wine", Helper.string()};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return RunCommand(command, RendererEnvironment());
    }

    // The helper's answer to `arguments`, read as whitespace-separated fields.
    std::istringstream HelperAnswer(const std::vector<std::string>& arguments) {
        const CommandResult result = RunHelper(arguments);
        EXPECT_EQ(result.ExitCode, 0) << "helper " << arguments.front();
        return std::istringstream(result.Output);
    }

    WinePrefix* Prefix = nullptr;
};

TEST_F(WineRendererTest, WindowIsAPopupOfTheMaximisedSizeAtTheOrigin) {
    int width = 0;
    int height = 0;
    HelperAnswer({"metrics"}) >> width >> height;
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 0);
    const Rectangle expected{0, 0, width, height};

    ASSERT_NO_FATAL_FAILURE(StartRenderer());
    EXPECT_EQ(Client.WindowRectangle(RendererWindow), expected) << "as X sees it";

    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    HelperAnswer({"find", RendererTitle}) >> left >> top >> right >> bottom;
    EXPECT_EQ((Rectangle{left, top, right - left, bottom - top}), expected)
        << "as Windows programs see it";

    std::string className;
    unsigned long style = 0;
    unsigned long exStyle = 0;
    HelperAnswer({"class", RendererTitle}) >> className >> std::hex >> style >> exStyle;
    EXPECT_EQ(className, "OpenGL");
    EXPECT_EQ(style, WsPopup | WsVisible | WsClipSiblings | WsClipChildren) << std::hex << style;
    EXPECT_TRUE(exStyle & WsExAppWindow) << std::hex << exStyle;
}

// Settings files as a user or another program may leave them. Windows' own profile functions
// and our reader must find the same "Num" in each, and the renderer's conversion the same count.
const std::vector<std::string> SettingsFiles = {
    "[Section]\r\nNum=10\r\n",
    "[section]\nnUM = 12 \n",
    "  [ Section ]  \n\t Num\t=\t0x10\t\n",
    "[Section]\nNum=\"33\"\n",
    "[Section]\nNum='34'\n",
    "[Section]\nNum=\"35\n",
    "[Section]\nNum=\n",
    "[Section]\nNum\n",
    "[Other]\nNum=5\n",
    "Num=5\n[Section]\n",
    "[Section]\nNumber=5\nNum=6\nNum=7\n",
    "[Section]\nX=1\n[Other]\nNum=5\n",
    "[Section]\nNum=1=2\n",
    "[Section]\nNum=-1\n",
    "[Section]\nNum=0X1f\n",
    "[Section]\nNum=abc\n",
    "[Section]\nNum=12.9\n",
    "[Section]\r\nNum=+7\r\n",
    "\xEF\xBB\xBF[Section]\nNum=8\n",
    std::string("\xFF\xFE[\0S\0e\0c\0t\0i\0o\0n\0]\0\r\0\n\0N\0u\0m\0=\0009\0\r\0\n\0", 34),
    "",
};

TEST_F(WineRendererTest, SettingsFilesReadAsWindowsReadsThem) {
    const TemporaryFolder folder("tavren-settings");
    std::vector<std::string> command{"fish-setting"};
    for (size_t index = 0; index < SettingsFiles.size(); ++index) {
        const std::filesystem::path file =
            folder.Path() / ("Tavren" + std::to_string(index) + ".ini");
        std::ofstream(file, std::ios::binary) << SettingsFiles[index];
        command.push_back("Z:" + file.string());
    }
    std::istringstream answer(RunHelper(command).Output);
    for (const std::string& file : SettingsFiles) {
        std::string line;
        ASSERT_TRUE(std::getline(answer, line)) << "no answer for " << file;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back(); // the console's text mode
        }
        const auto ours = FindProfileValue(file, "Section", "Num");
        EXPECT_EQ(line,
                  ours.value_or("(missing)") + "\t" + std::to_string(ConvertFishSetting(ours)))
            << "file: " << file;
    }
}

TEST_F(WineRendererTest, ShowsTheScene) {
    CheckSceneShows("wine-renderer-scene.png");
}

class WineRendererExitTest : public WineRendererTest,
                             public testing::WithParamInterface<ExitCase> {};

TEST_P(WineRendererExitTest, EndsWithExitCodeZeroOnlyWhenMeantTo) {
    CheckExitCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(UserActions, WineRendererExitTest, testing::ValuesIn(ExitCases),
                         ExitCaseName);

} // namespace
} // namespace tavren::e2e

int main(int argc, char** argv) {
    using namespace tavren::e2e;
    return WineRun::RunAllTests(argc, argv, {RendererProgram, Helper});
}
