// One Wine prefix for a whole test program: made before its first case (that takes most of a
// run's time), dropped after its last. Cases find it through WineRun::Prefix().
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/E2eSupport.h"

namespace tavren::e2e {

class WineRun : public testing::Environment {
public:
    // The files the cases need; when one is missing no prefix is made and every case fails
    // with the reason.
    explicit WineRun(std::vector<std::filesystem::path> neededFiles);

    void SetUp() override;
    void TearDown() override;

    // The run's prefix, or none, with Error() saying why.
    static WinePrefix* Prefix();
    static const std::string& Error();

    // Runs every test of the program in one prefix.
    static int RunAllTests(int argc, char** argv, std::vector<std::filesystem::path> neededFiles);

private:
    std::vector<std::filesystem::path> NeededFiles;
};

// A Linux path as Wine's drive Z: names it.
std::string WinePath(const std::filesystem::path& path);

} // namespace tavren::e2e
