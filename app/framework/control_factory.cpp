#include "framework/control_factory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>

#include "framework/edit_controls.h"
#include "framework/ip_address_control.h"
#include "framework/item_value_look.h"
#include "framework/progress_bar.h"

namespace kx::ui {

namespace {

using res::ControlKind;
namespace style = res::style;

// The caption as the program set it; a wrapped caption holds line breaks of its own.
constexpr char kCaptionProperty[] = "kxCaption";

// Words moved to the next line wherever the line would grow wider than width.
QString WrapWords(const QString& text, const QFontMetrics& metrics, int width) {
  QStringList lines;
  QString line;
  for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
    const QString longer = line.isEmpty() ? word : line + u' ' + word;
    if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
      lines.append(line);
      line = word;
    } else {
      line = longer;
    }
  }
  lines.append(line);
  return lines.join(u'\n');
}

void SetButtonCaption(QAbstractButton* button, uint32_t styles, const QString& text) {
  button->setProperty(kCaptionProperty, text);
  const auto* box = qobject_cast<QCheckBox*>(button);
  if (box == nullptr || !(styles & style::kMultiLine)) {
    button->setText(text);
    return;
  }
  const QStyle* look = box->style();
  const int textWidth = box->width() - look->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) -
                        look->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box);
  button->setText(WrapWords(text, box->fontMetrics(), textWidth));
}

QWidget* CreateButton(const res::ControlTemplate& control, QWidget* parent) {
  const bool pushLike = control.style & style::kPushLike;
  QAbstractButton* button = nullptr;
  if (control.kind == ControlKind::kButton || pushLike) {
    auto* push = new QPushButton(parent);
    // The dialog decides where Enter goes; Qt would make whichever button has the focus, or the
    // first one, the default.
    push->setAutoDefault(false);
    push->setDefault(control.kind == ControlKind::kButton && (control.style & style::kDefault));
    push->setCheckable(control.kind != ControlKind::kButton);
    button = push;
  } else if (control.kind == ControlKind::kCheckBox) {
    button = new QCheckBox(parent);
  } else {
    // The dialog groups its radios; Qt's own grouping would join every radio of the window.
    button = new QRadioButton(parent);
    button->setAutoExclusive(false);
  }
  return button;
}

QWidget* CreateEdit(const res::ControlTemplate& control, QWidget* parent) {
  const bool readOnly = control.style & style::kReadOnly;
  QWidget* edit = nullptr;
  if (control.style & style::kMultiLine) {
    auto* multi = new MultiLineEdit(parent);
    multi->setReadOnly(readOnly);
    multi->SetWantReturn(control.style & style::kWantReturn);
    multi->setVerticalScrollBarPolicy((control.style & style::kVScroll) ? Qt::ScrollBarAlwaysOn
                                                                        : Qt::ScrollBarAlwaysOff);
    edit = multi;
  } else {
    auto* line = new LineEdit(parent);
    line->setReadOnly(readOnly);
    line->SetDigitsOnly(control.style & style::kDigitsOnly);
    edit = line;
  }
  if (readOnly) {
    // Output fields look like the dialog around them, as the operator knows them.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
  }
  return edit;
}

QWidget* CreateLabel(const res::ControlTemplate& control, const QRect& geometry, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  if (control.style & style::kSunken) {
    // A display field: one line in a sunken frame.
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  } else {
    label->setWordWrap(true);
    // A label of one line stands level with the edit beside it; longer ones start at the top.
    const bool oneLine = geometry.height() < 2 * label->fontMetrics().height();
    label->setAlignment(((control.style & style::kCentered) ? Qt::AlignHCenter : Qt::AlignLeft) |
                        (oneLine ? Qt::AlignVCenter : Qt::AlignTop));
  }
  if (control.style & style::kNotify)
    label->setCursor(Qt::PointingHandCursor);
  return label;
}

