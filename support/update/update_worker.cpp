#include "update/update_worker.h"

#include <system_error>

#include "update/update_checker.h"

namespace kx::update {

UpdateWorker::~UpdateWorker() {
  if (thread_.joinable())
    thread_.join();
}

bool UpdateWorker::Start() {
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void UpdateWorker::Run() {
  std::string text;
  TransferResult result = owner_.FetchText(owner_.source().versionFileAddress, text);
  owner_.Finish(std::move(text), std::move(result));
}

}  // namespace kx::update
