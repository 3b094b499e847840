// Posting messages to a dialog from any thread. The target lives as long as anyone holds it, but
// delivers only while the dialog's window exists: a message posted to a closed dialog is dropped,
// as is one still queued when it closes.
#pragma once

#include <QEvent>
#include <cstdint>
#include <memory>
#include <mutex>

class QObject;

namespace kx::ui {

// The event that carries a posted message to its dialog.
class PostedMessageEvent : public QEvent {
 public:
  PostedMessageEvent(int message, intptr_t first, intptr_t second);
  static QEvent::Type EventType();

  int message() const { return message_; }
  intptr_t first() const { return first_; }
  intptr_t second() const { return second_; }

 private:
  int message_;
  intptr_t first_;
  intptr_t second_;
};

class MessageTarget {
 public:
  explicit MessageTarget(QObject* receiver);
  MessageTarget(const MessageTarget&) = delete;
  MessageTarget& operator=(const MessageTarget&) = delete;

  // Queues the message and returns at once; false when the window is gone.
  bool Post(int message, intptr_t first = 0, intptr_t second = 0);
  // From the dialog's thread, when its window goes: nothing is delivered afterwards.
  void Detach();

 private:
  std::mutex mutex_;
  QObject* receiver_;
};

}  // namespace kx::ui
