// A dialog's run: end codes, the keys that end it, OnDestroy, a second run, help.
#include <QCloseEvent>
#include <QTest>
#include <QTimer>

#include "test_dialogs.h"

namespace kx::ui::testing {
namespace {

using Lifecycle = GuiTest;

// Runs the dialog modally; once it shows, act runs.
int RunWith(RecordingDialog& dialog, std::function<void()> act) {
  QTimer::singleShot(0, &dialog, std::move(act));
  return dialog.DoModal();
}

TEST_F(Lifecycle, EndDialogsCodeIsWhatDoModalReturns) {
  RecordingDialog dialog(services, form::kDialog);
  EXPECT_EQ(RunWith(dialog,
                    [&] {
                      EXPECT_TRUE(dialog.isVisible());
                      dialog.EndDialog(10);
                    }),
            10);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.destroyed, 1);
  EXPECT_EQ(dialog.controlsAtDestroy, 1) << "OnDestroy still sees the controls";
  EXPECT_FALSE(dialog.HasWindow());
}

TEST_F(Lifecycle, EscapeTheCloseBoxAndTheCancelButtonEndWithTwo) {
  RecordingDialog dialog(services, form::kDialog);
  EXPECT_EQ(RunWith(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); }), kIdCancel);
  EXPECT_EQ(RunWith(dialog, [&] { dialog.close(); }), kIdCancel);
  EXPECT_EQ(RunWith(dialog, [&] { QTest::mouseClick(dialog.Item(kIdCancel), Qt::LeftButton); }),
            kIdCancel);
}

TEST_F(Lifecycle, ADisabledCancelButtonKeepsTheCloseBoxFromClosing) {
  RecordingDialog dialog(services, form::kDialog);
  EXPECT_EQ(RunWith(dialog,
                    [&] {
                      dialog.EnableItem(kIdCancel, false);
                      dialog.close();
                      EXPECT_TRUE(dialog.isVisible());
                      dialog.EndDialog(7);
                    }),
            7);
}

TEST_F(Lifecycle, EnterTakesTheValuesOverAndEndsWithOneOnlyWhenTheyPass) {
  RecordingDialog dialog(services, form::kDialog);
  int number = 3;
  dialog.exchange = [&](DataExchange& dx) {
    dx.Text(form::kNumber, number);
    dx.MinMax(number, 0, 9);
  };
  const int code = RunWith(dialog, [&] {
    dialog.SetItemText(form::kNumber, "12");
    QTest::keyClick(dialog.Item(form::kNumber), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()) << "a failed validation keeps the dialog open";
    EXPECT_EQ(prompts.MessageTexts(),
              QStringList{"Geben Sie eine ganze Zahl zwischen 0 und 9 ein."});
    dialog.SetItemText(form::kNumber, "8");
    QTest::keyClick(dialog.Item(form::kNumber), Qt::Key_Enter);
  });
  EXPECT_EQ(code, kIdOk);
  EXPECT_EQ(number, 8);
}

TEST_F(Lifecycle, EnterOnAFocusedButtonClicksThatButton) {
  RecordingDialog dialog(services, controls::kDialog);
  int clicks = 0;
  dialog.BindClicked(kIdCancel, [&] {
    ++clicks;
    dialog.EndDialog(3);
  });
  EXPECT_EQ(RunWith(dialog,
                    [&] {
                      dialog.Item(kIdCancel)->setFocus();
                      QTest::keyClick(dialog.Item(kIdCancel), Qt::Key_Return);
                    }),
            3);
  EXPECT_EQ(clicks, 1);
}

TEST_F(Lifecycle, EndingInOnInitDialogNeverShowsTheDialog) {
  RecordingDialog dialog(services, form::kDialog);
  bool shown = false;
  dialog.init = [&] {
    dialog.EndDialog(5);
    return true;
  };
  QTimer::singleShot(0, [&] { shown = dialog.isVisible(); });
  EXPECT_EQ(dialog.DoModal(), 5);
  QCoreApplication::processEvents();
  EXPECT_FALSE(shown);
  EXPECT_EQ(dialog.destroyed, 1);
}

TEST_F(Lifecycle, OnInitDialogReturningTrueFocusesTheFirstControlThatTakesFocus) {
  RecordingDialog focused(services, form::kDialog);
  ASSERT_TRUE(focused.Create());
  EXPECT_EQ(focused.focusWidget(), focused.Item(form::kNumber));

  RecordingDialog unfocused(services, form::kDialog);
  unfocused.init = [] { return false; };
  ASSERT_TRUE(unfocused.Create());
  EXPECT_EQ(unfocused.focusWidget(), nullptr);
}

TEST_F(Lifecycle, EveryRunBuildsAFreshWindow) {
  RecordingDialog dialog(services, form::kDialog);
  RunWith(dialog, [&] {
    dialog.SetItemText(form::kName, "alt");
    dialog.EnableItem(form::kCount, false);
    dialog.EndDialog(1);
  });
  RunWith(dialog, [&] {
    EXPECT_EQ(dialog.ItemText(form::kName), "");
    EXPECT_TRUE(dialog.IsItemEnabled(form::kCount));
    dialog.EndDialog(2);
  });
  EXPECT_EQ(dialog.destroyed, 2);
}

// The application shows one main window after the other; the first one closing must not end
// the next one's run.
TEST_F(Lifecycle, ANewDialogRunsAfterTheLastWindowClosed) {
  int codes[2] = {0, 0};
  for (int& code : codes) {
    RecordingDialog dialog(services, form::kDialog);
    code = RunWith(dialog, [&] { QTimer::singleShot(20, &dialog, [&] { dialog.EndDialog(10); }); });
  }
  EXPECT_EQ(codes[0], 10);
  EXPECT_EQ(codes[1], 10);
}

TEST_F(Lifecycle, F1AsksTheServicesForHelp) {
  RecordingDialog dialog(services, form::kDialog);
  QWidget* helpedFor = nullptr;
  services.SetHelpHandler([&](QWidget* parent) { helpedFor = parent; });
  ASSERT_TRUE(dialog.Create());
  QTest::keyClick(dialog.Item(form::kName), Qt::Key_F1);
  EXPECT_EQ(helpedFor, &dialog);
}

TEST_F(Lifecycle, AWindowGoesOnce) {
  RecordingDialog dialog(services, form::kDialog);
  ASSERT_TRUE(dialog.Create());
  dialog.Destroy();
  dialog.Destroy();
  EXPECT_EQ(dialog.destroyed, 1);
  EXPECT_EQ(dialog.Item(form::kNumber), nullptr);
}

}  // namespace
}  // namespace kx::ui::testing
