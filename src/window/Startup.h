#pragma once

#include <QString>
#include <QtGlobal>
#include <string>
#include <vector>

namespace dorvath {

// The line to print when the window system Qt would use has no display to connect
// to, or empty when there may be one. Takes the command line and the values of
// QT_QPA_PLATFORM, DISPLAY and WAYLAND_DISPLAY (null when unset).
std::string MissingDisplayMessage(int argc, const char* const* argv, const char* qpaPlatform,
                                  const char* display, const char* waylandDisplay);

// Prints one line to stderr and ends the program with a failure status, at once:
// nothing half started is cleaned up.
[[noreturn]] void FailStartup(const std::string& line);

// While it lives, Qt's messages are held back; a fatal one (no usable platform plugin,
// a display that cannot be reached) ends the program with one line instead of an
// abort. Once start-up has succeeded the held messages are passed on as usual.
class StartupMessages {
public:
    StartupMessages();
    ~StartupMessages();
    StartupMessages(const StartupMessages&) = delete;
    StartupMessages& operator=(const StartupMessages&) = delete;

    // The one line a fatal message becomes, given the messages held before it.
    static std::string FatalLine(const QString& fatal,
                                 const std::vector<QString>& platformWarnings);

private:
    QtMessageHandler previous_;
};

}  // namespace dorvath
