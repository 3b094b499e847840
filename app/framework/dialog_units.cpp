#include "framework/dialog_units.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QString>
#include <cstdint>

namespace kx::ui {

namespace {

// a × b / c, rounded half away from zero.
int MulDiv(int a, int b, int c) {
  const int64_t product = static_cast<int64_t>(a) * b;
  const int64_t half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

DialogUnits::DialogUnits(int baseWidth, int baseHeight)
    : baseWidth_(baseWidth), baseHeight_(baseHeight) {}

DialogUnits DialogUnits::ForFont(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return DialogUnits((letters / 26 + 1) / 2, metrics.height());
}

int DialogUnits::ToPixelsX(int units) const {
  return MulDiv(units, baseWidth_, 4);
}

int DialogUnits::ToPixelsY(int units) const {
  return MulDiv(units, baseHeight_, 8);
}

QRect DialogUnits::ToPixels(const res::Rect& rect) const {
  return QRect(ToPixelsX(rect.x), ToPixelsY(rect.y), ToPixelsX(rect.width), ToPixelsY(rect.height));
}

QSize DialogUnits::ToPixels(int width, int height) const {
  return QSize(ToPixelsX(width), ToPixelsY(height));
}

QFont DialogFont(const res::DialogTemplate& dialog) {
  const QString name = QString::fromUtf8(dialog.fontName);
  QFont font = QGuiApplication::font();
  if (!name.isEmpty() && name != u"System" && !name.startsWith(u"MS Shell Dlg"))
    font.setFamily(name);
  if (dialog.fontPointSize > 0)
    font.setPointSize(dialog.fontPointSize);
  if ((dialog.style & res::dialog_style::kBoldFont) != 0)
    font.setBold(true);
  return font;
}

}  // namespace kx::ui
