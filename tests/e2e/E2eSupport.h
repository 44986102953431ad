// What the end-to-end tests are built from: child processes, temporary folders, polling, a
// private X server and a private Wine prefix. Every process is started here and ended here by
// its own id, so a test never touches a process it did not start.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavren::e2e {

using Clock = std::chrono::steady_clock;

// Asks `condition` again every `interval` until it holds or `timeout` has passed. True when it
// held.
bool WaitUntil(const std::function<bool()>& condition, Clock::duration timeout,
               Clock::duration interval = std::chrono::milliseconds(20));

// The value of one of this process's environment variables; empty when it is not set.
std::string EnvironmentValue(const char* name);

// The environment a child process gets: this process's own, with changes.
class ProcessEnvironment {
public:
    static ProcessEnvironment Inherited();

    ProcessEnvironment& Set(const std::string& name, const std::string& value);
    ProcessEnvironment& Unset(const std::string& name);
    // "NAME=value" entries, for execve.
    std::vector<std::string> Entries() const;

private:
    std::map<std::string, std::string> Variables;
};

// Descriptors handed to a child process. The child shares this process's standard input, and
// its standard output and error too unless they are given here; `Kept` descriptors stay open in
// the child under the same numbers. Every other descriptor is closed on exec.
struct ChildDescriptors {
    int Output = -1;
    int Error = -1;
    std::vector<int> Kept;
};

// A program the test started. Dropping it while it runs ends it.
class ChildProcess {
public:
    // Runs `arguments[0]`, looked up in the PATH of this process.
    ChildProcess(const std::vector<std::string>& arguments, const ProcessEnvironment& environment,
                 const ChildDescriptors& descriptors = {});
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    pid_t Id() const { return ProcessId; }
    bool IsRunning();
    // Waits up to `timeout` for the process to end by itself. Its exit code, or 128 plus the
    // number of the signal that ended it; empty while it still runs.
    std::optional<int> WaitForExit(Clock::duration timeout);
    // Ends the process if it still runs: SIGTERM, and SIGKILL when that is not enough.
    void Stop();

private:
    // Collects the exit status if the process has ended; waits for it when `block` is set.
    void Reap(bool block);

    pid_t ProcessId = -1;
    std::optional<int> ExitCode;
};

struct CommandResult {
    int ExitCode = -1;
    std::string Output;
};

// Runs a program to its end and collects its standard output; its standard error passes
// through. Throws std::runtime_error if it is still running after `timeout` (it is stopped).
CommandResult RunCommand(const std::vector<std::string>& arguments,
                         const ProcessEnvironment& environment,
                         Clock::duration timeout = std::chrono::seconds(30));

// A folder of its own under the system's temporary folder, removed with all it holds.
class TemporaryFolder {
public:
    explicit TemporaryFolder(std::string_view namePrefix);
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder();

    const std::filesystem::path& Path() const { return FolderPath; }

private:
    std::filesystem::path FolderPath;
};

// A private X server (Xvfb) on a free display number, with one screen of the given size and 24
// bits of colour. It does not reset when its last client leaves, so the pointer stays where a
// test put it.
class XvfbServer {
public:
    XvfbServer(int width, int height);

    // ":N", for DISPLAY.
    const std::string& DisplayName() const { return Name; }

private:
    std::optional<ChildProcess> Server;
    std::string Name;
};

// A Wine prefix of its own in a temporary folder, with a home folder and a Unix temporary
// folder of its own next to it, so that nothing outside the folder is written. Making one runs
// `wineboot -i` (tens of seconds); dropping it ends the prefix's processes and removes the
// folder.
class WinePrefix {
public:
    // `displayName`: the X display wineboot runs on.
    explicit WinePrefix(const std::string& displayName);
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;
    ~WinePrefix();

    // The environment of this prefix's Wine programs on `displayName`.
    ProcessEnvironment ProgramEnvironment(const std::string& displayName) const;
    // Ends every process of the prefix (`wineserver -k`) and waits for its server to go.
    void StopProcesses() const;
    // The HOME of this prefix's Wine programs.
    std::filesystem::path HomeFolder() const { return Folder.Path() / "home"; }

private:
    TemporaryFolder Folder;
};

} // namespace tavren::e2e
