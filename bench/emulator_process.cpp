#include "emulator_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

EmulatorProcess::EmulatorProcess(const std::string& program,
                                 const std::vector<std::string>& extraArguments) {
  link_ = "/tmp/kx-bench-reader-" + std::to_string(::getpid());
  std::vector<std::string> arguments = {program, "--pty", link_};
  arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments)
    argv.push_back(argument.data());
  argv.push_back(nullptr);

  int out[2];
  if (::pipe(out) != 0)
    return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  if (::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
    pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);

  // The program prints the device path as its first line.
  std::string line;
  pollfd fd{out[0], POLLIN, 0};
  while (pid_ > 0 && ::poll(&fd, 1, 5000) > 0) {
    char c;
    if (::read(out[0], &c, 1) != 1 || c == '\n')
      break;
    line += c;
  }
  ::close(out[0]);
  device_ = line;
}

EmulatorProcess::~EmulatorProcess() {
  if (pid_ <= 0)
    return;
  ::kill(pid_, SIGTERM);
  int status;
  ::waitpid(pid_, &status, 0);
}
