#include "log_directory.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kx::app {

namespace {

std::filesystem::path UserDataDirectory() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && std::filesystem::path(xdg).is_absolute())
    return xdg;
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr ? home : "") / ".local" / "share";
}

}  // namespace

QString DefaultLogDirectory(const QString& programDirectory) {
  const std::string program = programDirectory.toStdString();
  if (!program.empty() && access(program.c_str(), W_OK | X_OK) == 0) {
    return programDirectory.endsWith(u'/') ? programDirectory : programDirectory + u'/';
  }
  const std::filesystem::path data = UserDataDirectory() / "Orv Applikationen" / "KX-M71 Vantrel";
  // A directory that cannot be made shows later, as a log line that cannot be written.
  std::error_code ignored;
  std::filesystem::create_directories(data, ignored);
  return QString::fromStdString(data.string()) + u'/';
}

}  // namespace kx::app
