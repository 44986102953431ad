#include "Boids/DataFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavren {
namespace {

// Sets environment variables for one test and puts the old values back afterwards.
class EnvironmentScope {
public:
    ~EnvironmentScope() {
        for (const auto& [name, value] : Saved) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

    void Set(const std::string& name, const char* value) {
        const char* old = std::getenv(name.c_str());
        Saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) {
            setenv(name.c_str(), value, 1);
        } else {
            unsetenv(name.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> Saved;
};

struct DataFolderCase {
    const char* TavrenData;
    const char* XdgDataHome;
    const char* Home;
    const char* Expected;
};

class DataFolderTest : public testing::TestWithParam<DataFolderCase> {};

TEST_P(DataFolderTest, FollowsTheEnvironment) {
    const DataFolderCase& c = GetParam();
    EnvironmentScope scope;
    scope.Set("TAVREN_DATA", c.TavrenData);
    scope.Set("XDG_DATA_HOME", c.XdgDataHome);
    scope.Set("HOME", c.Home);
    EXPECT_EQ(DataFolderPrefix(), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, DataFolderTest,
                         testing::Values(DataFolderCase{"/tmp/data", "/x", "/h", "/tmp/data/"},
                                         DataFolderCase{"/tmp/data/", nullptr, "/h", "/tmp/data/"},
                                         DataFolderCase{"", "/x/share", "/h",
                                                        "/x/share/Tavren_Data/"},
                                         DataFolderCase{nullptr, nullptr, "/home/u",
                                                        "/home/u/.local/share/Tavren_Data/"}));

TEST(NativePathTest, BackslashesSeparateFolders) {
    EXPECT_EQ(NativePath("/d/Tavren_Data/" + std::string(".\\Tavren202.bmp")),
              "/d/Tavren_Data/./Tavren202.bmp");
    EXPECT_EQ(NativePath("data\\a.jpg"), "data/a.jpg");
}

} // namespace
} // namespace tavren
