// Where the two logs lie until the operator chooses other files.
#pragma once

#include <QString>

namespace kx::app {

// The program directory when the program may write there. An installed program may not; its
// logs then go to $XDG_DATA_HOME/Orv Applikationen/KX-M71 Vantrel/ ($HOME/.local/share when
// XDG_DATA_HOME is unset or not absolute), which is created when missing. Ends with "/".
QString DefaultLogDirectory(const QString& programDirectory);

}  // namespace kx::app
