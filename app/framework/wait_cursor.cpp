#include "framework/wait_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace kx::ui {

WaitCursor::WaitCursor() {
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor() {
  QGuiApplication::restoreOverrideCursor();
}

void WaitCursor::Restore() {
  QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
}

}  // namespace kx::ui
