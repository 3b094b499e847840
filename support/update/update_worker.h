// The thread that fetches the version file, once per run.
#pragma once

#include <thread>

namespace kx::update {

class UpdateChecker;

class UpdateWorker {
 public:
  explicit UpdateWorker(UpdateChecker& owner) : owner_(owner) {}
  // Waits for the thread; the owner has aborted its transfer by then.
  ~UpdateWorker();
  UpdateWorker(const UpdateWorker&) = delete;
  UpdateWorker& operator=(const UpdateWorker&) = delete;

  // False when the thread cannot start.
  bool Start();

 private:
  void Run();

  UpdateChecker& owner_;
  std::thread thread_;
};

}  // namespace kx::update
