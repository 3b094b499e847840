#include "framework/bitmap_static.h"

#include <QBitmap>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "framework/dialog.h"

namespace kx::ui {

QLabel* CBitmapStatic::Picture() const {
  return qobject_cast<QLabel*>(picture_.data());
}

CBitmapStatic::~CBitmapStatic() {
  if (picture_ != nullptr)
    picture_->removeEventFilter(this);
}

bool CBitmapStatic::Attach(Dialog& dialog, int id) {
  if (picture_ != nullptr)
    picture_->removeEventFilter(this);
  QLabel* picture = dialog.ItemAs<QLabel>(id);
  picture_ = picture;
  if (picture == nullptr)
    return false;
  picture->installEventFilter(this);
  picture->update();
  return true;
}

void CBitmapStatic::SetTransparent(bool transparent) {
  transparent_ = transparent;
  if (QLabel* picture = Picture())
    picture->update();
}

bool CBitmapStatic::eventFilter(QObject* watched, QEvent* event) {
  QLabel* control = Picture();
  if (watched != picture_.data() || event->type() != QEvent::Paint || !transparent_ ||
      control == nullptr)
    return QObject::eventFilter(watched, event);
  const QPixmap picture = control->pixmap();
  if (picture.isNull())
    return true;
  // Every pure white pixel is left out; the rest is drawn at the top left corner.
  QPixmap masked = picture;
  masked.setMask(picture.createMaskFromColor(Qt::white, Qt::MaskInColor));
  QPainter painter(control);
  painter.drawPixmap(0, 0, masked);
  return true;
}

}  // namespace kx::ui
