// The Windows renderer under Wine, each case on a private Xvfb display. The Wine prefix is made
// once for the whole run (that takes most of its time) and its processes are ended after each
// case, so that the next case starts Wine afresh on its own display.
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "Boids/Settings.h"
#include "tests/e2e/RendererRun.h"

namespace tavren::e2e {
namespace {

// Window styles as <windows.h> has them.
constexpr unsigned long WsPopup = 0x80000000;
constexpr unsigned long WsVisible = 0x10000000;
constexpr unsigned long WsClipSiblings = 0x04000000;
constexpr unsigned long WsClipChildren = 0x02000000;
constexpr unsigned long WsExAppWindow = 0x00040000;

struct WindowsBuild {
    std::filesystem::path Renderer;
    std::filesystem::path Helper;
};

WindowsBuild Build;
std::unique_ptr<WinePrefix> Prefix;
// Why there is no prefix: every case fails with it.
std::string PrefixError;

class WinePrefixForTheRun : public testing::Environment {
public:
    void SetUp() override {
        PrefixError = FindBuild();
        if (!PrefixError.empty()) {
            return;
        }
        try {
            const XvfbServer bootDisplay(1024, 768);
            Prefix = std::make_unique<WinePrefix>(bootDisplay.DisplayName());
        } catch (const std::exception& error) {
            PrefixError = std::string("no Wine prefix: ") + error.what();
        }
    }

    void TearDown() override { Prefix.reset(); }

private:
    static std::string FindBuild() {
        const std::string dist = EnvironmentValue("TAVREN_E2E_WINDOWS_DIST");
        const std::string helper = EnvironmentValue("TAVREN_E2E_WIN32_HELPER");
        if (dist.empty() || helper.empty()) {
            return "TAVREN_E2E_WINDOWS_DIST and TAVREN_E2E_WIN32_HELPER are not set; run under "
                   "CTest";
        }
        Build = {std::filesystem::path(dist) / "Tavren.pex", helper};
        for (const std::filesystem::path& file : {Build.Renderer, Build.Helper}) {
            if (!std::filesystem::exists(file)) {
                return file.string() + " does not exist: build the Windows programs first " +
                       "(cmake --preset windows && cmake --build build/windows)";
            }
        }
        return "";
    }
};

class WineRendererTest : public RendererRunTest {
protected:
    void SetUp() override { ASSERT_TRUE(Prefix) << PrefixError; }

    void TearDown() override {
        if (Prefix) {
            Prefix->StopProcesses();
        }
    }

    std::vector<std::string> RendererCommand() override {
        return {"wine", Build.Renderer.string()};
    }

    ProcessEnvironment RendererEnvironment() override {
        return Prefix->ProgramEnvironment(Xvfb.DisplayName())
            .Set("TAVREN_DATA", "Z:" + EnvironmentValue("TAVREN_E2E_DATA"));
    }

    void RequestClose() override { EXPECT_EQ(RunHelper({"close", RendererTitle}).ExitCode, 0); }

    CommandResult RunHelper(const std::vector<std::string>& arguments) {
        std::vector<std::string> command{"wine", Build.Helper.string()};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return RunCommand(command, RendererEnvironment());
    }

    // The helper's answer to `arguments`, read as whitespace-separated fields.
    std::istringstream HelperAnswer(const std::vector<std::string>& arguments) {
        const CommandResult result = RunHelper(arguments);
        EXPECT_EQ(result.ExitCode, 0) << "helper " << arguments.front();
        return std::istringstream(result.Output);
    }
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
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new tavren::e2e::WinePrefixForTheRun);
    return RUN_ALL_TESTS();
}
