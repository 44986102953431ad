#include "tests/e2e/WineRun.h"

#include <algorithm>
#include <utility>

namespace tavren::e2e {

namespace {

std::unique_ptr<WinePrefix> RunPrefix;
std::string RunError;

} // namespace

WineRun::WineRun(std::vector<std::filesystem::path> neededFiles)
    : NeededFiles(std::move(neededFiles)) {}

void WineRun::SetUp() {
    for (const std::filesystem::path& file : NeededFiles) {
        if (file.empty() || !std::filesystem::exists(file)) {
            RunError = "'" + file.string() +
                       "' does not exist: build the windows preset first and run under CTest";
            return;
        }
    }
    try {
        const XvfbServer bootDisplay(1024, 768);
        RunPrefix = std::make_unique<WinePrefix>(bootDisplay.DisplayName());
    } catch (const std::exception& error) {
        RunError = std::string("no Wine prefix: ") + error.what();
    }
}

void WineRun::TearDown() {
    RunPrefix.reset();
}

WinePrefix* WineRun::Prefix() {
    return RunPrefix.get();
}

const std::string& WineRun::Error() {
    return RunError;
}

int WineRun::RunAllTests(int argc, char** argv, std::vector<std::filesystem::path> neededFiles) {
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new WineRun(std::move(neededFiles)));
    return RUN_ALL_TESTS();
}

std::string WinePath(const std::filesystem::path& path) {
    std::string underWine = "Z:" + path.string();
    std::replace(underWine.begin(), underWine.end(), '/', '\\');
    return underWine;
}

} // namespace tavren::e2e
