// The sim command as other tools call it: standard output, standard error and exit status.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int Status = -1;
    std::string Output;
    std::string Errors;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class SimToolTest : public testing::Test {
protected:
    void SetUp() override {
        Folder = fs::temp_directory_path() /
                 ("tavren-sim-" + std::to_string(::getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(Folder);
    }
    void TearDown() override { fs::remove_all(Folder); }

    fs::path WriteScenario(const std::string& text) {
        const fs::path path = Folder / "scenario.txt";
        std::ofstream(path) << text;
        return path;
    }

    ToolRun Run(const std::string& arguments) {
        const std::string command = std::string(TAVREN_TOOL) + " sim " + arguments + " >" +
                                    (Folder / "out").string() + " 2>" + (Folder / "err").string();
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(Folder / "out"),
                ReadAll(Folder / "err")};
    }

    fs::path Folder;
};

constexpr char Loner[] = "area 1000 1000\n"
                         "random 0.7\n"
                         "fish 0 0 999.8 500 0.8 0.5 0.01 0.05 60 50 1 1 1 1 1\n";

TEST_F(SimToolTest, PrintsEachFishAfterKSteps) {
    const fs::path scenario = WriteScenario(Loner);
    const ToolRun start = Run(scenario.string() + " --steps 0");
    EXPECT_EQ(start.Status, 0);
    EXPECT_EQ(start.Output, "999.79999999999995 500 0 0.5\n");

    // One step: slows (already at the minimum), turns right, moves across the edge and wraps.
    const ToolRun stepped = Run(scenario.string() + " --steps 1");
    EXPECT_EQ(stepped.Status, 0);
    EXPECT_EQ(stepped.Output, "0.29997500020829193 499.99500008333291 6.2731853071795864 0.5\n");
}

TEST_F(SimToolTest, BadScenariosGetStatusTwoAndOneLine) {
    struct Case {
        std::string Scenario;
        std::string Arguments;
        std::string ErrorStart;
    };
    for (const Case& c :
         {Case{Loner, "--steps 2", "error: "}, Case{"area 1 1\nfish 1\n", "--steps 0", "error: "},
          Case{Loner, "--steps -1", "error: "}, Case{Loner, "", "error: "}}) {
        const fs::path scenario = WriteScenario(c.Scenario);
        const ToolRun run = Run(scenario.string() + " " + c.Arguments);
        EXPECT_EQ(run.Status, 2) << c.Arguments;
        EXPECT_EQ(run.Output, "");
        EXPECT_EQ(run.Errors.rfind(c.ErrorStart, 0), 0u) << run.Errors;
    }
    const ToolRun malformed = Run(WriteScenario("area 1 1\nfish 1\n").string() + " --steps 0");
    EXPECT_NE(malformed.Errors.find("line 2"), std::string::npos);
    EXPECT_EQ(malformed.Errors.find('\n'), malformed.Errors.size() - 1);
    const ToolRun exhausted = Run(WriteScenario(Loner).string() + " --steps 2");
    EXPECT_EQ(exhausted.Errors.find('\n'), exhausted.Errors.size() - 1);
}

} // namespace
