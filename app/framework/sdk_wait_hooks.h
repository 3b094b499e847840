// Keeps the program's windows alive while a reader command of the SDK waits for its answer: the
// SDK runs the GUI's pending events, and (for connections that do not keep their window enabled)
// disables the active window for the wait and gives its focus back afterwards.
#pragma once

namespace kx::ui {

// Registers the hooks with the SDK (KxLfSetWaitHooks); call once the QApplication exists.
void RegisterSdkWaitHooks();
// Takes them back, before the QApplication goes.
void UnregisterSdkWaitHooks();

}  // namespace kx::ui
