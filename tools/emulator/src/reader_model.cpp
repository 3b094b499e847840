#include "kxemu/reader_model.h"

#include "answer_shaping.h"
#include "command_handlers.h"
#include "kxemu/status_codes.h"

#include <utility>

namespace kxemu {

ReaderModel::ReaderModel(ReaderConfig config) : config_(std::move(config)) {}

std::vector<AnswerPiece> ReaderModel::Receive(const uint8_t* data, size_t size) {
  std::lock_guard lock(mutex_);
  stream_.Push(data, size);
  std::vector<AnswerPiece> answer;
  while (std::optional<Request> request = stream_.Next()) {
    if (received_.size() == kRequestLogLimit)
      received_.pop_front();
    received_.push_back(request->frame);
    if (request->decoded.address != config_.address)
      continue;
    if (config_.answersOnlyInCrcMode && request->mode == kxlf::FrameMode::kXor)
      continue;
    if (faults_.silent)
      continue;
    if (faults_.swallowNext > 0) {
      --faults_.swallowNext;
      continue;
    }
    const detail::Answer result =
        detail::ExecuteCommand(config_.versionText, readerMode_, config_.transponder,
                               request->decoded.code, request->decoded.data);
    if (result.status == kStatusOk)
      NotePersonalityCommand(request->decoded.code, request->decoded.data);
    std::vector<AnswerPiece> pieces =
        detail::ShapeAnswer(request->mode, config_.address, result.status, result.payload, faults_);
    answer.insert(answer.end(), std::make_move_iterator(pieces.begin()),
                  std::make_move_iterator(pieces.end()));
  }
  return answer;
}

void ReaderModel::SetFaults(const Faults& faults) {
  std::lock_guard lock(mutex_);
  faults_ = faults;
}

void ReaderModel::SetTransponder(std::optional<Transponder> transponder) {
  std::lock_guard lock(mutex_);
  config_.transponder = std::move(transponder);
}

void ReaderModel::SetVersionText(const std::string& text) {
  std::lock_guard lock(mutex_);
  config_.versionText = text;
}

void ReaderModel::SetAddress(uint8_t address) {
  std::lock_guard lock(mutex_);
  config_.address = address;
}

void ReaderModel::SetAnswersOnlyInCrcMode(bool crcOnly) {
  std::lock_guard lock(mutex_);
  config_.answersOnlyInCrcMode = crcOnly;
}

std::vector<Bytes> ReaderModel::ReceivedRequests() const {
  std::lock_guard lock(mutex_);
  return std::vector<Bytes>(received_.begin(), received_.end());
}

void ReaderModel::ClearReceivedRequests() {
  std::lock_guard lock(mutex_);
  received_.clear();
}

std::optional<Transponder> ReaderModel::CurrentTransponder() const {
  std::lock_guard lock(mutex_);
  return config_.transponder;
}

void ReaderModel::NotePersonalityCommand(uint8_t code, const Bytes& parameters) {
  if (code == kxlf::kUsbInterfaceCommand && parameters.size() == 1) {
    chosenPersonality_ = parameters[0];
  } else if (code == kxlf::kCommandF6 && chosenPersonality_ != 0) {
    personalitySwitch_ = static_cast<UsbPersonality>(chosenPersonality_);
    chosenPersonality_ = 0;
    personalityChanged_.notify_all();
  }
}

std::optional<UsbPersonality> ReaderModel::WaitPersonalitySwitch() {
  std::unique_lock lock(mutex_);
  personalityChanged_.wait(lock,
                           [this] { return personalitySwitch_ || personalityWaitInterrupted_; });
  if (personalityWaitInterrupted_) {
    personalityWaitInterrupted_ = false;
    return std::nullopt;
  }
  return std::exchange(personalitySwitch_, std::nullopt);
}

void ReaderModel::InterruptPersonalityWait() {
  std::lock_guard lock(mutex_);
  personalityWaitInterrupted_ = true;
  personalityChanged_.notify_all();
}

std::optional<UsbPersonality> ReaderModel::TakePersonalitySwitch() {
  std::lock_guard lock(mutex_);
  return std::exchange(personalitySwitch_, std::nullopt);
}

uint8_t ReaderModel::ReaderMode() const {
  std::lock_guard lock(mutex_);
  return readerMode_;
}

ReaderConfig ReaderModel::Config() const {
  std::lock_guard lock(mutex_);
  return config_;
}

}  // namespace kxemu
