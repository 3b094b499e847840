// Where the running program lies: the English resource library, the manual and the default log
// files are found there.
#pragma once

#include <QString>

namespace kx::app {

// The directory of the running executable, without a trailing "/".
QString GetProgramDirectory();

}  // namespace kx::app
