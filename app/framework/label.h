// A static text of a dialog with its own colour, font and hover cursor that opens its own text
// when clicked: a web address in the browser, a "mailto:" address in the mail program. Clicks
// and the hover cursor count only while the label has the notify style (SetNotify); without it
// the label is plain text.
//
// The label takes over a label control of a built dialog (Attach, in OnInitDialog). What was set
// before stays and is applied to each window it is attached to.
#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

class QLabel;

namespace kx::ui {

class Dialog;

class CLabel : public QObject {
  Q_OBJECT

 public:
  CLabel();
  ~CLabel() override;

  // False when the dialog has no label with the id.
  bool Attach(Dialog& dialog, int id);

  // Each change redraws the label at once.
  void SetTextColour(const QColor& colour);
  // The whole font; the default is the dialog's.
  void SetLogFont(const QFont& font);
  void SetFaceName(const QString& name);
  void SetFontHeight(int pixels);
  void SetItalic(bool italic);
  // nullopt: the cursor of the window under it.
  void SetHoverCursor(std::optional<Qt::CursorShape> cursor);
  void SetLabelText(const QString& text);
  // Adds or removes the notify style.
  void SetNotify(bool notify);

  QColor textColour() const { return colour_; }
  QColor backgroundColour() const { return background_; }
  QFont font() const;
  const QString& text() const { return text_; }
  bool notifies() const;
  // The cursor shown while the mouse is over the label, if it is its own.
  std::optional<Qt::CursorShape> shownCursor() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Apply();

  QPointer<Dialog> dialog_;
  // The control as an object: its events still come while it is being destroyed, when it is no
  // longer a QLabel.
  QLabel* Label() const;
  QPointer<QObject> label_;
  int id_ = 0;
  QColor colour_;
  QColor background_;
  std::optional<QFont> font_;
  QString text_;
  std::optional<Qt::CursorShape> hoverCursor_;
};

}  // namespace kx::ui
