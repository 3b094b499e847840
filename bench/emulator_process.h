// Runs the reader emulator program on a pseudo-terminal for the duration of a measurement, so
// that its processor time is not counted with the code under measurement.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class EmulatorProcess {
 public:
  // Starts `program --pty <link> <extraArguments...>` and waits for the device path it prints.
  EmulatorProcess(const std::string& program, const std::vector<std::string>& extraArguments);
  ~EmulatorProcess();
  EmulatorProcess(const EmulatorProcess&) = delete;
  EmulatorProcess& operator=(const EmulatorProcess&) = delete;

  bool Running() const { return pid_ > 0 && !device_.empty(); }
  const std::string& Device() const { return device_; }

 private:
  pid_t pid_ = -1;
  std::string device_;
  std::string link_;
};
