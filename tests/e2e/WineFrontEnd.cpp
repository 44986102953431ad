#include "tests/e2e/WineFrontEnd.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace tavren::e2e {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

void WineFrontEndTest::SetUp() {
    Prefix = WineRun::Prefix();
    ASSERT_TRUE(Prefix) << WineRun::Error();
    fs::create_directories(ProgramFolder);
    for (const char* file : {SaverName, PackageName}) {
        fs::copy_file(Dist / file, ProgramFolder / file);
    }
}

void WineFrontEndTest::TearDown() {
    if (Prefix) {
        Prefix->StopProcesses();
    }
}

ProcessEnvironment WineFrontEndTest::Environment() const {
    return Prefix->ProgramEnvironment(Xvfb.DisplayName()).Set("TAVREN_DATA", WinePath(DataFolder));
}

std::unique_ptr<ChildProcess>
WineFrontEndTest::StartSaver(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"wine", (ProgramFolder / SaverName).string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return std::make_unique<ChildProcess>(command, Environment());
}

CommandResult WineFrontEndTest::RunHelper(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"wine", Helper.string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return RunCommand(command, Environment());
}

} // namespace tavren::e2e
