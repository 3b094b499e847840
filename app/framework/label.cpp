#include "framework/label.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QRegularExpression>

#include "framework/dialog.h"

namespace kx::ui {

namespace {

// Only addresses are handed to the desktop: a status text that is no address opens nothing,
// and no label text is ever taken for a file to open.
bool IsOpenableAddress(const QString& text) {
  static const QRegularExpression address(QStringLiteral("^(https?://\\S+|mailto:\\S+@\\S+)$"),
                                          QRegularExpression::CaseInsensitiveOption);
  return address.match(text).hasMatch();
}

}  // namespace

CLabel::CLabel()
    : colour_(QApplication::palette().color(QPalette::WindowText)),
      background_(QApplication::palette().color(QPalette::Button)) {}

CLabel::~CLabel() {
  if (label_ != nullptr)
    label_->removeEventFilter(this);
}

bool CLabel::Attach(Dialog& dialog, int id) {
  if (label_ != nullptr)
    label_->removeEventFilter(this);
  dialog_ = &dialog;
  id_ = id;
  label_ = dialog.ItemAs<QLabel>(id);
  if (label_ == nullptr)
    return false;
  if (!font_)
    font_ = label_->font();
  if (text_.isEmpty())
    text_ = label_->text();
  label_->installEventFilter(this);
  Apply();
  return true;
}

QFont CLabel::font() const {
  return font_.value_or(label_ != nullptr ? label_->font() : QApplication::font());
}

void CLabel::SetTextColour(const QColor& colour) {
  colour_ = colour;
  Apply();
}

void CLabel::SetLogFont(const QFont& font) {
  font_ = font;
  Apply();
}

void CLabel::SetFaceName(const QString& name) {
  QFont changed = font();
  changed.setFamily(name);
  SetLogFont(changed);
}

void CLabel::SetFontHeight(int pixels) {
  QFont changed = font();
  changed.setPixelSize(pixels);
  SetLogFont(changed);
}

void CLabel::SetItalic(bool italic) {
  QFont changed = font();
  changed.setItalic(italic);
  SetLogFont(changed);
}

void CLabel::SetHoverCursor(std::optional<Qt::CursorShape> cursor) {
  hoverCursor_ = cursor;
  Apply();
}

void CLabel::SetLabelText(const QString& text) {
  text_ = text;
  Apply();
}

void CLabel::SetNotify(bool notify) {
  if (dialog_ != nullptr) {
    dialog_->ModifyStyle(id_, notify ? 0 : res::style::kNotify, notify ? res::style::kNotify : 0);
  }
  Apply();
}

bool CLabel::notifies() const {
  return dialog_ != nullptr && (dialog_->ItemStyle(id_) & res::style::kNotify);
}

std::optional<Qt::CursorShape> CLabel::shownCursor() const {
  if (label_ == nullptr || !label_->testAttribute(Qt::WA_SetCursor))
    return std::nullopt;
  return label_->cursor().shape();
}

void CLabel::Apply() {
  if (label_ == nullptr)
    return;
  QPalette palette = label_->palette();
  palette.setColor(QPalette::WindowText, colour_);
  palette.setColor(QPalette::Window, background_);
  label_->setPalette(palette);
  label_->setAutoFillBackground(true);
  if (font_)
    label_->setFont(*font_);
  label_->setText(text_);
  // A static text without the notify style lets the mouse through to the window under it.
  if (hoverCursor_ && notifies())
    label_->setCursor(*hoverCursor_);
  else
    label_->unsetCursor();
  label_->repaint();
}

bool CLabel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == label_ && event->type() == QEvent::MouseButtonPress && notifies() &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    const QString text = label_->text();
    // A link that cannot be opened fails quietly; the dialog still hears the click.
    if (IsOpenableAddress(text))
      dialog_->services().Open(text);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kx::ui
