// A dotted IPv4 address in four fields of 0 to 255, as the operator knows it from network
// settings: a blank control is not the address 0.0.0.0, and a partly filled one is neither.
//
// Typing: digits only; a number above 255 becomes 255; the third digit, a '.' after a number, or
// a digit typed into a full field moves on to the next field; Backspace and Left at the start of
// a field go back to the one before. Pasting a whole dotted address fills all four fields.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

class QFocusEvent;
class QLineEdit;

namespace kx::ui {

// Four numbers 0..255 with single dots between them, 1 to 3 digits each, nothing else.
bool IsDottedAddress(const QString& text);

class IpAddressControl : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kFieldCount = 4;

  explicit IpAddressControl(QWidget* parent = nullptr);

  // The dotted text ("198.18.0.7") when every field holds a number; empty otherwise.
  QString Address() const;
  // Every field empty.
  bool IsBlank() const;
  // Neither blank nor complete: what the operator left half typed.
  bool IsPartial() const { return !IsBlank() && Address().isEmpty(); }
  // Empty text blanks the control. Any other text that is not a dotted address blanks it too and
  // returns false, so that a wrong value never shows as a plausible address.
  bool SetAddress(const QString& text);
  void Clear() { SetAddress(QString()); }
  // The number in a field; -1 while it is empty.
  int FieldValue(int index) const;
  // Moves the focus into the field (0..3) with its text selected.
  void FocusField(int index);

 signals:
  // Any change of a field, by the operator or the program; once per SetAddress.
  void AddressChanged();
  // The focus came into the control, or went elsewhere; moves between its fields are neither.
  void FocusEntered();
  void FocusLeft(Qt::FocusReason reason);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  int IndexOf(const QObject* field) const;
  QStringList FieldTexts() const;
  // Operator's key in a field; true when the control handled it.
  bool HandleKey(int index, QKeyEvent* key);
  void FieldFocusChanged(const QFocusEvent* event);
  void FieldEdited(int index);
  void FieldChanged();

  std::array<QLineEdit*, kFieldCount> fields_{};
  int filling_ = 0;  // > 0 while SetAddress fills the fields
  bool focusInside_ = false;
};

}  // namespace kx::ui
