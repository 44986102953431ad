#include "Generate.h"
#include "ModelFileReader.h"
#include "PictureFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace tavren {
namespace {

TEST(AssetFiles, RegeneratingGivesTheCommittedBytes) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tavren-assets-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    const std::vector<std::filesystem::path> written = GenerateAssets(folder);
    std::set<std::filesystem::path> generated;
    for (const std::filesystem::path& relative : written) {
        generated.insert(relative);
        EXPECT_TRUE(ReadFileBytes(folder / relative) == ReadFileBytes(AssetPath(relative.string())))
            << relative << " differs from the committed file";
    }
    std::filesystem::remove_all(folder);
    // Nothing committed beside them that the generator no longer makes.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(AssetPath(""))) {
        const std::filesystem::path relative = entry.path().lexically_relative(AssetPath(""));
        if (!entry.is_regular_file() || *relative.begin() == "gen" || relative == "README.md") {
            continue;
        }
        EXPECT_TRUE(generated.count(relative)) << relative << " is not generated";
    }
}

} // namespace
} // namespace tavren
