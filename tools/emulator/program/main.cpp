// kx-emulator: one emulated reader on a pseudo-terminal, for trying the SDK and the program
// without hardware.
#include <signal.h>

#include <iostream>

#include "emulator_options.h"
#include "kxemu/pty_server.h"

int main(int argc, char** argv) {
  const kxemu::ParsedOptions parsed =
      kxemu::ParseEmulatorOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    std::cerr << "kx-emulator: " << parsed.error << "\n(--help lists the options)\n";
    return 2;
  }
  if (parsed.options->help) {
    std::cout << kxemu::EmulatorUsage();
    return 0;
  }

  // Blocked before the serving thread exists, so that only sigwait below receives them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  kxemu::ReaderModel model(parsed.options->reader);
  model.SetFaults(parsed.options->faults);
  kxemu::PtyServer server(model);
  std::string error;
  if (!server.Start(parsed.options->ptyLink, &error)) {
    std::cerr << "kx-emulator: " << error << "\n";
    return 1;
  }
  std::cout << server.DevicePath() << std::endl;

  int signalNumber = 0;
  sigwait(&stopSignals, &signalNumber);
  server.Stop();
  return 0;
}
