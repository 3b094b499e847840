#include "convert/messages.h"

namespace kx::convert {

std::string_view GermanText(MessageId id) {
  switch (id) {
    case MessageId::kNoHexInput:
      return "Keine Hex-Eingabe";
    case MessageId::kNoDecimalInput:
      return "Keine Dezimal-Eingabe";
    case MessageId::kByteCountTooSmall:
      return "Byteanzahl ist zu klein";
    case MessageId::kDecimalByteCountAbove8:
      // The typos are the resource text as operators know it.
      return "Bytanzahl größer 8 kann im Dezimal-Modus nicht bearbeitetet werden";
    case MessageId::kNoData:
      return "Keine Daten vorhanden!";
    case MessageId::kDataFieldTooLong:
      return "Datenfeld enthält mehr Daten als erlaubt sind.";
  }
  return {};
}

std::string_view GermanText(StandardMessageId id) {
  switch (id) {
    case StandardMessageId::kEnterPositiveInteger:
      return "Geben Sie eine positive ganze Zahl ein.";
    case StandardMessageId::kEnterIntegerBetween:
      return "Geben Sie eine ganze Zahl zwischen %1 und %2 ein.";
    case StandardMessageId::kEnterAtMostChars:
      return "Geben Sie höchstens %1 Zeichen ein.";
  }
  return {};
}

}  // namespace kx::convert
