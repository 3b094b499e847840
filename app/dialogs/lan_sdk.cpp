#include "dialogs/lan_sdk.h"

#include "kxlf.h"

namespace kx::dialogs {

int KxLfLanSdk::FindLanReaders(char* buffer, int size) {
  return KxLfFindLanReaders(buffer, size);
}

int KxLfLanSdk::FindLanDevices(char* buffer, int size) {
  return KxLfFindLanDevices(buffer, size);
}

int KxLfLanSdk::ProbeLanReader(const char* name) {
  return KxLfProbeLanReader(name);
}

int KxLfLanSdk::GetNetworkConfig(const char* readerName, char* dhcpName, char* address,
                                 char* subnetMask, char* gateway) {
  return KxLfGetNetworkConfig(readerName, dhcpName, address, subnetMask, gateway);
}

int KxLfLanSdk::SetNetworkConfig(const char* readerName, const char* address,
                                 const char* subnetMask, const char* gateway) {
  return KxLfSetNetworkConfig(readerName, address, subnetMask, gateway);
}

LanSdk& ProgramLanSdk() {
  static KxLfLanSdk sdk;
  return sdk;
}

}  // namespace kx::dialogs
