// Start-up: the application object, the main window with its components and then its
// creation handler, the window shown (which runs its show handler), the event loop.

#include <QFontInfo>
#include <QGuiApplication>
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
    // A compositor or dock pairs the window with its desktop entry, and so its icon, by this.
    QGuiApplication::setDesktopFileName(QStringLiteral(DORVATH_APP_ID));
    TApplication Application(argc, argv);
    // With no font files fontconfig still names its aliases ("Sans Serif"), but none
    // of them resolves to a real font.
    if (QFontInfo(QApplication::font()).family().isEmpty()) {
        dorvath::FailStartup(
            "Dorvath: no font is available to label the buttons with; install any font "
            "with your system's package manager or software centre, then start Dorvath again");
    }
    TForm1 Form1;
    Form1.show();
    startup.reset();
    return Application.exec();
}
