#include "framework/ip_address_control.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>

namespace kx::ui {

namespace {

constexpr int kFieldDigits = 3;
constexpr int kHighest = 255;

bool AllDigits(const QString& text) {
  for (const QChar c : text) {
    if (c < u'0' || c > u'9')
      return false;
  }
  return true;
}

// A field takes up to three digits; the value is clamped after the edit, so that the operator
// sees 255 rather than a refused key.
class FieldRules : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& input, int&) const override {
    return input.size() <= kFieldDigits && AllDigits(input) ? Acceptable : Invalid;
  }
};

}  // namespace

bool IsDottedAddress(const QString& text) {
  const QStringList numbers = text.split(u'.');
  if (numbers.size() != IpAddressControl::kFieldCount)
    return false;
  for (const QString& number : numbers) {
    if (number.isEmpty() || number.size() > kFieldDigits || !AllDigits(number) ||
        number.toInt() > kHighest)
      return false;
  }
  return true;
}

IpAddressControl::IpAddressControl(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  auto* layout = new QHBoxLayout(this);
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  // One pixel more than the frame: some styles draw a shade inside it.
  layout->setContentsMargins(frame + 1, frame + 1, frame + 1, frame + 1);
  layout->setSpacing(0);
  for (int i = 0; i < kFieldCount; ++i) {
    if (i > 0) {
      auto* dot = new QLabel(QStringLiteral("."), this);
      dot->setAlignment(Qt::AlignCenter);
      dot->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
      layout->addWidget(dot);
    }
    auto* field = new QLineEdit(this);
    field->setFrame(false);
    // The template gives the height; a field taller than the inside would cover the frame.
    field->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    field->setTextMargins(0, 0, 0, 0);
    field->setAlignment(Qt::AlignCenter);
    field->setValidator(new FieldRules(field));
    // Tab stops at the first field only: the control is one stop in the dialog's order.
    field->setFocusPolicy(i == 0 ? Qt::StrongFocus : Qt::ClickFocus);
    field->installEventFilter(this);
    connect(field, &QLineEdit::textEdited, this, [this, i] { FieldEdited(i); });
    connect(field, &QLineEdit::textChanged, this, [this] { FieldChanged(); });
    layout->addWidget(field, 1);
    fields_[i] = field;
  }
  setFocusProxy(fields_[0]);
}

QString IpAddressControl::Address() const {
  QStringList numbers;
  for (const QLineEdit* field : fields_) {
    if (field->text().isEmpty())
      return QString();
    numbers.append(QString::number(field->text().toInt()));
  }
  return numbers.join(u'.');
}

bool IpAddressControl::IsBlank() const {
  for (const QLineEdit* field : fields_) {
    if (!field->text().isEmpty())
      return false;
  }
  return true;
}

bool IpAddressControl::SetAddress(const QString& text) {
  const bool valid = IsDottedAddress(text);
  const QStringList numbers = valid ? text.split(u'.') : QStringList();
  const QStringList before = FieldTexts();
  ++filling_;
  for (int i = 0; i < kFieldCount; ++i)
    fields_[i]->setText(valid ? QString::number(numbers[i].toInt()) : QString());
  --filling_;
  if (FieldTexts() != before)
    emit AddressChanged();
  return valid || text.isEmpty();
}

QStringList IpAddressControl::FieldTexts() const {
  QStringList texts;
  for (const QLineEdit* field : fields_)
    texts.append(field->text());
  return texts;
}

int IpAddressControl::FieldValue(int index) const {
  if (index < 0 || index >= kFieldCount || fields_[index]->text().isEmpty())
    return -1;
  return fields_[index]->text().toInt();
}

void IpAddressControl::FocusField(int index) {
  if (index < 0 || index >= kFieldCount)
    return;
  fields_[index]->setFocus(Qt::OtherFocusReason);
  fields_[index]->selectAll();
}

int IpAddressControl::IndexOf(const QObject* field) const {
  for (int i = 0; i < kFieldCount; ++i) {
    if (fields_[i] == field)
      return i;
  }
  return -1;
}

