#include "tools/tavren-tool/Arguments.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace tavren::tool {
namespace {

TEST(ParseSize, TakesOnlyTwoPositiveWholeNumbers) {
    const auto size = ParseSize("640x480");
    ASSERT_TRUE(size);
    EXPECT_EQ(size->Width, 640);
    EXPECT_EQ(size->Height, 480);
    EXPECT_TRUE(ParseSize("16384x1"));

    for (const char* bad : {"", "640", "640x", "x480", "0x480", "640x0", "-1x5", "16385x1",
                            "640x480x2", "64 0x480", "640X480", "99999999999999999999x1"}) {
        EXPECT_FALSE(ParseSize(bad)) << bad;
    }
}

TEST(ParseCount, TakesWholeNumbersUpToTheLimit) {
    EXPECT_EQ(ParseCount("0", 10), 0);
    EXPECT_EQ(ParseCount("10", 10), 10);
    for (const char* bad : {"", "11", "-1", "1.5", "+3", " 3", "3 "}) {
        EXPECT_FALSE(ParseCount(bad, 10)) << bad;
    }
}

TEST(OptionReader, TakesEachOptionOnceAndRejectsTheRest) {
    const std::array<std::string_view, 4> arguments = {"--size", "2x2", "--out", "a.png"};
    OptionReader options(arguments);
    EXPECT_EQ(options.Require("--size"), "2x2");
    EXPECT_EQ(options.Take("--frames"), std::nullopt);
    EXPECT_THROW(options.RejectLeftovers(), UsageError);
    EXPECT_EQ(options.Take("--out"), "a.png");
    EXPECT_NO_THROW(options.RejectLeftovers());
    EXPECT_THROW(options.Require("--frames"), UsageError);
}

TEST(OptionReader, RefusesRepeatedAndValuelessOptions) {
    const std::array<std::string_view, 4> twice = {"--out", "a", "--out", "b"};
    OptionReader repeated(twice);
    EXPECT_THROW(repeated.Take("--out"), UsageError);

    const std::array<std::string_view, 1> last = {"--out"};
    OptionReader valueless(last);
    EXPECT_THROW(valueless.Take("--out"), UsageError);
}

TEST(OptionReader, TakeAllGivesEveryValueOfARepeatedOptionInOrder) {
    const std::array<std::string_view, 7> arguments = {"--advance", "1.5", "--out",    "a",
                                                       "--advance", "-2",  "--advance"};
    const std::span<const std::string_view> firstSix(arguments.data(), 6);
    OptionReader options(firstSix);
    EXPECT_EQ(options.TakeAll("--advance"), (std::vector<std::string_view>{"1.5", "-2"}));
    EXPECT_TRUE(options.TakeAll("--frames").empty());
    EXPECT_THROW(options.RejectLeftovers(), UsageError);
    EXPECT_EQ(options.Take("--out"), "a");
    EXPECT_NO_THROW(options.RejectLeftovers());

    OptionReader valueless(arguments);
    EXPECT_THROW(valueless.TakeAll("--advance"), UsageError);
}

TEST(OptionValues, FallBackOrRefuseNamingTheOption) {
    EXPECT_EQ(SizeOption(std::nullopt, "64x40").Width, 64);
    EXPECT_EQ(SizeOption("8x9", "64x40").Height, 9);
    EXPECT_THROW(SizeOption("8", "64x40"), UsageError);
    EXPECT_EQ(CountOption("--frames", "5", 1, 10), 5);
    try {
        CountOption("--frames", "0", 1, 10);
        FAIL() << "0 frames accepted";
    } catch (const UsageError& error) {
        EXPECT_STREQ(error.what(), "--frames takes a whole number from 1 to 10");
    }
    EXPECT_THROW(CountOption("--fish", "11", 0, 10), UsageError);
}

TEST(OptionReader, FlagsTakeNoValue) {
    const std::array<std::string_view, 3> arguments = {"--out", "a", "--check"};
    OptionReader options(arguments);
    EXPECT_EQ(options.Take("--out"), "a");
    EXPECT_TRUE(options.TakeFlag("--check"));
    EXPECT_FALSE(options.TakeFlag("--quiet"));
    EXPECT_NO_THROW(options.RejectLeftovers());

    const std::array<std::string_view, 2> twice = {"--check", "--check"};
    OptionReader repeated(twice);
    EXPECT_THROW(repeated.TakeFlag("--check"), UsageError);
}

} // namespace
} // namespace tavren::tool
