// Controls by id: texts, states, edits' rules, list and combo boxes, and what they report.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <vector>

#include "framework/edit_controls.h"
#include "test_dialogs.h"

namespace kx::ui::testing {
namespace {

class Controls : public GuiTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog.Create());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  }

  // Every command that reaches the dialog, in order.
  void Record(int id, Notification notification) {
    dialog.Bind(id, notification,
                [this, id, notification] { heard.emplace_back(id, notification); });
  }

  RecordingDialog dialog{services, controls::kDialog};
  std::vector<std::pair<int, Notification>> heard;
};

TEST_F(Controls, TextOfEveryKind) {
  const std::pair<int, QString> texts[] = {
      {controls::kGroup, "Neue Gruppe"},
      {controls::kDigits, "17"},
      {controls::kMultiLine, "eins\nzwei"},
      {controls::kOption, "Möglichkeit"},
      {controls::kGo, "Start"},
      {controls::kLink, "mailto:a@b.invalid"},
      {controls::kFileName, "/tmp/Protokoll_S.txt"},
      {controls::kEditableCombo, "frei"},
  };
  for (const auto& [id, text] : texts) {
    dialog.SetItemText(id, text);
    EXPECT_EQ(dialog.ItemText(id), text) << id;
  }
  // A drop-down list shows only its own items.
  dialog.SetItemText(controls::kCombo, "zwei");
  EXPECT_EQ(dialog.ListCurrent(controls::kCombo), 1);
  dialog.SetItemText(controls::kCombo, "vier");
  EXPECT_EQ(dialog.ListCurrent(controls::kCombo), -1);
  EXPECT_EQ(dialog.ItemText(controls::kCombo), "");
}

TEST_F(Controls, UnknownIdsAnswerEmptyAndChangeNothing) {
  constexpr int kNone = 4711;
  EXPECT_EQ(dialog.Item(kNone), nullptr);
  EXPECT_EQ(dialog.ItemText(kNone), "");
  EXPECT_EQ(dialog.IsChecked(kNone), 0);
  EXPECT_EQ(dialog.RadioIndex(kNone), -1);
  EXPECT_FALSE(dialog.IsItemEnabled(kNone));
  EXPECT_EQ(dialog.ListCount(kNone), 0);
  dialog.SetItemText(kNone, "x");
  dialog.CheckButton(kNone, true);
  dialog.EnableItem(kNone, false);
  dialog.ShowItem(kNone, false);
  dialog.SetItemRect(kNone, QRect(1, 2, 3, 4));
  dialog.FocusItem(kNone);
  EXPECT_EQ(dialog.ListAdd(kNone, "x"), -1);
  // A label is no button: it has no check state.
  dialog.CheckButton(controls::kLink, true);
  EXPECT_EQ(dialog.IsChecked(controls::kLink), 0);
}

TEST_F(Controls, EnabledAndShownAreTheControlsOwnWhateverTheWindows) {
  dialog.EnableItem(controls::kOption, false);
  dialog.setEnabled(false);
  EXPECT_TRUE(dialog.IsItemEnabled(controls::kGo));
  EXPECT_FALSE(dialog.IsItemEnabled(controls::kOption));
  dialog.setEnabled(true);
  EXPECT_FALSE(dialog.IsItemEnabled(controls::kOption));
  dialog.EnableItem(controls::kOption, true);
  EXPECT_TRUE(dialog.IsItemEnabled(controls::kOption));

  dialog.ShowItem(controls::kMultiLine, false);
  dialog.ShowItem(controls::kHiddenMultiLine, true);
  EXPECT_FALSE(dialog.IsItemShown(controls::kMultiLine));
  EXPECT_TRUE(dialog.IsItemShown(controls::kHiddenMultiLine));

  const QRect moved(3, 4, 50, 60);
  dialog.SetItemRect(controls::kGroup, moved);
  EXPECT_EQ(dialog.ItemRect(controls::kGroup), moved);
}

