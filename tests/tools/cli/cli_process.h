// kx-cli run as a child process with its own settings directory, its output collected while it
// runs so that a test can act on what it printed so far.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace kx::cli::testing {

struct CliResult {
  int exitCode = -1;  // 128 + signal when the process was killed
  std::string out;
  std::string err;

  std::vector<std::string> OutLines() const {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(out.substr(start, end - start));
    return lines;
  }
};

// Polls `condition` every 10 ms until it holds or `timeout` passes.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

class CliProcess {
 public:
  // `configHome` becomes XDG_CONFIG_HOME, so that the program's settings of the machine do not
  // leak into the test. `extraVariables` ("NAME=value") are given to the child alone: a setenv()
  // in the test would race with the emulator threads that start processes of their own.
  CliProcess(const std::vector<std::string>& args, const std::string& configHome,
             const std::vector<std::string>& extraVariables = {}) {
    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
      return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    std::vector<std::string> arguments = {KX_CLI_PROGRAM};
    arguments.insert(arguments.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments)
      argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
      if (std::strncmp(*variable, "XDG_CONFIG_HOME=", 16) != 0)
        variables.emplace_back(*variable);
    }
    variables.push_back("XDG_CONFIG_HOME=" + configHome);
    variables.insert(variables.end(), extraVariables.begin(), extraVariables.end());
    std::vector<char*> envp;
    for (std::string& variable : variables)
      envp.push_back(variable.data());
    envp.push_back(nullptr);

    if (posix_spawn(&pid_, KX_CLI_PROGRAM, &actions, nullptr, argv.data(), envp.data()) != 0)
      pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    reader_ = std::thread([this, out = outPipe[0], err = errPipe[0]] { Collect(out, err); });
  }

  ~CliProcess() {
    if (pid_ > 0 && !waited_) {
      kill(pid_, SIGKILL);
      Wait();
    }
    if (reader_.joinable())
      reader_.join();
  }
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  void Signal(int signalNumber) { kill(pid_, signalNumber); }

  std::string Out() const {
    std::lock_guard lock(mutex_);
    return result_.out;
  }
  std::string Err() const {
    std::lock_guard lock(mutex_);
    return result_.err;
  }
  size_t OutLineCount() const {
    const std::string out = Out();
    return static_cast<size_t>(std::count(out.begin(), out.end(), '\n'));
  }

  // Waits for the process to end and for all of its output.
  CliResult Wait() {
    if (!waited_ && pid_ > 0) {
      int status = 0;
      while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
      }
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      waited_ = true;
    }
    if (reader_.joinable())
      reader_.join();
    std::lock_guard lock(mutex_);
    CliResult result = result_;
    result.exitCode = exitCode_;
    return result;
  }

 private:
  void Collect(int out, int err) {
    pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
    int open = 2;
    while (open > 0) {
      if (poll(fds, 2, -1) < 0) {
        if (errno == EINTR)
          continue;
        break;
      }
      for (int i = 0; i < 2; ++i) {
        if (fds[i].fd < 0 || fds[i].revents == 0)
          continue;
        char buffer[4096];
        const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
        if (got <= 0) {
          close(fds[i].fd);
          fds[i].fd = -1;
          --open;
          continue;
        }
        std::lock_guard lock(mutex_);
        (i == 0 ? result_.out : result_.err).append(buffer, static_cast<size_t>(got));
      }
    }
  }

  pid_t pid_ = -1;
  bool waited_ = false;
  int exitCode_ = -1;
  std::thread reader_;
  mutable std::mutex mutex_;
  CliResult result_;
};

// Runs kx-cli to its end.
inline CliResult RunCli(const std::vector<std::string>& args, const std::string& configHome,
                        const std::vector<std::string>& extraVariables = {}) {
  CliProcess process(args, configHome, extraVariables);
  return process.Wait();
}

}  // namespace kx::cli::testing
