#include "Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

extern char** environ;

namespace dorvath::e2e {
namespace {

std::vector<std::string> Environment(const EnvChanges& changes) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool changed = false;
        for (const std::string& c : changes)
            changed |= c.substr(0, c.find('=')) == name;
        if (!changed)
            env.push_back(entry);
    }
    for (const std::string& c : changes) {
        if (c.find('=') != std::string::npos)
            env.push_back(c);
    }
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> p;
    for (std::string& s : strings)
        p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

pid_t Spawn(const std::vector<std::string>& argv, const EnvChanges& changes,
            posix_spawn_file_actions_t* actions) {
    std::vector<std::string> args = argv;
    std::vector<std::string> env = Environment(changes);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0].c_str(), actions, nullptr, Pointers(args).data(),
                     Pointers(env).data()) != 0) {
        return -1;
    }
    return pid;
}

int StatusOf(int raw) {
    if (WIFEXITED(raw))
        return WEXITSTATUS(raw);
    if (WIFSIGNALED(raw))
        return 128 + WTERMSIG(raw);
    return -1;
}

}  // namespace

Finished Run(const std::vector<std::string>& argv, const EnvChanges& env) {
    int out[2];
    int err[2];
    Finished result;
    if (pipe2(out, O_CLOEXEC) != 0)
        return result;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    const pid_t pid = Spawn(argv, env, &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);

    // Both pipes are drained together, so that neither can fill up and stall the program.
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    char buffer[65536];
    while (pid > 0 && open > 0) {
        if (poll(fds, 2, -1) < 0)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    close(out[0]);
    close(err[0]);
    int raw = 0;
    if (pid > 0 && waitpid(pid, &raw, 0) == pid)
        result.status = StatusOf(raw);
    return result;
}

pid_t Start(const std::vector<std::string>& argv, const EnvChanges& env,
            const std::string& logPath) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    const pid_t pid = Spawn(argv, env, &actions);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int raw = 0;
        const pid_t done = waitpid(pid, &raw, WNOHANG);
        if (done == pid)
            return StatusOf(raw);
        if (done < 0)
            return -1;
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void Stop(pid_t pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    if (!WaitForExit(pid, std::chrono::seconds(10))) {
        kill(pid, SIGKILL);
        WaitForExit(pid, std::chrono::seconds(10));
    }
}

Xvfb::Xvfb(int width, int height) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return;
    // The server picks a free display itself and writes its number to this descriptor,
    // which spares us guessing and racing for one.
    constexpr int kDisplayFd = 3;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], kDisplayFd);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid_ = Spawn({"Xvfb", "-displayfd", std::to_string(kDisplayFd), "-screen", "0", screen,
                  "-nolisten", "tcp"},
                 {}, &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);

    std::string number;
    pollfd fd = {fds[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (pid_ > 0 && number.find('\n') == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        if (poll(&fd, 1, 200) <= 0)
            continue;
        char c[16];
        const ssize_t n = read(fds[0], c, sizeof c);
        if (n <= 0)
            break;
        number.append(c, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    if (number.find('\n') != std::string::npos) {
        // Appended rather than ":" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) on that.
        display_ = std::string(":").append(number, 0, number.find('\n'));
    }
}

Xvfb::~Xvfb() {
    Stop(pid_);
}

}  // namespace dorvath::e2e