TEST_F(Controls, DigitsOnlyEditsTakeOnlyTypedDigits) {
  dialog.SetItemText(controls::kDigits, "");
  dialog.FocusItem(controls::kDigits);
  QTest::keyClicks(dialog.Item(controls::kDigits), "1a2-3 ");
  EXPECT_EQ(dialog.ItemText(controls::kDigits), "123");
  // The program may put anything in, and the operator can still type after it.
  dialog.SetItemText(controls::kDigits, "x1");
  dialog.ItemAs<QLineEdit>(controls::kDigits)->end(false);
  QTest::keyClicks(dialog.Item(controls::kDigits), "2y");
  EXPECT_EQ(dialog.ItemText(controls::kDigits), "x12");
}

TEST_F(Controls, TheTextLimitHoldsForTheOperatorOnly) {
  const int edit = controls::kDigits;
  dialog.SetTextLimit(edit, 4);
  EXPECT_EQ(dialog.TextLimit(edit), 4);
  dialog.SetItemText(edit, "12");
  dialog.ItemAs<QLineEdit>(edit)->end(false);
  QTest::keyClicks(dialog.Item(edit), "3456");
  EXPECT_EQ(dialog.ItemText(edit), "1234");

  // A longer text from the program stays whole; the operator can shorten it.
  dialog.SetItemText(edit, "123456789");
  EXPECT_EQ(dialog.ItemText(edit), "123456789");
  dialog.ItemAs<QLineEdit>(edit)->end(false);
  QTest::keyClick(dialog.Item(edit), Qt::Key_Backspace);
  EXPECT_EQ(dialog.ItemText(edit), "12345678");
  QTest::keyClicks(dialog.Item(edit), "9");
  EXPECT_EQ(dialog.ItemText(edit), "12345678");
}

TEST_F(Controls, MultiLineEditsKeepTheirLimitForTypingAndPasting) {
  const int edit = controls::kMultiLine;
  dialog.SetTextLimit(edit, 5);
  dialog.FocusItem(edit);
  QTest::keyClicks(dialog.Item(edit), "abcdefg");
  EXPECT_EQ(dialog.ItemText(edit), "abcde");

  dialog.SetItemText(edit, "ab");
  auto* multi = dialog.ItemAs<MultiLineEdit>(edit);
  multi->moveCursor(QTextCursor::End);
  QApplication::clipboard()->setText("123456");
  multi->paste();
  EXPECT_EQ(dialog.ItemText(edit), "ab123");

  dialog.SetItemText(edit, "0123456789");
  EXPECT_EQ(dialog.ItemText(edit), "0123456789");
}

