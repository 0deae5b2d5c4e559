// Start-up: the application object, the main window with its components and then its
// creation handler, the window shown (which runs its show handler), the event loop.

#include <QFontInfo>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "window/Dorvath_u1.h"
#include "window/Startup.h"
#include "window/TApplication.h"

int main(int argc, char** argv) {
    // Without this check Qt aborts with a page about platform plugins.
    const std::string noDisplay =
        dorvath::MissingDisplayMessage(argc, argv, std::getenv("QT_QPA_PLATFORM"),
                                       std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
    if (!noDisplay.empty()) {
        std::fprintf(stderr, "%s\n", noDisplay.c_str());
        return EXIT_FAILURE;
    }

    std::optional<dorvath::StartupMessages> startup(std::in_place);
    // On Wayland the app id: desktops find our icon and name through dorvath.desktop.
    QGuiApplication::setDesktopFileName(QStringLiteral("dorvath"));
    TApplication Application(argc, argv);
    // With no font files fontconfig still names its aliases ("Sans Serif"), but none
    // of them resolves to a real font.
    if (QFontInfo(QApplication::font()).family().isEmpty()) {
        dorvath::FailStartup(
            "Dorvath: no fonts are installed, so the buttons cannot be labelled; install one "
            "(on Debian: apt-get install fonts-dejavu-core)");
    }
    TForm1 Form1;
    Form1.show();
    startup.reset();
    return Application.exec();
}
