// The numbers in use of one handle family. A new handle is the lowest free number from the
// family's first one, so numbers come back after a close. Not locked: the SDK object guards it.
#pragma once

#include <set>

namespace kxlf {

class HandlePool {
 public:
  explicit HandlePool(int first) : first_(first) {}

  int Take() {
    int candidate = first_;
    for (int used : inUse_) {
      if (used != candidate)
        break;
      ++candidate;
    }
    inUse_.insert(candidate);
    return candidate;
  }
  void GiveBack(int handle) { inUse_.erase(handle); }

 private:
  int first_;
  std::set<int> inUse_;
};

}  // namespace kxlf
