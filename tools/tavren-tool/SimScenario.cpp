#include "SimScenario.h"

#include "Boids/Boid.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace tavren::tool {

namespace {

constexpr size_t FishValueCount = 15;

std::vector<std::string> SplitTokens(std::string_view line) {
    std::vector<std::string> tokens;
    std::istringstream stream{std::string(line)};
    for (std::string token; stream >> token;) {
        tokens.push_back(token);
    }
    return tokens;
}

[[noreturn]] void Fail(size_t lineNumber, const std::string& what) {
    throw ScenarioError("line " + std::to_string(lineNumber) + ": " + what);
}

// The whole token must be a number as strtod/strtof read it (inf and nan included).
template <typename Number> Number ParseNumber(const std::string& token, size_t lineNumber) {
    char* end = nullptr;
    errno = 0;
    const Number value = [&] {
        if constexpr (sizeof(Number) == sizeof(float)) {
            return std::strtof(token.c_str(), &end);
        } else {
            return std::strtod(token.c_str(), &end);
        }
    }();
    if (end == token.c_str() || *end != '\0') {
        Fail(lineNumber, "\"" + token + "\" is not a number");
    }
    return value;
}

} // namespace

SimScenario ParseSimScenario(std::string_view text) {
    SimScenario scenario;
    bool areaSeen = false;
    size_t lineNumber = 0;
    while (!text.empty() || lineNumber == 0) {
        ++lineNumber;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

        const std::vector<std::string> tokens = SplitTokens(line);
        if (tokens.empty() || tokens[0][0] == '#') {
            continue;
        }
        const std::string& keyword = tokens[0];
        const size_t valueCount = tokens.size() - 1;
        auto number = [&](size_t index) { return ParseNumber<double>(tokens[index], lineNumber); };

        if (keyword == "area") {
            if (areaSeen) {
                Fail(lineNumber, "a second area line");
            }
            if (!scenario.Fish.empty()) {
                Fail(lineNumber, "the area line must come before any fish");
            }
            if (valueCount != 2) {
                Fail(lineNumber, "area takes 2 numbers, width and height");
            }
            scenario.AreaWidth = std::fabs(number(1));
            scenario.AreaHeight = std::fabs(number(2));
            areaSeen = true;
        } else if (keyword == "random") {
            for (size_t index = 1; index < tokens.size(); ++index) {
                scenario.RandomValues.push_back(number(index));
            }
        } else if (keyword == "fish") {
            if (!areaSeen) {
                Fail(lineNumber, "a fish before the area line");
            }
            if (valueCount != FishValueCount) {
                Fail(lineNumber, "fish takes 15 numbers, " + std::to_string(valueCount) + " given");
            }
            scenario.Fish.push_back(ScenarioFish{number(1), number(2), number(3), number(4),
                                                 number(5), number(6), number(7), number(8),
                                                 number(9), number(10), number(11), number(12),
                                                 ParseNumber<float>(tokens[13], lineNumber),
                                                 ParseNumber<float>(tokens[14], lineNumber),
                                                 ParseNumber<float>(tokens[15], lineNumber)});
        } else {
            Fail(lineNumber, "unknown keyword \"" + keyword + "\"");
        }
    }
    return scenario;
}

std::string RunSimScenario(const SimScenario& scenario, int64_t steps) {
    TFlock school(1, scenario.AreaHeight, scenario.AreaWidth,
                  std::make_unique<SequenceRandom>(scenario.RandomValues));
    for (const ScenarioFish& fish : scenario.Fish) {
        auto color = std::make_unique<TColor>(fish.R, fish.G, fish.B);
        const TBoidGene gene(color.get(), fish.Heading, fish.Speed, fish.X, fish.Y, fish.MaxSpeed,
                             fish.MinSpeed, fish.TurnStep, fish.AccelStep, fish.ViewRadius,
                             fish.CollisionRadius, fish.AttackRatio, fish.FleeRatio, &school, 0);
        auto boid = std::make_unique<TBoid>(gene);
        color.release();
        school.AppendBoid(std::move(boid));
    }
    for (int64_t step = 0; step < steps; ++step) {
        school.Update();
    }
    std::string output;
    char line[128];
    for (const std::unique_ptr<TBoid>& fish : school.Fish()) {
        std::snprintf(line, sizeof line, "%.17g %.17g %.17g %.17g\n", fish->GetX(), fish->GetY(),
                      fish->GetHeading(), fish->GetSpeed());
        output += line;
    }
    return output;
}

} // namespace tavren::tool
