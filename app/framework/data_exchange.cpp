#include "framework/data_exchange.h"

#include <limits>
#include <optional>

#include "framework/dialog.h"
#include "framework/framework_strings.h"
#include "framework/ip_address_control.h"

namespace kx::ui {

namespace {

// Digits with an optional sign and blanks around them; nothing else, and within the type.
std::optional<int64_t> ParseWhole(const QString& text, bool allowMinus, int64_t highest) {
  const QString trimmed = text.trimmed();
  qsizetype i = 0;
  bool negative = false;
  if (i < trimmed.size() && (trimmed[i] == u'-' || trimmed[i] == u'+')) {
    negative = trimmed[i] == u'-';
    ++i;
  }
  if (i == trimmed.size() || (negative && !allowMinus))
    return std::nullopt;
  int64_t value = 0;
  for (; i < trimmed.size(); ++i) {
    const int digit = trimmed[i].unicode() - u'0';
    if (digit < 0 || digit > 9)
      return std::nullopt;
    value = value * 10 + digit;
    if (value > highest + (negative ? 1 : 0))
      return std::nullopt;
  }
  return negative ? -value : value;
}

}  // namespace

DataExchange::DataExchange(Dialog& dialog, bool saveAndValidate)
    : dialog_(dialog), saving_(saveAndValidate) {}

void DataExchange::Text(int id, QString& value) {
  if (!Active())
    return;
  prepared_ = id;
  if (saving_)
    value = dialog_.ItemText(id);
  else
    dialog_.SetItemText(id, value);
}

void DataExchange::Text(int id, int& value) {
  if (const std::optional<int64_t> taken =
          WholeText(id, value, true, std::numeric_limits<int>::max()))
    value = static_cast<int>(*taken);
}

void DataExchange::Text(int id, uint32_t& value) {
  if (const std::optional<int64_t> taken =
          WholeText(id, value, false, std::numeric_limits<uint32_t>::max()))
    value = static_cast<uint32_t>(*taken);
}

std::optional<int64_t> DataExchange::WholeText(int id, int64_t shown, bool allowMinus,
                                               int64_t highest) {
  if (!Active())
    return std::nullopt;
  prepared_ = id;
  if (!saving_) {
    dialog_.SetItemText(id, QString::number(shown));
    return std::nullopt;
  }
  const std::optional<int64_t> parsed = ParseWhole(dialog_.ItemText(id), allowMinus, highest);
  if (!parsed)
    Fail(StandardMessage(allowMinus ? strings::kEnterInteger : strings::kEnterPositiveInteger));
  return parsed;
}

void DataExchange::Check(int id, int& value) {
  if (!Active())
    return;
  prepared_ = id;
  if (saving_)
    value = dialog_.IsChecked(id);
  else
    dialog_.CheckButton(id, value != 0);
}

void DataExchange::Check(int id, bool& value) {
  int state = value ? 1 : 0;
  Check(id, state);
  value = state != 0;
}

void DataExchange::Radio(int id, int& index) {
  if (!Active())
    return;
  prepared_ = id;
  if (saving_)
    index = dialog_.RadioIndex(id);
  else
    dialog_.SetRadioIndex(id, index);
}

void DataExchange::IpAddress(int id, QString& value) {
  if (!Active())
    return;
  prepared_ = id;
  auto* address = dialog_.ItemAs<IpAddressControl>(id);
  if (address == nullptr)
    return;
  if (!saving_) {
    address->SetAddress(value);
    return;
  }
  if (address->IsPartial()) {
    Fail(StandardMessage(strings::kEnterIpAddress));
    return;
  }
  value = address->Address();
}

void DataExchange::MinMax(int64_t value, int64_t lowest, int64_t highest) {
  if (!Active() || !saving_ || (value >= lowest && value <= highest))
    return;
  Fail(StandardMessage(strings::kEnterIntegerBetween,
                       {QString::number(lowest), QString::number(highest)}));
}

void DataExchange::MaxChars(const QString& value, int count) {
  if (!Active())
    return;
  if (!saving_) {
    dialog_.SetTextLimit(prepared_, count);
    return;
  }
  if (value.size() > count)
    Fail(StandardMessage(strings::kEnterAtMostChars, {QString::number(count)}));
}

void DataExchange::PrepareControl(int id) {
  prepared_ = id;
}

void DataExchange::Fail(const QString& message) {
  if (!Active())
    return;
  dialog_.MessageBox(message);
  Fail();
}

void DataExchange::Fail() {
  failed_ = true;
  dialog_.FocusItem(prepared_);
}

QString DataExchange::StandardMessage(int stringId, const QStringList& arguments) const {
  return dialog_.services().FormatString(stringId, arguments);
}

}  // namespace kx::ui