QWidget* CreateWidget(const res::ControlTemplate& control, const QRect& geometry, QWidget* parent) {
  switch (control.kind) {
    case ControlKind::kGroupBox: {
      auto* box = new QGroupBox(parent);
      box->setFocusPolicy(Qt::NoFocus);
      // The templates place controls just below the frame's top line, which runs through the
      // middle of the title; Qt's own group boxes put the title above the line.
      box->setStyleSheet(QStringLiteral(
          "QGroupBox { margin-top: 0.5em; border: 1px solid palette(mid); border-radius: 2px; }"
          "QGroupBox::title { subcontrol-origin: margin; left: 0.5em; padding: 0 0.2em; }"));
      return box;
    }
    case ControlKind::kLabel:
      return CreateLabel(control, geometry, parent);
    case ControlKind::kHorizontalLine: {
      auto* line = new QFrame(parent);
      line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
      return line;
    }
    case ControlKind::kEdit:
      return CreateEdit(control, parent);
    case ControlKind::kButton:
    case ControlKind::kCheckBox:
    case ControlKind::kRadioButton:
      return CreateButton(control, parent);
    case ControlKind::kListBox: {
      auto* list = new QListWidget(parent);
      list->setSelectionMode(QAbstractItemView::SingleSelection);
      list->setSortingEnabled(control.style & style::kSorted);
      if (control.style & style::kOwnerDraw)
        list->setItemDelegate(new ItemValueLook(list));
      return list;
    }
    case ControlKind::kComboBox: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(control.style & style::kEditable);
      return combo;
    }
    case ControlKind::kIpAddress:
      return new IpAddressControl(parent);
    case ControlKind::kPicture: {
      auto* picture = new QLabel(parent);
      picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return picture;
    }
    case ControlKind::kProgressBar: {
      auto* bar = new ProgressBar(parent);
      bar->setOrientation((control.style & style::kVertical) ? Qt::Vertical : Qt::Horizontal);
      return bar;
    }
  }
  return new QWidget(parent);
}

}  // namespace

QWidget* CreateControl(const res::ControlTemplate& control, const QRect& geometry,
                       QWidget* parent) {
  QWidget* widget = CreateWidget(control, geometry, parent);
  QRect placed = geometry;
  if (control.kind == ControlKind::kComboBox) {
    // A combo box's template height includes its dropped-down list.
    placed.setHeight(widget->sizeHint().height());
    auto* combo = static_cast<QComboBox*>(widget);
    for (const QString& item : QString::fromUtf8(control.text).split(u'\n', Qt::SkipEmptyParts))
      combo->addItem(item);
  }
  widget->setGeometry(placed);
  // A picture's text names its picture, which the dialog puts in.
  if (control.kind != ControlKind::kComboBox && control.kind != ControlKind::kPicture)
    SetControlText(widget, control.kind, control.style, QString::fromUtf8(control.text));
  widget->setHidden(control.style & style::kHidden);
  widget->setEnabled(!(control.style & style::kDisabled));
  return widget;
}

QString ControlText(const QWidget* widget, res::ControlKind kind) {
  switch (kind) {
    case ControlKind::kGroupBox:
      return static_cast<const QGroupBox*>(widget)->title();
    case ControlKind::kLabel:
      return static_cast<const QLabel*>(widget)->text();
    case ControlKind::kEdit:
      if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        return line->text();
      return static_cast<const QPlainTextEdit*>(widget)->toPlainText();
    case ControlKind::kButton:
    case ControlKind::kCheckBox:
    case ControlKind::kRadioButton:
      return widget->property(kCaptionProperty).toString();
    case ControlKind::kListBox: {
      const QListWidgetItem* item = static_cast<const QListWidget*>(widget)->currentItem();
      return item != nullptr ? item->text() : QString();
    }
    case ControlKind::kComboBox:
      return static_cast<const QComboBox*>(widget)->currentText();
    case ControlKind::kIpAddress:
      return static_cast<const IpAddressControl*>(widget)->Address();
    case ControlKind::kHorizontalLine:
    case ControlKind::kProgressBar:
    case ControlKind::kPicture:
      break;
  }
  return QString();
}

void SetControlText(QWidget* widget, res::ControlKind kind, uint32_t styles, const QString& text) {
  switch (kind) {
    case ControlKind::kGroupBox:
      static_cast<QGroupBox*>(widget)->setTitle(text);
      break;
    case ControlKind::kLabel:
      static_cast<QLabel*>(widget)->setText(text);
      break;
    case ControlKind::kEdit:
      if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->setText(text);
      else
        static_cast<QPlainTextEdit*>(widget)->setPlainText(text);
      break;
    case ControlKind::kButton:
    case ControlKind::kCheckBox:
    case ControlKind::kRadioButton:
      SetButtonCaption(static_cast<QAbstractButton*>(widget), styles, text);
      break;
    case ControlKind::kComboBox: {
      auto* combo = static_cast<QComboBox*>(widget);
      if (combo->isEditable())
        combo->setEditText(text);
      else
        combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
      break;
    }
    case ControlKind::kIpAddress:
      static_cast<IpAddressControl*>(widget)->SetAddress(text);
      break;
    case ControlKind::kListBox:
    case ControlKind::kHorizontalLine:
    case ControlKind::kProgressBar:
    case ControlKind::kPicture:
      break;
  }
}

}  // namespace kx::ui
