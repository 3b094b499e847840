#include "framework/text_format.h"

namespace kx::ui {

QString FormatText(const QString& pattern, const QStringList& arguments) {
  QString result;
  result.reserve(pattern.size());
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    const QChar c = pattern[i];
    if (c == u'%' && i + 1 < pattern.size()) {
      const int number = pattern[i + 1].digitValue();
      if (number >= 1 && number <= arguments.size()) {
        result += arguments[number - 1];
        ++i;
        continue;
      }
    }
    result += c;
  }
  return result;
}

}  // namespace kx::ui
