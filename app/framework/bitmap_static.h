// A picture control of a dialog drawn with white as the transparent colour, so that the dialog's
// background shows through wherever the picture is white. Without transparency the picture is
// drawn as it is.
#pragma once

#include <QObject>
#include <QPointer>

class QLabel;

namespace kx::ui {

class Dialog;

class CBitmapStatic : public QObject {
  Q_OBJECT

 public:
  ~CBitmapStatic() override;

  // False when the dialog has no picture control with the id.
  bool Attach(Dialog& dialog, int id);
  void SetTransparent(bool transparent);
  bool transparent() const { return transparent_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The control as an object: its events still come while it is being destroyed, when it is no
  // longer a QLabel.
  QLabel* Picture() const;
  QPointer<QObject> picture_;
  bool transparent_ = false;
};

}  // namespace kx::ui
