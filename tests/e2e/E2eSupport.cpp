#include "tests/e2e/E2eSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>
#include <thread>

extern char** environ;

namespace tavren::e2e {

namespace {

using namespace std::chrono_literals;

constexpr auto StopGraceTime = 5s;
constexpr auto PollInterval = 20ms;

// Owns a file descriptor: one end of a pipe, or a file.
class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : Descriptor(descriptor) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }

    int Get() const { return Descriptor; }
    void Close() {
        if (Descriptor >= 0) {
            close(Descriptor);
        }
        Descriptor = -1;
    }

private:
    int Descriptor;
};

struct Pipe {
    FileDescriptor ReadEnd;
    FileDescriptor WriteEnd;
};

// A pipe whose ends are closed on exec and whose read end never blocks.
Pipe MakePipe() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        throw std::system_error(errno, std::generic_category(), "pipe2");
    }
    fcntl(ends[0], F_SETFL, O_NONBLOCK);
    return {FileDescriptor(ends[0]), FileDescriptor(ends[1])};
}

// Appends what can be read without waiting. False once the writers have all gone.
bool ReadAvailable(const FileDescriptor& readEnd, std::string& text) {
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(readEnd.Get(), buffer, sizeof(buffer));
        if (count > 0) {
            text.append(buffer, static_cast<size_t>(count));
        } else if (count == 0) {
            return false;
        } else if (errno != EINTR) {
            return true;
        }
    }
}

std::string CommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        line += (line.empty() ? "" : " ") + argument;
    }
    return line;
}

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// The child's side of a fork: only async-signal-safe calls from here on.
[[noreturn]] void ExecChild(char* const* argv, char* const* envp,
                            const ChildDescriptors& descriptors, pid_t parent) {
    // A child outlives a test that crashes or is killed for its time only by a moment.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) {
        _exit(127);
    }
    if (descriptors.Output >= 0) {
        dup2(descriptors.Output, STDOUT_FILENO);
    }
    if (descriptors.Error >= 0) {
        dup2(descriptors.Error, STDERR_FILENO);
    }
    for (const int descriptor : descriptors.Kept) {
        fcntl(descriptor, F_SETFD, 0);
    }
    execvpe(argv[0], argv, envp);

    constexpr char message[] = "e2e: cannot run ";
    [[maybe_unused]] ssize_t written = write(STDERR_FILENO, message, sizeof(message) - 1);
    written = write(STDERR_FILENO, argv[0], strlen(argv[0]));
    written = write(STDERR_FILENO, "\n", 1);
    _exit(127);
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, Clock::duration timeout,
               Clock::duration interval) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(interval);
    }
}

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

ProcessEnvironment ProcessEnvironment::Inherited() {
    ProcessEnvironment environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        const size_t equals = text.find('=');
        if (equals != std::string_view::npos) {
            environment.Variables.emplace(text.substr(0, equals), text.substr(equals + 1));
        }
    }
    return environment;
}

ProcessEnvironment& ProcessEnvironment::Set(const std::string& name, const std::string& value) {
    Variables[name] = value;
    return *this;
}

ProcessEnvironment& ProcessEnvironment::Unset(const std::string& name) {
    Variables.erase(name);
    return *this;
}

std::vector<std::string> ProcessEnvironment::Entries() const {
    std::vector<std::string> entries;
    for (const auto& [name, value] : Variables) {
        entries.push_back(name + "=" + value);
    }
    return entries;
}

ChildProcess::ChildProcess(const std::vector<std::string>& arguments,
                           const ProcessEnvironment& environment,
                           const ChildDescriptors& descriptors) {
    if (arguments.empty()) {
        throw std::invalid_argument("ChildProcess: no program to run");
    }
    std::vector<std::string> argumentCopies = arguments;
    std::vector<std::string> entries = environment.Entries();
    const std::vector<char*> argv = PointersTo(argumentCopies);
    const std::vector<char*> envp = PointersTo(entries);
    const pid_t parent = getpid();

    ProcessId = fork();
    if (ProcessId < 0) {
        throw std::system_error(errno, std::generic_category(), "fork " + arguments[0]);
    }
    if (ProcessId == 0) {
        ExecChild(argv.data(), envp.data(), descriptors, parent);
    }
}

ChildProcess::~ChildProcess() {
    Stop();
}

bool ChildProcess::IsRunning() {
    Reap(false);
    return !ExitCode;
}

std::optional<int> ChildProcess::WaitForExit(Clock::duration timeout) {
    WaitUntil([this] { return !IsRunning(); }, timeout, PollInterval);
    return ExitCode;
}

void ChildProcess::Stop() {
    if (!IsRunning()) {
        return;
    }
    kill(ProcessId, SIGTERM);
    if (!WaitForExit(StopGraceTime)) {
        kill(ProcessId, SIGKILL);
        Reap(true);
    }
}

