#include "netns_bench.h"

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

extern char** environ;

namespace kxtest {
namespace {

std::string NamespacePath(const std::string& ns) {
  return "/run/netns/" + ns;
}

// "net:[inode]", empty when the link cannot be read.
std::string NamespaceLink(const char* path) {
  char text[64];
  const ssize_t size = readlink(path, text, sizeof text);
  return size > 0 ? std::string(text, static_cast<size_t>(size)) : std::string();
}

// The namespace this process started in: the machine's own, as the tests are started there.
// Taken before any thread has entered another one; /proc/1 is not always readable.
const std::string kStartNamespace = NamespaceLink("/proc/self/ns/net");

}  // namespace

NetnsBench::NetnsBench() {
  const char* prefix = std::getenv("KX_NETNS_PREFIX");
  prefix_ =
      prefix != nullptr && *prefix != '\0' ? prefix : "kxlan" + std::to_string(getpid()) + "-";
}

NetnsBench::~NetnsBench() {
  for (auto it = namespaces_.rbegin(); it != namespaces_.rend(); ++it)
    Command({"ip", "netns", "del", *it});
}

bool NetnsBench::Command(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The bench's commands speak only when something goes wrong; their output stays out of the
  // test log otherwise.
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0)
    return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string NetnsBench::AddNamespace() {
  const std::string name = prefix_ + std::to_string(counter_++);
  if (!Command({"ip", "netns", "add", name}))
    return {};
  namespaces_.push_back(name);
  if (!Command({"ip", "-n", name, "link", "set", "lo", "up"}))
    return {};
  return name;
}

std::string NetnsBench::Link(const std::string& a, const std::string& aAddress,
                             const std::string& b, const std::string& bAddress) {
  // Both ends are created inside their namespaces: the machine's own never sees them.
  const std::string aEnd = "kx" + std::to_string(counter_++);
  const std::string bEnd = "kx" + std::to_string(counter_++);
  const bool linked = Command({"ip", "-n", a, "link", "add", aEnd, "type", "veth", "peer", "name",
                               bEnd, "netns", b}) &&
                      Command({"ip", "-n", a, "addr", "add", aAddress, "dev", aEnd}) &&
                      Command({"ip", "-n", b, "addr", "add", bAddress, "dev", bEnd}) &&
                      Command({"ip", "-n", a, "link", "set", aEnd, "up"}) &&
                      Command({"ip", "-n", b, "link", "set", bEnd, "up"});
  if (!linked)
    return {};
  for (const auto& [ns, end] : {std::pair{a, aEnd}, std::pair{b, bEnd}}) {
    if (!hasDefaultRoute_[ns] && Command({"ip", "-n", ns, "route", "add", "default", "dev", end}))
      hasDefaultRoute_[ns] = true;
  }
  return aEnd;
}

bool NetnsBench::AddBridge(const std::string& ns) {
  return Command({"ip", "-n", ns, "link", "add", "br0", "type", "bridge"}) &&
         Command({"ip", "-n", ns, "link", "set", "br0", "up"});
}

NetnsBench::BridgedHost NetnsBench::AddBridgedHost(const std::string& hostAddress) {
  BridgedHost bridged;
  bridged.host = AddNamespace();
  if (bridged.host.empty())
    return bridged;
  std::string network = AddNamespace();
  if (!network.empty() && AddBridge(network) &&
      !LinkToBridge(bridged.host, hostAddress, network).empty())
    bridged.network = network;
  return bridged;
}

std::string NetnsBench::LinkToBridge(const std::string& ns, const std::string& address,
                                     const std::string& bridgeNs) {
  const std::string end = "kx" + std::to_string(counter_++);
  const std::string bridgeEnd = "kx" + std::to_string(counter_++);
  const bool linked = Command({"ip", "-n", ns, "link", "add", end, "type", "veth", "peer", "name",
                               bridgeEnd, "netns", bridgeNs}) &&
                      Command({"ip", "-n", ns, "addr", "add", address, "dev", end}) &&
                      Command({"ip", "-n", bridgeNs, "link", "set", bridgeEnd, "master", "br0"}) &&
                      Command({"ip", "-n", bridgeNs, "link", "set", bridgeEnd, "up"}) &&
                      Command({"ip", "-n", ns, "link", "set", end, "up"});
  if (!linked)
    return {};
  if (!hasDefaultRoute_[ns] && Command({"ip", "-n", ns, "route", "add", "default", "dev", end}))
    hasDefaultRoute_[ns] = true;
  return end;
}

bool NetnsBench::AddAddress(const std::string& ns, const std::string& interface,
                            const std::string& address) {
  return Command({"ip", "-n", ns, "addr", "add", address, "dev", interface});
}

void NetnsBench::RunIn(const std::string& ns, const std::function<void()>& body) {
  std::thread thread([&] {
    ScopedNetns inside(ns);
    if (inside.Entered())
      body();
  });
  thread.join();
}

ScopedNetns::ScopedNetns(const std::string& ns) {
  original_ = open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
  const int target = open(NamespacePath(ns).c_str(), O_RDONLY | O_CLOEXEC);
  entered_ = original_ >= 0 && target >= 0 && setns(target, CLONE_NEWNET) == 0;
  if (target >= 0)
    close(target);
}

ScopedNetns::~ScopedNetns() {
  if (entered_)
    setns(original_, CLONE_NEWNET);
  if (original_ >= 0)
    close(original_);
}

bool RunInEmptyNetns(const std::function<void()>& body) {
  bool ran = false;
  std::thread thread([&] {
    if (unshare(CLONE_NEWNET) != 0 || !OutsideMachineNamespace())
      return;
    body();
    ran = true;
  });
  thread.join();
  return ran;
}

bool OutsideMachineNamespace() {
  const std::string own = NamespaceLink("/proc/thread-self/ns/net");
  std::string machine = NamespaceLink("/proc/1/ns/net");
  if (machine.empty())
    machine = kStartNamespace;
  return !own.empty() && !machine.empty() && own != machine;
}

}  // namespace kxtest
