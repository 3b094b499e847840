// kx-emulator: one emulated reader on a pseudo-terminal or over TCP, for trying the SDK and the
// program without hardware.
#include <signal.h>

#include <unistd.h>

#include <iostream>
#include <mutex>

#include "emulator_options.h"
#include "kxemu/module_server.h"
#include "kxemu/pty_server.h"
#include "kxemu/switching_reader.h"
#include "kxemu/tcp_server.h"

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
  kxemu::TcpServer tcp(model);
  std::string error;
  const kxemu::EmulatorOptions& switchable = *parsed.options;
  std::mutex outputMutex;
  kxemu::SwitchingReaderSettings usb;
  usb.ptyLink = switchable.ptyLink;
  usb.busFolder = switchable.hidBus;
  usb.busKey = "kx-emulator-" + std::to_string(getpid());
  usb.hid.serial = switchable.hidSerial;
  const std::string hidName = switchable.hidSerial.value_or("7731-????") + " HID";
  kxemu::SwitchingReader usbReader(
      model, usb, [&](kxemu::UsbPersonality personality, const std::string& device) {
        std::lock_guard<std::mutex> lock(outputMutex);
        if (personality == kxemu::UsbPersonality::kHid)
          std::cout << "hid " << hidName << std::endl;
        else
          std::cout << "pty " << device << std::endl;
      });
  if (!switchable.hidBus.empty()) {
    std::lock_guard<std::mutex> lock(outputMutex);
    if (!usbReader.Start(switchable.startAsHid ? kxemu::UsbPersonality::kHid
                                               : kxemu::UsbPersonality::kVirtualCom,
                         &error)) {
      std::cerr << "kx-emulator: " << error << "\n";
      return 1;
    }
    std::cout << (switchable.startAsHid ? hidName : usbReader.DevicePath()) << std::endl;
  } else if (!parsed.options->ptyLink.empty()) {
    if (!server.Start(parsed.options->ptyLink, &error)) {
      std::cerr << "kx-emulator: " << error << "\n";
      return 1;
    }
    std::cout << server.DevicePath() << std::endl;
  }
  if (parsed.options->tcpPort != 0) {
    if (!tcp.Start(parsed.options->tcpAddress, parsed.options->tcpPort, &error)) {
      std::cerr << "kx-emulator: " << error << "\n";
      return 1;
    }
    std::cout << parsed.options->tcpAddress << "-" << parsed.options->tcpPort << std::endl;
  }

  const kxemu::EmulatorOptions& options = *parsed.options;
  kxemu::ModuleSettings settings;
  if (options.networkModule) {
    const std::optional<kxlf::Ipv4> address = kxlf::ParseIpv4(options.tcpAddress);
    if (!address || *address == kxlf::Ipv4{}) {
      std::cerr << "kx-emulator: the network module needs the reader's own address at --tcp\n";
      return 2;
    }
    settings.address = *address;
    settings.port = options.tcpPort;
    settings.dhcp = !options.dhcpName.empty();
    settings.dhcpName = options.dhcpName;
    settings.makerCode = options.makerCode;
  }
  kxemu::NetworkModule networkModule(settings);
  kxemu::ModuleServer moduleServer(
      networkModule, &tcp,
      options.interface.empty() ? kxemu::AddressMover{} : kxemu::InterfaceMover(options.interface));
  if (options.networkModule) {
    if (!moduleServer.Start(&error)) {
      std::cerr << "kx-emulator: " << error << "\n";
      return 1;
    }
  }

  int signalNumber = 0;
  sigwait(&stopSignals, &signalNumber);
  moduleServer.Stop();
  tcp.Stop();
  server.Stop();
  usbReader.Stop();
  return 0;
}
