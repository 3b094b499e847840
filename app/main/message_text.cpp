#include "message_text.h"

#include <QStringList>

#include "framework/framework_strings.h"
#include "framework/services.h"

namespace kx::app {

namespace {

int StringIdOf(convert::StandardMessageId id) {
  switch (id) {
    case convert::StandardMessageId::kEnterPositiveInteger:
      return ui::strings::kEnterPositiveInteger;
    case convert::StandardMessageId::kEnterIntegerBetween:
      return ui::strings::kEnterIntegerBetween;
    case convert::StandardMessageId::kEnterAtMostChars:
      return ui::strings::kEnterAtMostChars;
  }
  return ui::strings::kEnterInteger;
}

}  // namespace

QString MessageText(const ui::Services& services, const convert::Message& message) {
  if (const auto* id = std::get_if<convert::MessageId>(&message))
    return services.LoadString(static_cast<int>(*id));
  const auto& standard = std::get<convert::StandardMessage>(message);
  return services.FormatString(StringIdOf(standard.id),
                               {QString::number(standard.first), QString::number(standard.second)});
}

}  // namespace kx::app
