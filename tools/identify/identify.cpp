// kx-identify: opens a reader by port name and prints who it is.
//
//   kx-identify PORT [--baud N] [--timeout MS]
//
// PORT is what the SDK's open takes: a device path such as /dev/ttyUSB0 (optionally ":" and a
// device address), COMn, or an FTDI serial number.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "kxlf.h"
#include "link/reader_identity.h"

namespace {

constexpr const char* kHelp =
    "Usage: kx-identify PORT [--baud N] [--timeout MS]\n"
    "Opens a KX reader and prints its port, model, version answer and firmware.\n"
    "\n"
    "  PORT           a device path such as /dev/ttyUSB0 (\":N\" at the end picks device\n"
    "                 address N), COMn, or an FTDI serial number\n"
    "  --baud N       baud rate (default 19200)\n"
    "  --timeout MS   answer timeout in milliseconds (default 500)\n"
    "  --help         this text\n";

int Usage(const char* program) {
  std::fprintf(stderr, "usage: %s PORT [--baud N] [--timeout MS]\n", program);
  return 2;
}

const char* OpenFailure(int result) {
  switch (result) {
    case -1:
      return "the port cannot be opened";
    case -5:
      return "the timeout must not be negative";
    case -KXLF_ERR_NO_READER:
      return "no reader answered";
    default:
      return "the open failed";
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (argc < 2)
    return Usage(argv[0]);
  const char* port = argv[1];
  int baudRate = 19200;
  int timeoutMs = 500;
  for (int i = 2; i < argc; ++i) {
    if (i + 1 < argc && std::strcmp(argv[i], "--baud") == 0) {
      baudRate = std::atoi(argv[++i]);
    } else if (i + 1 < argc && std::strcmp(argv[i], "--timeout") == 0) {
      timeoutMs = std::atoi(argv[++i]);
    } else {
      return Usage(argv[0]);
    }
  }

  const int handle = KxLfOpen(port, baudRate, 0, timeoutMs);
  if (handle <= 0) {
    std::fprintf(stderr, "%s: %s (%d)\n", port, OpenFailure(handle), handle);
    return 1;
  }
  unsigned char version[16];
  char model[64];
  const int length = KxLfGetVersion(handle, version, sizeof version, model, sizeof model);
  if (length < 0) {
    std::fprintf(stderr, "%s: version query failed, error %d\n", port, KxLfGetLastError(handle));
    KxLfClose(handle);
    return 1;
  }
  const std::string text(reinterpret_cast<const char*>(version), static_cast<size_t>(length));
  std::printf("port      %s\n", port);
  std::printf("reader    %s\n", model);
  std::printf("version   %s\n", text.c_str());
  if (length >= 4)
    std::printf("firmware  FW V%d.%02d\n", 1, kxlf::VersionValue(version[3]));
  KxLfClose(handle);
  return 0;
}