bool IpAddressControl::eventFilter(QObject* watched, QEvent* event) {
  const int index = IndexOf(watched);
  if (index >= 0 && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
    FieldFocusChanged(static_cast<QFocusEvent*>(event));
  if (index >= 0 && event->type() == QEvent::KeyPress &&
      HandleKey(index, static_cast<QKeyEvent*>(event)))
    return true;
  return QWidget::eventFilter(watched, event);
}

void IpAddressControl::FieldFocusChanged(const QFocusEvent* event) {
  update();  // the frame shows whether a field has the focus
  // Moving between the fields is neither entering nor leaving the control.
  if (event->gotFocus()) {
    if (!focusInside_) {
      focusInside_ = true;
      emit FocusEntered();
    }
    return;
  }
  const QWidget* now = QApplication::focusWidget();
  if (focusInside_ && (now == nullptr || !isAncestorOf(now))) {
    focusInside_ = false;
    emit FocusLeft(event->reason());
  }
}

bool IpAddressControl::HandleKey(int index, QKeyEvent* key) {
  QLineEdit* field = fields_[index];
  const bool atStart = field->cursorPosition() == 0 && !field->hasSelectedText();
  const bool atEnd = field->cursorPosition() == field->text().size() && !field->hasSelectedText();
  const bool last = index == kFieldCount - 1;

  if (key->matches(QKeySequence::Paste)) {
    const QString pasted = QApplication::clipboard()->text().trimmed();
    if (!IsDottedAddress(pasted))
      return false;  // the field takes what fits it
    SetAddress(pasted);
    FocusField(kFieldCount - 1);
    return true;
  }
  switch (key->key()) {
    case Qt::Key_Backtab:
      // Back out of the control from whichever field, not into the field before.
      if (index == 0)
        return false;
      fields_[0]->setFocus(Qt::BacktabFocusReason);
      QApplication::sendEvent(fields_[0], key);
      return true;
    case Qt::Key_Left:
    case Qt::Key_Backspace:
      if (!atStart || index == 0 || key->modifiers() & Qt::ShiftModifier)
        return false;
      fields_[index - 1]->setFocus(Qt::OtherFocusReason);
      fields_[index - 1]->deselect();
      fields_[index - 1]->end(false);
      return true;
    case Qt::Key_Right:
      if (!atEnd || last || key->modifiers() & Qt::ShiftModifier)
        return false;
      fields_[index + 1]->setFocus(Qt::OtherFocusReason);
      fields_[index + 1]->deselect();
      fields_[index + 1]->home(false);
      return true;
    default:
      break;
  }
  const QString typed = key->text();
  if (typed.size() != 1 || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
    return false;
  if (typed == u"." || typed == u",") {
    // A separator after a number moves on; on an empty field it would only confuse.
    if (!field->text().isEmpty() && !last)
      FocusField(index + 1);
    return true;
  }
  if (AllDigits(typed) && field->text().size() >= kFieldDigits && atEnd && !last) {
    // The field is full: the digit starts the next one.
    FocusField(index + 1);
    QApplication::sendEvent(fields_[index + 1], key);
    return true;
  }
  return false;
}

void IpAddressControl::FieldEdited(int index) {
  QLineEdit* field = fields_[index];
  if (field->text().toInt() > kHighest)
    field->setText(QString::number(kHighest));
  if (field->text().size() >= kFieldDigits && field->cursorPosition() == kFieldDigits &&
      index + 1 < kFieldCount)
    FocusField(index + 1);
}

void IpAddressControl::FieldChanged() {
  if (filling_ == 0)
    emit AddressChanged();
}

void IpAddressControl::paintEvent(QPaintEvent*) {
  // The frame and background of a line edit, with the fields drawn in it.
  QPainter painter(this);
  QStyleOptionFrame option;
  option.initFrom(this);
  option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
  option.midLineWidth = 0;
  option.state |= QStyle::State_Sunken;
  if (fields_[0] != nullptr) {
    for (const QLineEdit* field : fields_) {
      if (field->hasFocus())
        option.state |= QStyle::State_HasFocus;
    }
  }
  style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
}

}  // namespace kx::ui
