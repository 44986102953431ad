// The contract of tavren-tool model, run on the built tool.
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace tavren {
namespace {

using test::ChainModelText;
using test::RealModel;
using test::WriteModelFile;

struct ToolRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

std::string Contents(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

ToolRun RunTool(const std::string& arguments) {
    const std::filesystem::path out = WriteModelFile("tool.out", "");
    const std::filesystem::path err = WriteModelFile("tool.err", "");
    const std::string command = std::string(TAVREN_TOOL) + " model " + arguments + " > " +
                                out.string() + " 2> " + err.string();
    const int status = std::system(command.c_str());
    ToolRun run;
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = Contents(out);
    run.Err = Contents(err);
    return run;
}

TEST(ModelTool, InfoPrintsWhatTheLoaderRead) {
    const ToolRun run = RunTool("info " + RealModel("scorched3d_burntsmallpine.txt").string());
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "{\"loaded\": true, \"total_frames\": 30, \"current_frame\": 1, "
                       "\"meshes\": [{\"material\": 0, \"vertices\": 4, \"normals\": 4, "
                       "\"triangles\": 3}], \"materials\": [{\"name\": \"Material03\", "
                       "\"texture_file\": \".\\\\black.bmp\", \"alpha_file\": \"\"}], "
                       "\"bones\": []}\n");
    EXPECT_EQ(run.Err, "");
}

TEST(ModelTool, InfoCountsTheItemsReadAndNamesBonesAsJson) {
    std::string text = ChainModelText();
    text.replace(text.find("\"child\"\r\n\"root\""), 15, "\"ch\xfcld\"\r\n\"nobody\"");
    text.erase(text.rfind("1\r\n1.000000"));
    const ToolRun run = RunTool("info " + WriteModelFile("info.txt", text).string());
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("{\"loaded\": false, \"total_frames\": 30, \"current_frame\": 0, "),
              std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("\"bones\": [{\"name\": \"root\", \"parent\": \"\", \"position_keys\": "
                           "1, \"rotation_keys\": 2}, {\"name\": \"ch\\u00fcld\", \"parent\": "
                           "\"nobody\", \"position_keys\": 1, \"rotation_keys\": 0}]}\n"),
              std::string::npos)
        << run.Out;
}

TEST(ModelTool, PosePrintsEveryCornerAfterTheAdvances) {
    const std::string file = WriteModelFile("pose.txt", ChainModelText()).string();
    const ToolRun start = RunTool("pose " + file);
    EXPECT_EQ(start.Status, 0);
    EXPECT_EQ(start.Out, "frame 1\n"
                         "1 0 0 0.25 0.25\n"
                         "2 0 0 0.5 0.5\n"
                         "0 0 3 1 1\n");
    const ToolRun turned = RunTool("pose " + file + " --advance 4 --advance 6");
    EXPECT_EQ(turned.Status, 0);
    EXPECT_EQ(turned.Out.substr(0, turned.Out.find('\n')), "frame 11");
    float x = 1, y = 0, z = 1;
    const std::string second = turned.Out.substr(turned.Out.find('\n') + 1);
    ASSERT_EQ(std::sscanf(second.c_str(), "%g %g %g", &x, &y, &z), 3) << turned.Out;
    EXPECT_NEAR(x, 0, 1e-6);
    EXPECT_NEAR(y, 1, 1e-6);
    EXPECT_EQ(z, 0);
    EXPECT_EQ(RunTool("pose " + file + " --advance 29.5").Out.substr(0, 9), "frame 1\n1");
}

TEST(ModelTool, EndsWithStatusTwoAndOneErrorLineForLoaderErrors) {
    std::string badNumber = ChainModelText();
    badNumber.replace(badNumber.find("0.250000"), 8, "0.25x");
    std::string badKeyword = ChainModelText();
    badKeyword.replace(badKeyword.find("Frames: 30"), 10, "Frames: 30.0");
    std::string badTriangle = ChainModelText();
    badTriangle.replace(badTriangle.find("1 0 1 2 0"), 9, "1 0 1 3 0");
    struct Case {
        std::string Arguments;
        std::vector<std::string> Says;
    };
    const Case cases[] = {
        {"info /no/such/file.txt", {"/no/such/file.txt"}},
        {"pose " + WriteModelFile("number.txt", badNumber).string(), {"line 9", "0.25x"}},
        {"info " + WriteModelFile("keyword.txt", badKeyword).string(), {"line 3", "30.0"}},
        {"pose " + WriteModelFile("triangle.txt", badTriangle).string() + " --advance 1",
         {"Assertion failure", "Boids\\Model"}},
        {"info " + RealModel("scorched3d_kenny2.txt").string(),
         {"Assertion failure", "Boids\\Model"}},
    };
    for (const Case& test : cases) {
        const ToolRun run = RunTool(test.Arguments);
        EXPECT_EQ(run.Status, 2) << test.Arguments;
        EXPECT_EQ(run.Out, "") << test.Arguments;
        EXPECT_EQ(run.Err.rfind("error: ", 0), 0u) << run.Err;
        EXPECT_EQ(run.Err.find('\n'), run.Err.size() - 1) << run.Err;
        for (const std::string& said : test.Says) {
            EXPECT_NE(run.Err.find(said), std::string::npos) << run.Err;
        }
    }
}

TEST(ModelTool, RefusesCommandLinesItCannotTake) {
    const std::string file = RealModel("scorched3d_flare.txt").string();
    for (const std::string& arguments :
         {std::string(""), std::string("info"), "show " + file, "pose " + file + " --advance",
          "pose " + file + " --advance fast", "pose " + file + " --advance nan",
          "info " + file + " --advance 1", "pose " + file + " extra"}) {
        EXPECT_EQ(RunTool(arguments).Status, 2) << arguments;
    }
}

} // namespace
} // namespace tavren
