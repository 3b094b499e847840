// The edits of a dialog. A text limit and the digits-only rule hold for what the operator types
// or pastes; the program may put in any text, and the operator may shorten a text that is longer
// than the limit.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>

namespace kx::ui {

class LineEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit LineEdit(QWidget* parent = nullptr);

  // 0: no limit.
  void SetTextLimit(int characters) { limit_ = characters; }
  int TextLimit() const { return limit_; }
  void SetDigitsOnly(bool digitsOnly) { digitsOnly_ = digitsOnly; }

 private:
  friend class LineEditRules;
  bool Accepts(const QString& proposed) const;

  int limit_ = 0;
  bool digitsOnly_ = false;
  QString current_;  // the text before the change under test
};

class MultiLineEdit : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit MultiLineEdit(QWidget* parent = nullptr);

  void SetTextLimit(int characters) { limit_ = characters; }
  int TextLimit() const { return limit_; }
  // Without it Enter belongs to the dialog (its default button) and Ctrl+Enter starts a line.
  void SetWantReturn(bool wantReturn) { wantReturn_ = wantReturn; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  // Characters that may still be typed in place of the selection.
  int Room() const;

  int limit_ = 0;
  bool wantReturn_ = false;
};

}  // namespace kx::ui
