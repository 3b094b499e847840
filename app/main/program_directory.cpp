#include "program_directory.h"

#include <QCoreApplication>
#include <filesystem>
#include <system_error>

namespace kx::app {

QString GetProgramDirectory() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error && executable.has_parent_path())
    return QString::fromStdString(executable.parent_path().string());
  // Without /proc, the path Qt worked out from the command line.
  return QCoreApplication::applicationDirPath();
}

}  // namespace kx::app
