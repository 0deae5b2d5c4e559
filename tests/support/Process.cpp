#include "support/Process.h"

#include <thread>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace dorvath::test {
namespace {

QProcessEnvironment Environment(const EnvChanges& changes) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const std::string& change : changes) {
        const std::size_t eq = change.find('=');
        if (eq == std::string::npos) {
            env.remove(QString::fromStdString(change));
        } else {
            env.insert(QString::fromStdString(change.substr(0, eq)),
                       QString::fromStdString(change.substr(eq + 1)));
        }
    }
    return env;
}

std::unique_ptr<QProcess> NewProcess(const std::vector<std::string>& argv, const EnvChanges& env) {
    auto process = std::make_unique<QProcess>();
    QStringList arguments;
    for (std::size_t i = 1; i < argv.size(); ++i)
        arguments << QString::fromStdString(argv[i]);
    process->setProgram(QString::fromStdString(argv.at(0)));
    process->setArguments(arguments);
    process->setProcessEnvironment(Environment(env));
    return process;
}

int StatusOf(const QProcess& process) {
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : kKilled;
}

int StopProcess(QProcess& process) {
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(10'000)) {
            process.kill();
            process.waitForFinished(10'000);
        }
    }
    return StatusOf(process);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

Finished Run(const std::vector<std::string>& argv, const EnvChanges& env) {
    const std::unique_ptr<QProcess> process = NewProcess(argv, env);
    Finished result;
    process->start();
    // Both channels are read as they come, so that neither can fill up and stall it.
    if (!process->waitForStarted(-1) || !process->waitForFinished(-1))
        return result;
    result.status = StatusOf(*process);
    result.out = process->readAllStandardOutput().toStdString();
    result.err = process->readAllStandardError().toStdString();
    return result;
}

Program::Program(const std::vector<std::string>& argv, const EnvChanges& env,
                 const std::string& logPath)
    : process_(NewProcess(argv, env)) {
    if (logPath.empty()) {
        process_->setProcessChannelMode(QProcess::ForwardedChannels);
    } else {
        process_->setProcessChannelMode(QProcess::MergedChannels);
        process_->setStandardOutputFile(QString::fromStdString(logPath));
    }
    process_->start();
    process_->waitForStarted(-1);
}

Program::~Program() {
    Stop();
}

std::int64_t Program::Pid() const {
    return process_->processId();
}

std::optional<int> Program::WaitForExit(std::chrono::milliseconds timeout) {
    if (process_->state() != QProcess::NotRunning &&
        !process_->waitForFinished(static_cast<int>(timeout.count()))) {
        return std::nullopt;
    }
    return StatusOf(*process_);
}

int Program::Stop() {
    return StopProcess(*process_);
}

Xvfb::Xvfb(int width, int height)
    : server_(NewProcess(
          {"Xvfb",
           // The server picks a free display itself and writes its number to
           // this descriptor, its standard output: no guessing, no racing.
           "-displayfd", "1", "-screen", "0",
           std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp",
           "-br",        // a black root window
           "-noreset"},  // the last client leaving resets nothing
          {})) {
    server_->setStandardErrorFile(QProcess::nullDevice());
    server_->start();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    QByteArray number;
    while (!number.contains('\n') && std::chrono::steady_clock::now() < deadline &&
           server_->state() != QProcess::NotRunning) {
        if (server_->waitForReadyRead(200))
            number += server_->readAllStandardOutput();
    }
    if (number.contains('\n'))
        display_ = (':' + number.left(number.indexOf('\n'))).toStdString();
}

Xvfb::~Xvfb() {
    StopProcess(*server_);
}

std::int64_t Xvfb::Pid() const {
    return server_->processId();
}

}  // namespace dorvath::test
