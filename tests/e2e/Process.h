#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace dorvath::e2e {

// Changes to the environment a program is started with: "NAME=value" sets a variable,
// a bare "NAME" removes it.
using EnvChanges = std::vector<std::string>;

struct Finished {
    int status = -1;  // exit status, or 128 + signal number
    std::string out;
    std::string err;
};

// Runs a program to its end and returns what it printed.
Finished Run(const std::vector<std::string>& argv, const EnvChanges& env = {});

// Starts a program in the background, its output going to logPath.
pid_t Start(const std::vector<std::string>& argv, const EnvChanges& env,
            const std::string& logPath);

// The exit status (128 + signal number for a signal) once the program has ended, or
// nothing if it is still running after the timeout.
std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds timeout);

// Stops a background program for good.
void Stop(pid_t pid);

// A private X server, for as long as this object lives.
class Xvfb {
public:
    Xvfb(int width, int height);
    ~Xvfb();
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    // ":N", or empty if the server did not start.
    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace dorvath::e2e
