#include "dialogs/port_sdk.h"

#include "kxlf.h"

namespace kx::dialogs {

int KxLfPortSdk::ListComPorts(char* buffer, int size) {
  return KxLfListComPorts(buffer, size);
}

int KxLfPortSdk::ListUsbReaders(char* buffer, int size) {
  return KxLfListUsbReaders(buffer, size);
}

int KxLfPortSdk::FindLanReaders(char* buffer, int size) {
  return KxLfFindLanReaders(buffer, size);
}

int KxLfPortSdk::ProbeLanReader(const char* name) {
  return KxLfProbeLanReader(name);
}

int KxLfPortSdk::CheckUsbDrivers() {
  return KxLfCheckUsbDrivers();
}

int KxLfPortSdk::IsVcomDriverInstalled() {
  return KxLfIsVcomDriverInstalled();
}

int KxLfPortSdk::Open(const char* portName, int baudRate, int options, int timeoutMs) {
  return KxLfOpen(portName, baudRate, options, timeoutMs);
}

int KxLfPortSdk::SetUsbInterface(int handle, int mode) {
  return KxLfSetUsbInterface(handle, mode);
}

int KxLfPortSdk::CommandF6(int handle, int value1, int value2) {
  return KxLfCommandF6(handle, value1, value2);
}

int KxLfPortSdk::Close(int handle) {
  return KxLfClose(handle);
}

}  // namespace kx::dialogs
