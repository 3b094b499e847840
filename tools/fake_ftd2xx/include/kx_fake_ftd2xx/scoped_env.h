// Sets or removes an environment variable for the life of the object and restores the old
// value afterwards. Tests point the SDK at a test build of the D2XX library this way
// (KXLF_FTD2XX_LIBRARY) and switch its debug texts on (KXLF_DEBUG). Not for use while other
// threads read the environment.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace kxfake {

class ScopedEnv {
 public:
  ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str()))
      old_ = old;
    Apply(value);
  }
  ~ScopedEnv() { Apply(old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Apply(const std::optional<std::string>& value) const {
    if (value) {
      setenv(name_.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }

  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace kxfake
