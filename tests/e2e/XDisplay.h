#pragma once

#include <string>

namespace dorvath::e2e {

// Asks a window to close the way a window manager's close button does (WM_DELETE_WINDOW),
// which xdotool cannot send. Returns false if the display cannot be reached.
bool RequestClose(const std::string& display, unsigned long window);

}  // namespace dorvath::e2e
