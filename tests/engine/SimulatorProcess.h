#pragma once
// Programs as a user runs them: zr4700-sim in a process of its own, and zrwin against it.

#include "EngineTestSupport.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace zr4700::test {

// Starts a program with stdout and stderr going to files, the environment variable
// ZR4700_DEVICE set to device and the variables of extraEnvironment ("NAME=VALUE") set too.
// Returns the process id, or -1.
inline pid_t Start(const std::vector<std::string>& arguments, const std::string& device,
                   const std::string& outPath, const std::string& errPath,
                   const std::vector<std::string>& extraEnvironment = {}) {
    std::vector<std::string> overrides = extraEnvironment;
    overrides.push_back("ZR4700_DEVICE=" + device);
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text(*entry);
        const std::string name = text.substr(0, text.find('=') + 1);
        bool overridden = false;
        for (const std::string& override : overrides) {
            overridden = overridden || override.rfind(name, 0) == 0;
        }
        if (!overridden) {
            environment.push_back(text);
        }
    }
    environment.insert(environment.end(), overrides.begin(), overrides.end());
    std::vector<char*> envp, argv;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> argumentCopy = arguments;
    for (std::string& argument : argumentCopy) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

inline int WaitExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

struct ZrwinRun {
    int status;
    std::string out, err;
};

// How the simulator is reached: unix:PATH, or tcp:127.0.0.1:PORT on a port it chose itself.
enum class SimTransport { Unix, Tcp };

// A zr4700-sim process for one test, stopped with SIGTERM at the end.
class Simulator {
  public:
    Simulator(const test::TempDir& dir, std::vector<std::string> options,
              SimTransport transport = SimTransport::Unix)
        : dir_(dir) {
        socket_ = dir.file("sim.sock").string();
        std::vector<std::string> arguments = {ZR4700_SIM_PATH, "--record", recordPath(), "--stats",
                                              statsPath()};
        if (transport == SimTransport::Unix) {
            arguments.insert(arguments.end(), {"--socket", socket_});
        } else {
            arguments.insert(arguments.end(), {"--listen", "127.0.0.1:0"});
        }
        arguments.insert(arguments.end(), options.begin(), options.end());
        pid_ = Start(arguments, "", outPath(), errPath());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (pid_ > 0 && !Listening(transport) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    ~Simulator() { Stop(SIGTERM); }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    bool ready() const { return pid_ > 0 && !address_.empty(); }
    std::string address() const { return address_; }
    std::string socketPath() const { return socket_; }
    std::string recordPath() const { return dir_.file("record.bin").string(); }
    std::string statsPath() const { return dir_.file("stats.json").string(); }
    std::string outPath() const { return dir_.file("sim.out").string(); }
    std::string errPath() const { return dir_.file("sim.err").string(); }
    std::string stateHome() const { return dir_.file("state").string(); }
    std::string output() const { return ReadFileBytes(outPath()); }

    // zrwin on this simulator, keeping its records in stateHome() under the test's folder.
    ZrwinRun Zrwin(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), ZRWIN_PATH);
        const std::string out = dir_.file("zrwin.out").string();
        const std::string err = dir_.file("zrwin.err").string();
        const pid_t pid = Start(arguments, address(), out, err, {"XDG_STATE_HOME=" + stateHome()});
        if (pid < 0) {
            return {-1, "", ""};
        }
        const int status = WaitExit(pid);
        return {status, ReadFileBytes(out), ReadFileBytes(err)};
    }

    void Signal(int signal) const { kill(pid_, signal); }

    int Stop(int signal) {
        if (pid_ <= 0) {
            return -1;
        }
        kill(pid_, signal);
        const int status = WaitExit(pid_);
        pid_ = -1;
        return status;
    }

  private:
    // Sets address_ once the simulator listens: the socket file exists, or the first line on
    // stderr names the port taken.
    bool Listening(SimTransport transport) {
        if (transport == SimTransport::Unix) {
            if (std::filesystem::exists(socket_)) {
                address_ = "unix:" + socket_;
            }
            return !address_.empty();
        }
        const std::string err = ReadFileBytes(errPath());
        const std::string marker = "listening on ";
        const std::size_t at = err.find(marker + "tcp:");
        const std::size_t start = at + marker.size();
        const std::size_t end = at == std::string::npos ? at : err.find(' ', start);
        if (end != std::string::npos) {
            address_ = err.substr(start, end - start);
        }
        return !address_.empty();
    }

    const test::TempDir& dir_;
    std::string socket_;
    std::string address_;
    pid_t pid_ = -1;
};

} // namespace zr4700::test
