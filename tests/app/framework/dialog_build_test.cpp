// Dialogs built from templates: controls by id at their rectangles, styles, radio groups.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "framework/edit_controls.h"
#include "framework/ip_address_control.h"
#include "framework/progress_bar.h"
#include "framework/resources.h"
#include "test_dialogs.h"

namespace kx::ui::testing {
namespace {

class DialogBuild : public GuiTest {
 protected:
  void SetUp() override { ASSERT_TRUE(dialog.Create()); }
  RecordingDialog dialog{services, controls::kDialog};
};

TEST_F(DialogBuild, EveryControlStandsAtItsRectangleInDialogUnits) {
  const res::DialogTemplate* tmpl = resources.FindDialog(controls::kDialog);
  const DialogUnits& units = dialog.units();
  EXPECT_GT(units.baseWidth(), 0);
  EXPECT_EQ(units.baseHeight(), QFontMetrics(dialog.font()).height());
  for (size_t i = 0; i < tmpl->controlCount; ++i) {
    const res::ControlTemplate& control = tmpl->controls[i];
    if (control.id == res::kNoId || control.kind == res::ControlKind::kComboBox)
      continue;
    EXPECT_EQ(dialog.ItemRect(control.id), units.ToPixels(control.rect)) << control.id;
  }
  // A combo box's template height holds its list; on screen it is one line high.
  const QRect combo = dialog.ItemRect(controls::kCombo);
  EXPECT_EQ(combo.topLeft(), QPoint(units.ToPixelsX(95), units.ToPixelsY(125)));
  EXPECT_LT(combo.height(), units.ToPixelsY(60));
  EXPECT_EQ(dialog.windowTitle(), "Steuerelemente");
}

TEST_F(DialogBuild, KindsBecomeTheirWidgets) {
  EXPECT_NE(dialog.ItemAs<LineEdit>(controls::kDigits), nullptr);
  EXPECT_NE(dialog.ItemAs<MultiLineEdit>(controls::kMultiLine), nullptr);
  EXPECT_NE(dialog.ItemAs<IpAddressControl>(controls::kAddress), nullptr);
  // Push-like check boxes and radios are push buttons that stay pressed.
  for (int id : {controls::kToggle, controls::kRadioX}) {
    auto* button = dialog.ItemAs<QPushButton>(id);
    ASSERT_NE(button, nullptr) << id;
    EXPECT_TRUE(button->isCheckable());
  }
  EXPECT_EQ(dialog.ItemAs<ProgressBar>(controls::kProgress)->orientation(), Qt::Vertical);
}

TEST_F(DialogBuild, StylesHoldAtStart) {
  EXPECT_FALSE(dialog.IsItemShown(controls::kHiddenMultiLine));
  EXPECT_TRUE(dialog.IsItemShown(controls::kMultiLine));
  EXPECT_FALSE(dialog.IsItemEnabled(controls::kDisabledButton));
  EXPECT_TRUE(dialog.ItemAs<QLineEdit>(controls::kReadOnly)->isReadOnly());
  EXPECT_TRUE(dialog.ItemAs<QPushButton>(controls::kGo)->isDefault());
  EXPECT_TRUE(dialog.ItemAs<QComboBox>(controls::kEditableCombo)->isEditable());
  EXPECT_FALSE(dialog.ItemAs<QComboBox>(controls::kCombo)->isEditable());
  EXPECT_EQ(dialog.ListCount(controls::kCombo), 3);
  EXPECT_EQ(dialog.ListText(controls::kCombo, 2), "drei");
  EXPECT_EQ(dialog.ItemText(controls::kDigits), "42");
}

TEST_F(DialogBuild, RadiosThatFollowOneAnotherFormAGroupUntilTheGroupStyle) {
  dialog.CheckButton(controls::kRadioB, true);
  dialog.CheckButton(controls::kRadioY, true);
  EXPECT_EQ(dialog.RadioIndex(controls::kRadioA), 1);
  EXPECT_EQ(dialog.RadioIndex(controls::kRadioX), 1);

  dialog.CheckButton(controls::kRadioC, true);
  EXPECT_EQ(dialog.IsChecked(controls::kRadioB), 0);
  EXPECT_EQ(dialog.IsChecked(controls::kRadioY), 1) << "the other group is left alone";

  dialog.SetRadioIndex(controls::kRadioA, 0);
  EXPECT_EQ(dialog.IsChecked(controls::kRadioA), 1);
  dialog.SetRadioIndex(controls::kRadioA, -1);
  EXPECT_EQ(dialog.RadioIndex(controls::kRadioC), -1);
  dialog.SetRadioIndex(controls::kRadioX, 7);
  EXPECT_EQ(dialog.RadioIndex(controls::kRadioX), -1);

  dialog.CheckButton(controls::kRadioX, true);
  dialog.CheckButton(controls::kRadioX, false);
  EXPECT_EQ(dialog.RadioIndex(controls::kRadioX), -1);
}

TEST_F(DialogBuild, ClickingARadioOfTheOperatorMovesTheGroupsSelection) {
  dialog.CheckButton(controls::kRadioA, true);
  dialog.ItemAs<QAbstractButton>(controls::kRadioC)->click();
  EXPECT_EQ(dialog.RadioIndex(controls::kRadioA), 2);
  dialog.ItemAs<QAbstractButton>(controls::kRadioY)->click();
  dialog.ItemAs<QAbstractButton>(controls::kRadioY)->click();
  EXPECT_EQ(dialog.RadioIndex(controls::kRadioX), 1) << "a checked radio stays checked";
}

TEST_F(DialogBuild, AWrappingCheckBoxBreaksItsCaptionButKeepsTheText) {
  const auto* box = dialog.ItemAs<QCheckBox>(controls::kWrapped);
  EXPECT_TRUE(box->text().contains(u'\n'));
  EXPECT_EQ(dialog.ItemText(controls::kWrapped), "letzten Wert beibehalten");
  dialog.SetItemText(controls::kWrapped, "kurz");
  EXPECT_EQ(box->text(), "kurz");
}

TEST_F(GuiTest, AMissingTemplateBuildsNothing) {
  RecordingDialog dialog(services, kMissingDialog);
  EXPECT_FALSE(dialog.Create());
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_FALSE(dialog.HasWindow());
  EXPECT_EQ(dialog.destroyed, 0);
}

TEST_F(GuiTest, TheDialogsSizeFollowsItsFont) {
  RecordingDialog dialog(services, form::kDialog);
  ASSERT_TRUE(dialog.Create());
  dialog.show();
  EXPECT_EQ(dialog.size(), dialog.units().ToPixels(150, 85)) << "no menu bar without a menu";
  EXPECT_EQ(dialog.font().pointSize(), 8);
}

TEST(DialogUnits, ScaleWithTheFontsAverageWidthAndHeight) {
  const DialogUnits units(6, 13);
  EXPECT_EQ(units.ToPixelsX(4), 6);
  EXPECT_EQ(units.ToPixelsX(1), 2) << "1.5 rounds up";
  EXPECT_EQ(units.ToPixelsX(-1), -2) << "and away from zero";
  EXPECT_EQ(units.ToPixelsY(8), 13);
  EXPECT_EQ(units.ToPixelsY(3), 5);
  EXPECT_EQ(units.ToPixels(res::Rect{4, 8, 320, 343}), QRect(6, 13, 480, 557));

  QFont small = QGuiApplication::font();
  small.setPointSize(8);
  QFont large = small;
  large.setPointSize(16);
  const DialogUnits smallUnits = DialogUnits::ForFont(small);
  const DialogUnits largeUnits = DialogUnits::ForFont(large);
  EXPECT_GT(largeUnits.baseWidth(), smallUnits.baseWidth());
  EXPECT_GT(largeUnits.baseHeight(), smallUnits.baseHeight());
}

}  // namespace
}  // namespace kx::ui::testing
