// A test bench of network namespaces. LAN tests never send a packet from the machine's own
// namespace: they build small networks of namespaces joined by veth pairs (and bridges where
// two adapters must share one network), with addresses from the benchmarking range
// 198.18.0.0/15 and a default route in each namespace, so that limited broadcasts leave through
// the test's own interface. Emulated readers live in namespaces of their own; the SDK under
// test runs on a thread that has entered the host namespace of the bench.
//
// Every namespace is created with `ip netns add` under a prefix (KX_NETNS_PREFIX when the
// netns_test.sh wrapper set it, else one of this process) and removed when the bench goes; the
// wrapper removes whatever a crashed test left.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kxtest {

class NetnsBench {
 public:
  NetnsBench();
  ~NetnsBench();
  NetnsBench(const NetnsBench&) = delete;
  NetnsBench& operator=(const NetnsBench&) = delete;

  // A new namespace with its loopback up; empty when namespaces cannot be created here.
  std::string AddNamespace();
  // A veth pair between namespaces `a` and `b`, each end up with its address ("198.18.0.1/24").
  // The first link of a namespace carries its default route. Returns the name of a's end.
  std::string Link(const std::string& a, const std::string& aAddress, const std::string& b,
                   const std::string& bAddress);
  // A bridge in namespace `ns`; LinkToBridge joins a namespace to it with a veth pair.
  bool AddBridge(const std::string& ns);
  std::string LinkToBridge(const std::string& ns, const std::string& address,
                           const std::string& bridgeNs);
  bool AddAddress(const std::string& ns, const std::string& interface, const std::string& address);

  // The layout of the tests in which a host and several readers share one network: a host
  // namespace joined with `hostAddress` to a bridge in a namespace of its own. `host` is empty
  // where namespaces cannot be created, `network` when the bridge could not be built.
  struct BridgedHost {
    std::string host;
    std::string network;
  };
  BridgedHost AddBridgedHost(const std::string& hostAddress);

  // Runs `body` on a thread that has entered `ns`, and waits for it. Sockets and threads that
  // `body` creates stay in that namespace.
  void RunIn(const std::string& ns, const std::function<void()>& body);

  // Runs a program (no shell); true when it exits with 0.
  static bool Command(const std::vector<std::string>& args);

 private:
  std::string prefix_;
  int counter_ = 0;
  std::vector<std::string> namespaces_;
  std::map<std::string, bool> hasDefaultRoute_;
};

// Enters a namespace on the calling thread for the object's life; threads started meanwhile
// stay in it.
class ScopedNetns {
 public:
  explicit ScopedNetns(const std::string& ns);
  ~ScopedNetns();
  ScopedNetns(const ScopedNetns&) = delete;
  ScopedNetns& operator=(const ScopedNetns&) = delete;
  bool Entered() const { return entered_; }

 private:
  int original_ = -1;
  bool entered_ = false;
};

// True when the calling thread is in a network namespace other than the machine's own.
bool OutsideMachineNamespace();

// Runs `body` on a thread in a fresh, empty network namespace (loopback only, down): for tests
// of code that would search the local networks, where nothing may leave this machine's
// namespace and nothing is to be found. Programs started from `body` run there too. The
// namespace goes with the thread. False, without running `body`, when it cannot be created.
bool RunInEmptyNetns(const std::function<void()>& body);

}  // namespace kxtest
