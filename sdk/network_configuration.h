// The SDK's LAN calls: searching the local networks for readers, probing one, and reading and
// changing a reader's network settings through its network module.
#pragma once

#include <string>
#include <vector>

namespace kxlf {

// Entries of every reader found on every adapter, ordered by byte values, without duplicates.
// With the identity test only readers of the family stay, DHCP readers by their name alone.
std::vector<std::string> FindLanReaders(bool identityTest);
bool ProbeLanReader(const std::string& name);
int GetNetworkConfig(const std::string& readerName, char* dhcpName, char* address, char* subnetMask,
                     char* gateway);
int SetNetworkConfig(const std::string& readerName, const std::string& address,
                     const std::string& subnetMask, const std::string& gateway);

}  // namespace kxlf
