#include "window/Startup.h"

#include <QMessageLogContext>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace dorvath {
namespace {

struct HeldMessage {
    QtMsgType type;
    QString text;
    std::string category;
    std::string file;
    std::string function;
    int line;
};

std::vector<HeldMessage> held;

bool IsPlatformCategory(const char* category) {
    return category != nullptr && std::string_view(category).starts_with("qt.qpa");
}

void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::vector<QString> warnings;
        for (const HeldMessage& m : held) {
            if (m.type != QtDebugMsg && m.type != QtInfoMsg &&
                IsPlatformCategory(m.category.c_str())) {
                warnings.push_back(m.text);
            }
        }
        FailStartup(StartupMessages::FatalLine(text, warnings));
    }
    held.push_back({type, text, context.category ? context.category : "",
                    context.file ? context.file : "", context.function ? context.function : "",
                    context.line});
}

// Qt needs a display server for these; the others (offscreen, vnc, ...) do not.
bool NeedsDisplayServer(std::string_view platform) {
    if (platform.empty())
        return false;
    while (!platform.empty()) {
        const std::size_t end = platform.find(';');
        std::string_view entry = platform.substr(0, end);
        entry = entry.substr(0, entry.find(':'));
        if (entry != "xcb" && !entry.starts_with("wayland"))
            return false;
        if (end == std::string_view::npos)
            break;
        platform.remove_prefix(end + 1);
    }
    return true;
}

bool IsSet(const char* value) {
    return value != nullptr && *value != '\0';
}

std::string FirstLine(const QString& text) {
    const QString line = text.section(QLatin1Char('\n'), 0, 0).trimmed();
    return line.toStdString();
}

}  // namespace

std::string MissingDisplayMessage(int argc, const char* const* argv, const char* qpaPlatform,
                                  const char* display, const char* waylandDisplay) {
#ifdef Q_OS_WIN
    // Windows always has its desktop to open the window on.
    return {};
#endif
    std::string platform = IsSet(qpaPlatform) ? qpaPlatform : "";
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // Qt takes its options with one dash or two.
        if ((arg == "-platform" || arg == "--platform") && i + 1 < argc)
            platform = argv[i + 1];
        if (arg == "-display" || arg == "--display")
            return {};
    }
    // Left to itself, Qt tries Wayland first where WAYLAND_DISPLAY is set, then xcb.
    if (platform.empty())
        platform = IsSet(waylandDisplay) ? "wayland;xcb" : "xcb";
    if (!NeedsDisplayServer(platform) || IsSet(display) || IsSet(waylandDisplay))
        return {};
    return "Dorvath: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is "
           "set); start it from a desktop session, or on a machine without a screen in a "
           "virtual X server: xvfb-run -a Dorvath";
}

void FailStartup(const std::string& line) {
    std::fputs(line.c_str(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

std::string StartupMessages::FatalLine(const QString& fatal,
                                       const std::vector<QString>& platformWarnings) {
    std::string line = "Dorvath: cannot open the window: ";
    // The platform's own warning says what went wrong ("could not connect to display");
    // Qt's fatal message then only says that no plugin could be used.
    if (!platformWarnings.empty())
        line += FirstLine(platformWarnings.front()) + "; ";
    return line + FirstLine(fatal);
}

StartupMessages::StartupMessages() : previous_(qInstallMessageHandler(Hold)) {}

StartupMessages::~StartupMessages() {
    qInstallMessageHandler(previous_);
    for (const HeldMessage& m : held) {
        const QMessageLogContext context(m.file.empty() ? nullptr : m.file.c_str(), m.line,
                                         m.function.empty() ? nullptr : m.function.c_str(),
                                         m.category.empty() ? nullptr : m.category.c_str());
        previous_(m.type, context, m.text);
    }
    held.clear();
}

}  // namespace dorvath
