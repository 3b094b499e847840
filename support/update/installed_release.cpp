#include "update/installed_release.h"

#include <time.h>

#include <system_error>

#include "update/version_number.h"

namespace kx::update {

std::string BuildDateText(std::chrono::system_clock::time_point time) {
  const time_t seconds = std::chrono::system_clock::to_time_t(time);
  tm local{};
  if (localtime_r(&seconds, &local) == nullptr)
    return {};
  char text[32];
  const size_t length = strftime(text, sizeof text, "%Y-%m-%d", &local);
  return std::string(text, length);
}

InstalledRelease RunningRelease() {
  InstalledRelease release{InstalledVersionText(KX_PRODUCT_VERSION), {}};
  std::error_code error;
  const auto modified = std::filesystem::last_write_time("/proc/self/exe", error);
  if (!error)
    release.build = BuildDateText(std::chrono::file_clock::to_sys(modified));
  return release;
}

}  // namespace kx::update
