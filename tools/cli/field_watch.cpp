#include "field_watch.h"

#include "flows/read_flow.h"
#include "job.h"

namespace kx::cli {

std::optional<std::string> FieldWatch::Look(std::optional<flows::Failure>& failure) {
  const flows::ReadDisplay read =
      flows::ReadUid(handle_, typeIndex_, convert::DataFormat::kHexBinary, flows::kUidSize);
  if (read.ok())
    return HexText(read.bytes);
  if (read.failure->sdkError == flows::kNoTransponderStatus)
    return std::string();
  failure = read.failure;
  return std::nullopt;
}

template <typename Done>
FieldResult FieldWatch::Poll(Done done) {
  FieldResult result;
  int failures = 0;
  for (;;) {
    if (stop_.Requested()) {
      result.event = FieldEvent::kStopped;
      return result;
    }
    const std::optional<std::string> uid = Look(result.failure);
    if (uid) {
      failures = 0;
      if (done(*uid)) {
        result.uid = *uid;
        result.failure.reset();
        return result;
      }
    } else if (++failures == kFailuresInARow) {
      result.event = FieldEvent::kFailed;
      return result;
    }
    if (!stop_.Sleep(kPollInterval)) {
      result.event = FieldEvent::kStopped;
      return result;
    }
  }
}

FieldResult FieldWatch::WaitForEntry(const std::function<bool(const std::string& uid)>& accept) {
  return Poll([&](const std::string& uid) { return !uid.empty() && accept(uid); });
}

FieldResult FieldWatch::WaitForExit(const std::string& uid) {
  return Poll([&](const std::string& seen) { return seen != uid; });
}

}  // namespace kx::cli
