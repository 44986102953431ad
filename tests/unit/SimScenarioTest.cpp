#include "tools/tavren-tool/SimScenario.h"

#include "Boids/Boid.h"

#include <gtest/gtest.h>

#include <string>

namespace tavren::tool {
namespace {

constexpr char TwoKin[] = "# two kin and a loner\n"
                          "area 1000 -800\n"
                          "\n"
                          "random 0.3\n"
                          "fish 0 0 100 100 0.8 0.5 0.01 0.05 60 50 1 1 0.99 0.99 0.99\n"
                          "   # indented comment\n"
                          "fish 1.5 0.6 130 100 0.8 0.5 0.01 0.05 60 50 1 1 0.99 0.99 0.99\n"
                          "random 0.7\n"
                          "fish 3 0 500 500 0.8 0.5 0.01 0.05 60 50 1 1 0.99 0.99 0.99";

TEST(SimScenarioTest, ReadsAreaRandomValuesAndFish) {
    const SimScenario scenario = ParseSimScenario(TwoKin);
    EXPECT_DOUBLE_EQ(scenario.AreaWidth, 1000);
    EXPECT_DOUBLE_EQ(scenario.AreaHeight, 800);
    EXPECT_EQ(scenario.RandomValues, (std::vector<double>{0.3, 0.7}));
    ASSERT_EQ(scenario.Fish.size(), 3u);
    EXPECT_EQ(scenario.Fish[1].Heading, 1.5);
    EXPECT_EQ(scenario.Fish[2].B, 0.99f);
}

TEST(SimScenarioTest, ZeroStepsPrintsTheStateAfterConstruction) {
    EXPECT_EQ(RunSimScenario(ParseSimScenario(TwoKin), 0),
              "100 100 0 0.5\n130 100 1.5 0.59999999999999998\n500 500 3 0.5\n");
}

TEST(SimScenarioTest, StepsUntilTheRandomValuesRunOut) {
    const SimScenario scenario = ParseSimScenario(TwoKin);
    // Only the loner draws: one value per step.
    EXPECT_NO_THROW(RunSimScenario(scenario, 2));
    EXPECT_THROW(RunSimScenario(scenario, 3), RandomValuesExhausted);
}

struct MalformedCase {
    const char* Text;
    const char* Message;
};

class MalformedScenarioTest : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedScenarioTest, NamesTheLine) {
    try {
        ParseSimScenario(GetParam().Text);
        FAIL() << "accepted";
    } catch (const ScenarioError& error) {
        EXPECT_STREQ(error.what(), GetParam().Message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedScenarioTest,
    testing::Values(MalformedCase{"fish 0 0 1 1 1 1 1 1 1 1 1 1 1 1 1\n",
                                  "line 1: a fish before the area line"},
                    MalformedCase{"area 10 10\n\narea 5 5\n", "line 3: a second area line"},
                    MalformedCase{"area 10\n", "line 1: area takes 2 numbers, width and height"},
                    MalformedCase{"area 10 10\nfish 0 0 1 1 1 1 1 1 1 1 1 1 1 1\n",
                                  "line 2: fish takes 15 numbers, 14 given"},
                    MalformedCase{"area 10 10\nrandom 0.5 0.5x\n",
                                  "line 2: \"0.5x\" is not a number"},
                    MalformedCase{"area 10 10\nschool 3\n", "line 2: unknown keyword \"school\""},
                    MalformedCase{"area 10 10\nfish 0 0 1 1 1 1 1 1 1 1 1 1 1 1 1 # note\n",
                                  "line 2: fish takes 15 numbers, 17 given"}));

} // namespace
} // namespace tavren::tool
