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

QLabel* CLabel::Label() const {
  return qobject_cast<QLabel*>(label_.data());
}

CLabel::~CLabel() {
  if (label_ != nullptr)
    label_->removeEventFilter(this);
}

bool CLabel::Attach(Dialog& dialog, int id) {
  if (label_ != nullptr)
    label_->removeEventFilter(this);
  dialog_ = &dialog;
  id_ = id;
  QLabel* label = dialog.ItemAs<QLabel>(id);
  label_ = label;
  if (label == nullptr)
    return false;
  if (!font_)
    font_ = label->font();
  if (text_.isEmpty())
    text_ = label->text();
  label->installEventFilter(this);
  Apply();
  return true;
}

QFont CLabel::font() const {
  const QLabel* label = Label();
  return font_.value_or(label != nullptr ? label->font() : QApplication::font());
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
  const QLabel* label = Label();
  if (label == nullptr || !label->testAttribute(Qt::WA_SetCursor))
    return std::nullopt;
  return label->cursor().shape();
}

void CLabel::Apply() {
  QLabel* label = Label();
  if (label == nullptr)
    return;
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour_);
  palette.setColor(QPalette::Window, background_);
  label->setPalette(palette);
  label->setAutoFillBackground(true);
  if (font_)
    label->setFont(*font_);
  label->setText(text_);
  // A static text without the notify style lets the mouse through to the window under it.
  if (hoverCursor_ && notifies())
    label->setCursor(*hoverCursor_);
  else
    label->unsetCursor();
  label->repaint();
}

bool CLabel::eventFilter(QObject* watched, QEvent* event) {
  QLabel* label = Label();
  if (watched == label_.data() && label != nullptr && event->type() == QEvent::MouseButtonPress &&
      notifies() && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    const QString text = label->text();
    // A link that cannot be opened fails quietly; the dialog still hears the click.
    if (IsOpenableAddress(text))
      dialog_->services().Open(text);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kx::ui
