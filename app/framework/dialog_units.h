// Dialog units: template coordinates that grow with the dialog's font. One horizontal unit is a
// quarter of the font's average character width, one vertical unit an eighth of its height; the
// average width is that of the 52 Latin letters, halved and rounded the way the templates were
// laid out for.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "framework/resource_format.h"

namespace kx::ui {

class DialogUnits {
 public:
  DialogUnits(int baseWidth, int baseHeight);
  static DialogUnits ForFont(const QFont& font);

  int baseWidth() const { return baseWidth_; }
  int baseHeight() const { return baseHeight_; }

  int ToPixelsX(int units) const;
  int ToPixelsY(int units) const;
  QRect ToPixels(const res::Rect& rect) const;
  QSize ToPixels(int width, int height) const;

 private:
  int baseWidth_;
  int baseHeight_;
};

// The font a template asks for. "System", "MS Shell Dlg" and an empty name mean the desktop's
// general font, in the template's size; bold when the template's style says so.
QFont DialogFont(const res::DialogTemplate& dialog);

}  // namespace kx::ui
