#pragma once

// Programs started from tests and benchmarks, and the private X server they draw on.
// Runs on QProcess, though this header leaves Qt out: it goes along with Xlib's macros.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QProcess;

namespace dorvath::test {

// Changes to the environment a program is started with: "NAME=value" sets a variable,
// a bare "NAME" removes it.
using EnvChanges = std::vector<std::string>;

// The exit status of a program that ended: its exit code, or kKilled when a signal
// ended it.
inline constexpr int kKilled = 128;

struct Finished {
    int status = -1;  // -1 when the program could not be started
    std::string out;
    std::string err;
};

// Asks every 100 ms until done() holds or the timeout has passed; says which.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// Runs a program to its end and returns what it printed.
Finished Run(const std::vector<std::string>& argv, const EnvChanges& env = {});

// A program running in the background, stopped when this object goes.
class Program {
public:
    // Its output goes to logPath, or where this process's own goes when logPath is empty.
    Program(const std::vector<std::string>& argv, const EnvChanges& env,
            const std::string& logPath = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The process id while it runs, else 0.
    std::int64_t Pid() const;
    // The exit status once it has ended, or nothing if it still runs after the timeout.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    // Asks it to end (SIGTERM), and kills it if it does not; returns its exit status.
    int Stop();

private:
    std::unique_ptr<QProcess> process_;
};

// A private X server for as long as this object lives, on a display it finds free
// itself; its root window is black.
class Xvfb {
public:
    Xvfb(int width, int height);
    ~Xvfb();
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    // ":N", or empty if the server did not start.
    const std::string& Display() const { return display_; }
    std::int64_t Pid() const;

private:
    std::unique_ptr<QProcess> server_;
    std::string display_;
};

}  // namespace dorvath::test
