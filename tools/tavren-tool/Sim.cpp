#include "Arguments.h"
#include "Commands.h"
#include "SimScenario.h"

#include "Boids/Boid.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace tavren::tool {

int RunSim(std::span<const std::string_view> arguments) {
    if (arguments.empty() || arguments[0].starts_with("--")) {
        throw UsageError("the scenario file is missing");
    }
    const std::string path(arguments[0]);
    OptionReader options(arguments.subspan(1));
    const std::string_view stepsText = options.Require("--steps");
    options.RejectLeftovers();
    const auto steps = ParseCount(stepsText, 1'000'000'000'000);
    if (!steps) {
        throw UsageError("--steps takes a whole number from 0");
    }

    // Scenario problems are one line on standard error and status 2, as for a bad command line.
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "error: %s: cannot be opened\n", path.c_str());
        return 2;
    }
    std::ostringstream text;
    text << file.rdbuf();
    try {
        const SimScenario scenario = ParseSimScenario(text.str());
        std::fputs(RunSimScenario(scenario, *steps).c_str(), stdout);
    } catch (const ScenarioError& error) {
        std::fprintf(stderr, "error: %s: %s\n", path.c_str(), error.what());
        return 2;
    } catch (const RandomValuesExhausted&) {
        std::fprintf(stderr,
                     "error: %s: the school needs more random values than the scenario gives\n",
                     path.c_str());
        return 2;
    }
    return 0;
}

} // namespace tavren::tool
