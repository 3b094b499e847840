// The Qt widget for each control kind of a template, and the control's text as the program sees
// it: the title of a group box, what an edit holds, a button's caption, a combo box's current
// item.
#pragma once

#include <QRect>
#include <QString>

#include "framework/resource_format.h"

class QWidget;

namespace kx::ui {

// The widget, a child of parent at geometry (pixels), with the template's styles and text.
QWidget* CreateControl(const res::ControlTemplate& control, const QRect& geometry, QWidget* parent);

QString ControlText(const QWidget* widget, res::ControlKind kind);
void SetControlText(QWidget* widget, res::ControlKind kind, uint32_t style, const QString& text);

}  // namespace kx::ui
