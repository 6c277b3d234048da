// Unit_Function: the plain routine that takes the program's button off the taskbar.
#pragma once

namespace platform {

// Hides the application window and gives it the tool-window style, so the taskbar shows no
// button for the program until it ends.
void HideAppTaskbarButton();

}  // namespace platform
