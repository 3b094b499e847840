// One exchange of values between a dialog's controls and its members, in the order of the
// dialog's DoDataExchange. Taking values over (Saving) validates: the first failure shows its
// message box, puts the focus on the control it concerns and ends the exchange, so that every
// later call leaves its member as it was. Putting values into the controls never fails.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "framework/resource_format.h"

namespace kx::ui {

class Dialog;

class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool saveAndValidate);

  bool Saving() const { return saving_; }
  // False once something failed.
  bool Ok() const { return !failed_; }

  // The control's text; also the control that a following failure focuses.
  void Text(int id, QString& value);
  // A whole number; anything else: "Geben Sie eine ganze Zahl ein."
  void Text(int id, int& value);
  // A whole number of 0 or more: anything else "Geben Sie eine positive ganze Zahl ein."
  void Text(int id, uint32_t& value);
  void Check(int id, int& value);  // 0 or 1 taken over; any non-zero value checks the box
  void Check(int id, bool& value);
  // The radio group that holds the control: index of the checked radio, -1 for none.
  void Radio(int id, int& index);
  // An address control's dotted text ("198.18.0.7"), empty for a blank control. Taking over a
  // partly filled control: "Geben Sie eine vollständige IP-Adresse ein." Putting in a text that
  // is no dotted address leaves the control blank.
  void IpAddress(int id, QString& value);

  // Validation of the value just taken over: "Geben Sie eine ganze Zahl zwischen %1 und %2 ein."
  void MinMax(int64_t value, int64_t lowest, int64_t highest);
  // Taking over: "Geben Sie höchstens %1 Zeichen ein." for a longer text. Putting into the
  // controls: the edit of the last Text call takes at most count characters from the operator.
  void MaxChars(const QString& value, int count);

  // The control that a following failure focuses.
  void PrepareControl(int id);
  // A rule of the dialog's own failed: shows the message, focuses the prepared control, ends
  // the exchange.
  void Fail(const QString& message);
  // The same without a message box, for a rule that has shown its own.
  void Fail();

  // The standard message with the string id (framework_strings.h) and its arguments put in.
  QString StandardMessage(int stringId, const QStringList& arguments = {}) const;

 private:
  bool Active() const { return !failed_; }
  // Shows the number when putting into the controls. Taking over: the edit's number, or nullopt
  // after the message of a text that is none.
  std::optional<int64_t> WholeText(int id, int64_t shown, bool allowMinus, int64_t highest);

  Dialog& dialog_;
  const bool saving_;
  bool failed_ = false;
  int prepared_ = res::kNoId;
};

}  // namespace kx::ui