TEST_F(Controls, EnterInAMultiLineEditBelongsToTheDialogUnlessCtrlIsHeld) {
  const int edit = controls::kMultiLine;
  dialog.SetItemText(edit, "a");
  dialog.ItemAs<MultiLineEdit>(edit)->moveCursor(QTextCursor::End);
  Record(controls::kGo, Notification::kClicked);
  QTest::keyClick(dialog.Item(edit), Qt::Key_Return);
  EXPECT_EQ(dialog.ItemText(edit), "a");
  EXPECT_EQ(heard.size(), 1u) << "the default button took Enter";
  QTest::keyClick(dialog.Item(edit), Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(dialog.ItemText(edit), "a\n");
}

TEST_F(Controls, ControlsReportTheOperatorsActions) {
  Record(controls::kOption, Notification::kClicked);
  Record(controls::kRadioB, Notification::kClicked);
  Record(controls::kToggle, Notification::kClicked);
  Record(controls::kDigits, Notification::kChange);
  Record(controls::kDigits, Notification::kKillFocus);
  Record(controls::kMultiLine, Notification::kSetFocus);
  Record(controls::kLink, Notification::kClicked);

  QTest::mouseClick(dialog.Item(controls::kOption), Qt::LeftButton);
  EXPECT_EQ(dialog.IsChecked(controls::kOption), 1) << "the box checks itself first";
  QTest::mouseClick(dialog.Item(controls::kRadioB), Qt::LeftButton);
  QTest::mouseClick(dialog.Item(controls::kToggle), Qt::LeftButton);
  EXPECT_EQ(dialog.IsChecked(controls::kToggle), 1);
  dialog.FocusItem(controls::kDigits);
  QTest::keyClicks(dialog.Item(controls::kDigits), "5");
  dialog.FocusItem(controls::kMultiLine);
  QTest::mouseClick(dialog.Item(controls::kLink), Qt::LeftButton);

  // The first control had the focus; it leaves before the click arrives.
  const std::vector<std::pair<int, Notification>> expected = {
      {controls::kDigits, Notification::kKillFocus},
      {controls::kOption, Notification::kClicked},
      {controls::kRadioB, Notification::kClicked},
      {controls::kToggle, Notification::kClicked},
      {controls::kDigits, Notification::kChange},
      {controls::kDigits, Notification::kKillFocus},
      {controls::kMultiLine, Notification::kSetFocus},
      {controls::kLink, Notification::kClicked},
  };
  EXPECT_EQ(heard, expected);
}

TEST_F(Controls, TheProgramsOwnChangesAreNoClicksButTextChangesAreReported) {
  Record(controls::kOption, Notification::kClicked);
  Record(controls::kRadioA, Notification::kClicked);
  Record(controls::kDigits, Notification::kChange);
  dialog.CheckButton(controls::kOption, true);
  dialog.SetRadioIndex(controls::kRadioA, 0);
  dialog.SetItemText(controls::kDigits, "9");
  const std::vector<std::pair<int, Notification>> expected = {
      {controls::kDigits, Notification::kChange}};
  EXPECT_EQ(heard, expected);
}

TEST_F(Controls, ListSelectionIsReportedOnlyWhenTheOperatorMakesIt) {
  Record(controls::kList, Notification::kSelChange);
  Record(controls::kList, Notification::kDoubleClicked);
  Record(controls::kCombo, Notification::kSelChange);
  for (const char* text : {"COM3", "COM10", "USB: 123 HID"})
    dialog.ListAdd(controls::kList, text);
  dialog.ListSetCurrent(controls::kList, 1);
  EXPECT_EQ(dialog.ListCurrent(controls::kList), 1);
  EXPECT_EQ(dialog.ItemText(controls::kList), "COM10");
  dialog.ListSetCurrent(controls::kList, -1);
  EXPECT_EQ(dialog.ListCurrent(controls::kList), -1);
  dialog.ListSetCurrent(controls::kCombo, 2);
  EXPECT_TRUE(heard.empty());

  auto* list = dialog.ItemAs<QListWidget>(controls::kList);
  const QRect row = list->visualItemRect(list->item(2));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
  EXPECT_EQ(dialog.ListCurrent(controls::kList), 2);
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(heard.front(), std::make_pair(controls::kList, Notification::kSelChange));
  EXPECT_EQ(heard.back(), std::make_pair(controls::kList, Notification::kDoubleClicked));

  heard.clear();
  emit dialog.ItemAs<QComboBox>(controls::kCombo)->activated(0);
  EXPECT_EQ(heard.size(), 1u);

  heard.clear();
  dialog.ListReset(controls::kList);
  EXPECT_EQ(dialog.ListCount(controls::kList), 0);
  EXPECT_TRUE(heard.empty());
}

TEST_F(Controls, ListSearchByPrefixIgnoresCaseAndWrapsRound) {
  for (const char* text : {"COM10", "com1", "USB: 5164-1 HID", "COM1"})
    dialog.ListAdd(controls::kList, text);
  EXPECT_EQ(dialog.ListFindPrefix(controls::kList, "COM1"), 0) << "COM10 comes first";
  EXPECT_EQ(dialog.ListFindPrefix(controls::kList, "COM1", 0), 1);
  EXPECT_EQ(dialog.ListFindPrefix(controls::kList, "COM1", 3), 0) << "wraps round";
  EXPECT_EQ(dialog.ListFindPrefix(controls::kList, "usb: "), 2);
  EXPECT_EQ(dialog.ListFindPrefix(controls::kList, ""), -1);
  EXPECT_EQ(dialog.ListFindPrefix(controls::kList, "LAN: "), -1);
  EXPECT_EQ(dialog.ListFindExact(controls::kList, "COM1"), 3);
  EXPECT_EQ(dialog.ListFindExact(controls::kCombo, "zwei"), 1);
  EXPECT_EQ(dialog.ListFindPrefix(controls::kCombo, "D"), 2);
}

}  // namespace
}  // namespace kx::ui::testing
