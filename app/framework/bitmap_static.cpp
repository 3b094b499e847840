#include "framework/bitmap_static.h"

#include <QBitmap>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "framework/dialog.h"

namespace kx::ui {

CBitmapStatic::~CBitmapStatic() {
  if (picture_ != nullptr)
    picture_->removeEventFilter(this);
}

bool CBitmapStatic::Attach(Dialog& dialog, int id) {
  if (picture_ != nullptr)
    picture_->removeEventFilter(this);
  picture_ = dialog.ItemAs<QLabel>(id);
  if (picture_ == nullptr)
    return false;
  picture_->installEventFilter(this);
  picture_->update();
  return true;
}

void CBitmapStatic::SetTransparent(bool transparent) {
  transparent_ = transparent;
  if (picture_ != nullptr)
    picture_->update();
}

bool CBitmapStatic::eventFilter(QObject* watched, QEvent* event) {
  if (watched != picture_ || event->type() != QEvent::Paint || !transparent_)
    return QObject::eventFilter(watched, event);
  const QPixmap picture = picture_->pixmap();
  if (picture.isNull())
    return true;
  // Every pure white pixel is left out; the rest is drawn at the top left corner.
  QPixmap masked = picture;
  masked.setMask(picture.createMaskFromColor(Qt::white, Qt::MaskInColor));
  QPainter painter(picture_);
  painter.drawPixmap(0, 0, masked);
  return true;
}

}  // namespace kx::ui
