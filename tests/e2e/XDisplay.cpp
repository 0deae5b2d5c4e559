#include "XDisplay.h"

// Xlib's macros (None, Status, Bool...) stay in this file.
#include <X11/Xlib.h>

namespace dorvath::e2e {

bool RequestClose(const std::string& display, unsigned long window) {
    ::Display* d = XOpenDisplay(display.c_str());
    if (d == nullptr)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, window, False, NoEventMask, &event);
    XCloseDisplay(d);
    return true;
}

}  // namespace dorvath::e2e
