// The build step that joins the data package and writes the front end's table of its pieces.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

TEST(DataPackageBuildTest, JoinsThePiecesAndTablesTheirOffsetsAndLengths) {
    const fs::path folder =
        fs::temp_directory_path() / ("tavren-package-build-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    // Bytes a text copy would change, and an empty piece.
    const std::string program("MZ\0\r\n\x1a\xff program", 16);
    const std::string fish = "fish\r\nmodel\n";
    std::ofstream(folder / "program", std::ios::binary) << program;
    std::ofstream(folder / "fish", std::ios::binary) << fish;
    std::ofstream(folder / "terrain", std::ios::binary);
    const fs::path package = folder / "タヴレン.data";
    const fs::path header = folder / "DataPackage.h";

    const std::string command =
        std::string(TAVREN_CMAKE) + " -DRENDERER=" + Quoted(folder / "program") +
        " -DFISH_MODEL=" + Quoted(folder / "fish") +
        " -DTERRAIN_MODEL=" + Quoted(folder / "terrain") + " -DPACKAGE=" + Quoted(package) +
        " -DHEADER=" + Quoted(header) + " -P " + Quoted(TAVREN_PACKAGE_SCRIPT);
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    EXPECT_EQ(ReadFile(package), program + fish);
    const std::string table = ReadFile(header);
    EXPECT_NE(table.find("DataPackageSize = 28;"), std::string::npos) << table;
    EXPECT_NE(table.find("{\"Tavren.pex\", 0, 16},\n"
                         "    {\"Tavren.pp1\", 16, 12},\n"
                         "    {\"Tavren.pp2\", 28, 0},"),
              std::string::npos)
        << table;
    fs::remove_all(folder);
}

TEST(DataPackageBuildTest, AMissingPieceFailsTheBuild) {
    const fs::path folder =
        fs::temp_directory_path() / ("tavren-package-missing-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string command =
        std::string(TAVREN_CMAKE) + " -DRENDERER=" + Quoted(folder / "none") +
        " -DFISH_MODEL=" + Quoted(folder / "none") + " -DTERRAIN_MODEL=" + Quoted(folder / "none") +
        " -DPACKAGE=" + Quoted(folder / "package") + " -DHEADER=" + Quoted(folder / "header") +
        " -P " + Quoted(TAVREN_PACKAGE_SCRIPT) + " 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_FALSE(fs::exists(folder / "package"));
    EXPECT_FALSE(fs::exists(folder / "header"));
    fs::remove_all(folder);
}

} // namespace
