#include "framework/edit_controls.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QValidator>
#include <algorithm>

namespace kx::ui {

namespace {

qsizetype NonDigits(const QString& text) {
  return std::count_if(text.begin(), text.end(), [](QChar c) { return c < u'0' || c > u'9'; });
}

}  // namespace

// Judges each change the operator makes against the text before it.
class LineEditRules : public QValidator {
 public:
  explicit LineEditRules(LineEdit* edit) : QValidator(edit), edit_(edit) {}

  State validate(QString& input, int&) const override {
    return edit_->Accepts(input) ? Acceptable : Invalid;
  }

 private:
  LineEdit* edit_;
};

LineEdit::LineEdit(QWidget* parent) : QLineEdit(parent) {
  setValidator(new LineEditRules(this));
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { current_ = text; });
}

bool LineEdit::Accepts(const QString& proposed) const {
  if (digitsOnly_ && NonDigits(proposed) > NonDigits(current_))
    return false;
  return limit_ <= 0 || proposed.size() <= limit_ || proposed.size() <= current_.size();
}

MultiLineEdit::MultiLineEdit(QWidget* parent) : QPlainTextEdit(parent) {
  // Tab moves on to the next control, as in every other control of a dialog.
  setTabChangesFocus(true);
}

int MultiLineEdit::Room() const {
  const int length = static_cast<int>(toPlainText().size());
  const int selected = static_cast<int>(textCursor().selectedText().size());
  return limit_ - (length - selected);
}

void MultiLineEdit::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (isReadOnly() || (!wantReturn_ && !(event->modifiers() & Qt::ControlModifier)))) {
    event->ignore();  // the dialog's Enter
    return;
  }
  const QString typed = enter ? QStringLiteral("\n") : event->text();
  const bool inserts = !isReadOnly() && !typed.isEmpty() && (enter || typed.front().isPrint());
  if (limit_ > 0 && inserts && Room() < typed.size()) {
    event->accept();
    return;
  }
  if (enter) {
    QKeyEvent plain(event->type(), event->key(), Qt::NoModifier, typed);
    QPlainTextEdit::keyPressEvent(&plain);
    event->setAccepted(plain.isAccepted());
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void MultiLineEdit::insertFromMimeData(const QMimeData* source) {
  if (limit_ <= 0 || source == nullptr || !source->hasText()) {
    QPlainTextEdit::insertFromMimeData(source);
    return;
  }
  const QString text = source->text().left(std::max(0, Room()));
  if (!text.isEmpty())
    insertPlainText(text);
}

}  // namespace kx::ui