void ChildProcess::Reap(bool block) {
    if (ExitCode) {
        return;
    }
    int status = 0;
    pid_t result;
    do {
        result = waitpid(ProcessId, &status, block ? 0 : WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result == ProcessId) {
        ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    } else if (result < 0) {
        // Not our child any more (cannot happen unless someone else reaped it): treat as ended.
        ExitCode = 128 + SIGKILL;
    }
}

CommandResult RunCommand(const std::vector<std::string>& arguments,
                         const ProcessEnvironment& environment, Clock::duration timeout) {
    Pipe output = MakePipe();
    ChildDescriptors descriptors;
    descriptors.Output = output.WriteEnd.Get();
    ChildProcess child(arguments, environment, descriptors);
    output.WriteEnd.Close();

    // Reads until the program has ended rather than to the end of the pipe: a daemon it started
    // (wineserver, say) may hold the pipe open for much longer.
    CommandResult result;
    const auto deadline = Clock::now() + timeout;
    bool pipeOpen = true;
    for (;;) {
        const bool ended = !child.IsRunning();
        if (pipeOpen) {
            pipeOpen = ReadAvailable(output.ReadEnd, result.Output);
        }
        if (ended) {
            break;
        }
        if (Clock::now() >= deadline) {
            child.Stop();
            throw std::runtime_error("'" + CommandLine(arguments) + "' did not end in time");
        }
        pollfd readable{output.ReadEnd.Get(), POLLIN, 0};
        poll(&readable, pipeOpen ? 1 : 0, static_cast<int>(PollInterval.count()));
    }
    result.ExitCode = *child.WaitForExit(Clock::duration::zero());
    return result;
}

TemporaryFolder::TemporaryFolder(std::string_view namePrefix) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string(namePrefix) + ".XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    }
    FolderPath = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FolderPath, ignored);
}

XvfbServer::XvfbServer(int width, int height) {
    Pipe displayNumber = MakePipe();
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    // What Xvfb says goes to a file of its own, read back only when it fails to start: a
    // working server still complains about each display number it found taken.
    const FileDescriptor log(memfd_create("Xvfb", MFD_CLOEXEC));
    const int numberFd = displayNumber.WriteEnd.Get();
    ChildDescriptors descriptors;
    descriptors.Output = log.Get();
    descriptors.Error = log.Get();
    descriptors.Kept = {numberFd};
    Server.emplace(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(numberFd),
                                            "-noreset", "-nolisten", "tcp", "-screen", "0", screen},
                   ProcessEnvironment::Inherited(), descriptors);
    displayNumber.WriteEnd.Close();

    // Xvfb writes the number once it accepts clients.
    std::string reply;
    const auto numberWritten = [&] { return reply.find('\n') != std::string::npos; };
    WaitUntil(
        [&] {
            ReadAvailable(displayNumber.ReadEnd, reply);
            return numberWritten() || !Server->IsRunning();
        },
        30s);
    if (!numberWritten()) {
        std::string said;
        lseek(log.Get(), 0, SEEK_SET);
        ReadAvailable(log, said);
        throw std::runtime_error("Xvfb did not report a display number:\n" + said);
    }
    Name = ":" + reply.substr(0, reply.find('\n'));
}

WinePrefix::WinePrefix(const std::string& displayName) : Folder("tavren-e2e-wine") {
    std::filesystem::create_directory(Folder.Path() / "home");
    std::filesystem::create_directory(Folder.Path() / "tmp");
    const ProcessEnvironment environment = ProgramEnvironment(displayName);
    try {
        const CommandResult boot = RunCommand({"wineboot", "-i"}, environment, 5min);
        if (boot.ExitCode != 0) {
            throw std::runtime_error("wineboot -i failed with exit code " +
                                     std::to_string(boot.ExitCode));
        }
        // wineboot leaves the last of its work to processes that end by themselves.
        RunCommand({"wineserver", "-w"}, environment, 2min);
    } catch (const std::exception&) {
        StopProcesses();
        throw;
    }
}

WinePrefix::~WinePrefix() {
    try {
        StopProcesses();
    } catch (const std::exception&) {
        // The folder goes anyway; a process still running in it has lost its files.
    }
}

ProcessEnvironment WinePrefix::ProgramEnvironment(const std::string& displayName) const {
    const std::filesystem::path home = Folder.Path() / "home";
    return ProcessEnvironment::Inherited()
        .Set("DISPLAY", displayName)
        .Set("WINEPREFIX", (Folder.Path() / "prefix").string())
        .Set("HOME", home.string())
        // Where wineserver makes its socket folder, which would otherwise outlive the prefix.
        .Set("TMPDIR", (Folder.Path() / "tmp").string())
        .Set("XDG_CONFIG_HOME", (home / ".config").string())
        .Set("XDG_DATA_HOME", (home / ".local/share").string())
        .Set("XDG_CACHE_HOME", (home / ".cache").string())
        .Set("WINEDEBUG", "-all")
        .Set("WINEDLLOVERRIDES", "mscoree,mshtml=")
        .Set("LANG", "C.UTF-8");
}

void WinePrefix::StopProcesses() const {
    const ProcessEnvironment environment = ProgramEnvironment("");
    // Exit code 1 means no server was running: nothing to stop.
    RunCommand({"wineserver", "-k"}, environment);
    RunCommand({"wineserver", "-w"}, environment);
}

} // namespace tavren::e2e
