#include "framework/message_target.h"

#include <QCoreApplication>

namespace kx::ui {

PostedMessageEvent::PostedMessageEvent(int message, intptr_t first, intptr_t second)
    : QEvent(EventType()), message_(message), first_(first), second_(second) {}

QEvent::Type PostedMessageEvent::EventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

MessageTarget::MessageTarget(QObject* receiver) : receiver_(receiver) {}

bool MessageTarget::Post(int message, intptr_t first, intptr_t second) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (receiver_ == nullptr)
    return false;
  QCoreApplication::postEvent(receiver_, new PostedMessageEvent(message, first, second));
  return true;
}

void MessageTarget::Detach() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (receiver_ == nullptr)
    return;
  // What was posted up to now is dropped; under the lock nothing new can come.
  QCoreApplication::removePostedEvents(receiver_, PostedMessageEvent::EventType());
  receiver_ = nullptr;
}

}  // namespace kx::ui
