// The scenario files of `tavren-tool sim`: a swimming area, the random values the school will
// draw, and fish whose every start value is fixed.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavren::tool {

// A scenario that cannot be read; the message names the line.
class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ScenarioFish {
    double Heading, Speed, X, Y, MaxSpeed, MinSpeed, TurnStep, AccelStep, ViewRadius,
        CollisionRadius, AttackRatio, FleeRatio;
    float R, G, B;
};

struct SimScenario {
    double AreaWidth = 0;
    double AreaHeight = 0;
    std::vector<double> RandomValues;
    std::vector<ScenarioFish> Fish;
};

SimScenario ParseSimScenario(std::string_view text);

// Steps the scenario's school `steps` times and returns one line per fish, "X Y Heading Speed"
// with %.17g. Throws RandomValuesExhausted when the school draws more values than given.
std::string RunSimScenario(const SimScenario& scenario, int64_t steps);

} // namespace tavren::tool
